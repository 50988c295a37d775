# Which folders each folder's code may include, besides its own. Dependencies point down:
# base is beneath everything, app is the shell on top. Checked by the Layering test.
set(KALVEX_LAYERS
    "base:"
    "capture:base"
    "image:base"
    "calibration:base"
    "measure:base calibration"
    "imgproc:base image video"
    "video:base capture imgproc"
    "tools:base image"
    "app:base capture image imgproc measure calibration video tools"
)

# Which folders each folder's code may include, besides its own. Dependencies point down:
# base is beneath everything, app is the shell on top, and a folder uses only folders listed
# before it, so no two folders can depend on each other. Checked by the Layering test.
set(KALVEX_LAYERS
    "base:"
    "capture:base"
    "image:base"
    "calibration:base"
    "measure:base calibration"
    "imgproc:base image"
    "video:base capture imgproc"
    "merge:base image imgproc video"
    "tools:base image"
    "count:base image calibration imgproc"
    "app:base capture image calibration measure imgproc video merge tools count"
)

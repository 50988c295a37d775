# A table where imgproc and video use each other: the layering check must refuse it.
set(KALVEX_LAYERS
    "base:"
    "image:base"
    "imgproc:base image video"
    "video:base imgproc"
)

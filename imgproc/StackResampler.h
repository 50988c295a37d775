#pragma once

#include "imgproc/ImageFusion.h"

#include <opencv2/core.hpp>

/// @brief Resamples a 24-bit slice onto the reference's grid with a bicubic kernel (the one of
/// OpenCV's INTER_CUBIC), borders replicated: out(x, y) = slice(map(x, y)). A map that only
/// scales and shifts each axis, as focus breathing and stage drift do, is resampled in two
/// separable passes a row at a time, several times faster than the general warp it falls
/// back to for any rotation or shear.
class CStackResampler
{
public:
    /// @brief `out` becomes a picture of the slice's size.
    static void Resample(const CImageView& slice, const CAffineMap& map, cv::Mat& out);
    /// @brief True when the map's cross terms move no pixel by as much as 1/64 pixel.
    static bool Separable(const CAffineMap& map, int width, int height);
    /// @brief True when the map moves no corner of the picture by as much as a tenth of a
    /// pixel: then a slice is used as it is. Resampling costs fine detail more than such a shift.
    static bool NearlyIdentity(const CAffineMap& map, int width, int height);
};

#pragma once

#include <opencv2/core/mat.hpp>

/// @brief Splits touching round objects along the valleys of their distance map, as a
/// distance-transform watershed does: the pixels of an 8-bit mask (non-zero inside) are flooded
/// from the deepest inside outwards, and two floods that meet stay apart when each has risen at
/// least `minDepth` pixels above the meeting point. Shallower bumps (a rough edge, a pinch in a
/// long grain) join their neighbour, so a single object stays whole. No pixel is lost: where
/// floods meet, a pixel goes with its deepest neighbour.
class CParticleSplitter
{
public:
    static constexpr double kMinDepth = 1.0;

    /// @brief Fills `labels` (32-bit, the mask's size) with 1..n for the parts and 0 outside;
    /// returns n.
    static int Split(const cv::Mat& mask, cv::Mat& labels, double minDepth = kMinDepth);
};

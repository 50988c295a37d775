#pragma once

#include "imgproc/ImageFusion.h"

#include <opencv2/core.hpp>

/// @brief Per reference pixel, the sharpest aligned input so far of the Aligned Merge and of
/// the live stack: its focus energy (the Laplacian's, smoothed so that a depth edge moves the
/// choice by about a pixel and no halo grows around it), its index and its colour. The memory
/// it holds does not grow with the number of inputs.
class CSharpestSoFar
{
public:
    CSharpestSoFar(int width, int height);

    /// @brief `colour` is input `index` on the reference's grid; `map` takes reference pixels
    /// to the input's own, to tell which of them it covers. Input 0 starts the result; later
    /// ones win only where strictly sharper. Indexes past 255 are kept as 255 in the depth.
    void Add(int index, const cv::Mat& colour, const CAffineMap& map);
    /// @brief Add() of a 24-bit input as it came: resampled onto the reference's grid through
    /// `map` (reference pixels to the input's), or taken as it is when the map barely moves it.
    void AddAligned(int index, const CImageView& input, const CAffineMap& map);

    const CFusedImage& Result() const { return m_result; }
    CFusedImage TakeResult() { return std::move(m_result); }
    CDepthMap Depth() const;

private:
    // Below any real energy, so an input never wins where it has no pixels.
    void MarkUncovered(const CAffineMap& map);

    CFusedImage m_result;
    cv::Mat m_best;
    cv::Mat m_index;
    // Reused from input to input.
    cv::Mat m_grey;
    cv::Mat m_energy;
    cv::Mat m_smoothing;
    cv::Mat m_sharper;
    cv::Mat m_warped;
};

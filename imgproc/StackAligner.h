#pragma once

#include "imgproc/ImageFusion.h"

#include <opencv2/core.hpp>

#include <vector>

/// @brief Aligns the slices of a focus stack one after the other: each slice to the one before
/// it, by an affine map fitted to the grey levels themselves (coarse to fine, Gauss-Newton on a
/// reduced copy of at most about 700 pixels across). It starts from the identity and keeps the
/// identity unless the fit lowers the difference, so identical or repeating pictures cannot pull
/// it off to a neighbouring period. Only the previous slice's reduced copy is kept.
class CStackAligner
{
public:
    /// @brief Takes the next slice (24-bit) and gives the map from the previous slice's pixel
    /// coordinates into this one's; the identity for the first slice.
    CAffineMap Add(const CImageView& image);
    /// @brief How well the last Add lined its slice up with the one before, on the coarsest
    /// level: the mean squared difference of their normalised grey levels with the map given,
    /// about 0.1 at most for one scene at another focus, about 1.6 or more for another scene;
    /// 0 for a first slice.
    double LastDifference() const { return m_lastDifference; }
    /// @brief The same for one pair of 24-bit pictures of one size.
    static CAffineMap Align(const CImageView& from, const CImageView& to);

    /// @brief Reduction from full size to the finest level used for a picture of this size.
    static int Reduction(int width, int height);

private:
    struct Level
    {
        cv::Mat image; // CV_32F, zero mean and unit spread
        cv::Mat gradX; // CV_32F, per pixel
        cv::Mat gradY;
    };
    static std::vector<Level> Pyramid(const CImageView& image);
    static void AddGradients(Level& level);
    // Refines `map` (level pixels, template -> image) on one level; false when it diverged.
    static bool Refine(const Level& from, const Level& to, cv::Matx23d& map, bool symmetric);
    static double Difference(const Level& from, const Level& to, const cv::Matx23d& map);

    std::vector<Level> m_previous;
    double m_lastDifference = 0.0;
};

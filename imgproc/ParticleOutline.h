#pragma once

#include <opencv2/core/mat.hpp>
#include <opencv2/core/types.hpp>

#include <vector>

/// @brief The outline of one counted object and the sizes taken from it, as ImageJ's particle
/// analyzer takes them: the outline runs along pixel edges (vertex (x, y) is the corner between
/// pixels (x - 1, y - 1) and (x, y)) and holds only its corners.
class CParticleOutline
{
public:
    /// @brief Traces the outer boundary of the 8-connected pixels of `labels` (32-bit) that
    /// hold `label`, from `first`, the object's first pixel in row order. The start and the turn
    /// order are those of ImageJ's wand, so the vertex list, and the corner count of the
    /// perimeter that depends on it, are the same.
    static std::vector<cv::Point> Trace(const cv::Mat& labels, int label, cv::Point first);

    /// @brief The length of a traced outline with straight runs counted 1 a pixel and corners
    /// sqrt(2), for pixels `pw` wide and `ph` high (ImageJ's traced perimeter).
    static double TracedPerimeter(const std::vector<cv::Point>& outline, double pw, double ph);

    /// @brief The corners of the convex hull, counter-clockwise, without collinear points.
    static std::vector<cv::Point> ConvexHull(const std::vector<cv::Point>& points);

    struct Feret
    {
        double max = 0.0; ///< the longest distance between two points of the outline
        double min = 0.0; ///< the narrowest caliper width
    };
    /// @brief Feret's diameter and the minimum caliper width of the outline, measured on its
    /// convex hull with pixels `pw` wide and `ph` high.
    static Feret FeretOf(const std::vector<cv::Point>& outline, double pw, double ph);
};

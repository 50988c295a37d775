#pragma once

#include <opencv2/core/mat.hpp>

#include <vector>

// Finds edges in a grey picture to a small part of a pixel: the strongest one near a point, or
// the one a ray crosses. Positions are picture pixels, (0, 0) the centre of the top-left pixel.
class CEdgeLocator
{
public:
    struct Edge
    {
        bool found = false;
        double x = 0.0;
        double y = 0.0;
        double slope = 0.0; // grey levels per pixel across the edge, at its steepest
    };

    // grey: 8-bit, one channel, rows top-down; kept by reference, not copied.
    explicit CEdgeLocator(const cv::Mat& grey);

    // The strongest edge within radius of (x, y), moved onto along its own gradient; not found
    // when nothing there stands clear of the noise.
    Edge Near(double x, double y, double radius) const;
    // The strongest edge the ray from (x, y) along the unit (dx, dy) crosses between the
    // distances from and to.
    Edge AlongRay(double x, double y, double dx, double dy, double from, double to) const;

private:
    double Sample(double x, double y) const;
    // The grey profile from (x, y) along (dx, dy), steps of half a pixel, each sample the mean
    // of a few across it.
    std::vector<double> Profile(
            double x, double y, double dx, double dy, double from, double to, int across) const;
    // Where the profile's slope is steepest, in samples, to a part of one; and the slope.
    static bool SteepestStep(const std::vector<double>& profile, size_t first, size_t last,
            double& where, double& step);

    const cv::Mat& m_grey;
};

#pragma once

#include <opencv2/core/types.hpp>

#include <vector>

class CEdgeLocator;

// The circle through edge points, robust to a few that lie elsewhere (a scratch across the
// rim, a speck of dust).
struct CCircleFit
{
    bool found = false;
    double x = 0.0;
    double y = 0.0;
    double radius = 0.0;
    int points = 0; // the edge points the fit rests on

    static CCircleFit Fit(const std::vector<cv::Point2d>& points);
    // Looks for the rim along rays through the circle given (from three clicks) and fits it.
    static CCircleFit ToRim(const CEdgeLocator& edges, double x, double y, double radius);
};

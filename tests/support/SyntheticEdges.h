#pragma once

#include <opencv2/core.hpp>

#include <cmath>
#include <functional>

// Pictures whose edges are known exactly: grey = low + (high - low) * P(inside), where inside
// is a signed distance (picture pixels, pixel centres at whole numbers) blurred by a Gaussian.
struct CSyntheticEdges
{
    double blur = 1.5;
    double noise = 3.0;
    double low = 60.0;
    double high = 180.0;
    unsigned seed = 1;

    // signedDistance(x, y) > 0 inside the bright part.
    cv::Mat Draw(cv::Size size, const std::function<double(double, double)>& signedDistance) const
    {
        cv::Mat picture(size, CV_64F);
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x) {
                const double d = signedDistance(x, y);
                const double inside = 0.5 * (1.0 + std::erf(d / (blur * std::sqrt(2.0))));
                picture.at<double>(y, x) = low + (high - low) * inside;
            }
        cv::Mat n(size, CV_64F);
        cv::RNG(seed).fill(n, cv::RNG::NORMAL, 0.0, noise);
        picture += n;
        cv::Mat grey;
        picture.convertTo(grey, CV_8U);
        return grey;
    }
    // The straight edge through (x0, y0) whose bright side lies along the unit (nx, ny).
    static std::function<double(double, double)> Line(double x0, double y0, double nx, double ny)
    {
        return [=](double x, double y) { return (x - x0) * nx + (y - y0) * ny; };
    }
    static std::function<double(double, double)> Disc(double cx, double cy, double r)
    {
        return [=](double x, double y) { return r - std::hypot(x - cx, y - cy); };
    }
};

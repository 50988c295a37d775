#pragma once

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

// A stage micrometer's ruling of known period and angle.
struct Ruling
{
    double period = 23.37;
    double angle = 17.0; // of the scale's axis, degrees
    double blur = 1.5;
    double noise = 3.0;
    int missingEvery = 0; // every n-th division is missing
};

// Dark divisions 2 pixels wide on a light field lit unevenly from one corner.
inline cv::Mat DrawRuling(const Ruling& r, cv::Size size = { 640, 480 })
{
    cv::Mat picture(size, CV_64F);
    const double a = r.angle * std::numbers::pi / 180.0;
    const double ux = std::cos(a);
    const double uy = std::sin(a);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            const double t = (x - size.width / 2.0) * ux + (y - size.height / 2.0) * uy + 1000.3;
            const double k = std::round(t / r.period);
            const double d = t - k * r.period;
            const bool missing = r.missingEvery > 0 && int(k) % r.missingEvery == 0;
            const double light = 150.0 + 60.0 * x / size.width + 30.0 * y / size.height;
            picture.at<double>(y, x) = missing || std::abs(d) > 1.0 ? light : light - 110.0;
        }
    if (r.blur > 0.0)
        cv::GaussianBlur(picture, picture, cv::Size(), r.blur);
    cv::Mat noise(size, CV_64F);
    cv::RNG rng(7);
    rng.fill(noise, cv::RNG::NORMAL, 0.0, r.noise);
    picture += noise;
    cv::Mat grey;
    picture.convertTo(grey, CV_8U);
    return grey;
}

// A grey picture as a camera frame: 24-bit, rows bottom-up, each row padded to 4 bytes.
inline std::vector<uint8_t> FrameBitsOf(const cv::Mat& grey)
{
    const int stride = (grey.cols * 3 + 3) / 4 * 4;
    std::vector<uint8_t> bits(static_cast<size_t>(stride) * grey.rows, 0);
    for (int y = 0; y < grey.rows; ++y)
        for (int x = 0; x < grey.cols; ++x) {
            uint8_t* p = &bits[static_cast<size_t>(grey.rows - 1 - y) * stride + x * 3];
            p[0] = p[1] = p[2] = grey.at<uint8_t>(y, x);
        }
    return bits;
}

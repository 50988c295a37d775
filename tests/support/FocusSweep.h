#pragma once

// Synthetic focus series for the stacking tests and benchmarks: a known sharp scene, the
// focus moving through it, and the small shift and scale of focus breathing.

#include "imgproc/ImageFusion.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace sweep {

inline CImageView View(const cv::Mat& image)
{
    return { image.cols, image.rows, image.step, image.data };
}

// Colour detail at two scales, values kept in about 20-235.
inline cv::Mat Texture(int width, int height, uint64_t seed)
{
    cv::RNG rng(seed);
    cv::Mat out(height, width, CV_32FC3, cv::Scalar::all(20));
    for (const auto [step, weight] : { std::pair { 12, 0.5 }, { 3, 0.35 } }) {
        cv::Mat coarse(height / step + 2, width / step + 2, CV_32FC3);
        rng.fill(coarse, cv::RNG::UNIFORM, 0.0, 255.0);
        cv::Mat fine;
        cv::resize(coarse, fine, cv::Size(width, height), 0, 0, cv::INTER_CUBIC);
        out += fine * weight;
    }
    cv::Mat bytes;
    out.convertTo(bytes, CV_8UC3);
    return bytes;
}

// Content at p moves to centre + scale (p - centre) + (dx, dy).
inline cv::Matx23d Motion(int width, int height, double scale, double dx, double dy)
{
    const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0;
    return { scale, 0, cx - scale * cx + dx, 0, scale, cy - scale * cy + dy };
}

inline cv::Mat Move(const cv::Mat& image, const cv::Matx23d& motion)
{
    cv::Mat moved;
    cv::warpAffine(image, moved, motion, image.size(), cv::INTER_LANCZOS4, cv::BORDER_REFLECT);
    return moved;
}

inline double MeanSquaredError(const cv::Mat& a, const cv::Mat& b, const cv::Rect& area)
{
    cv::Mat diff;
    cv::absdiff(a(area), b(area), diff);
    diff.convertTo(diff, CV_64F);
    return cv::mean(diff.mul(diff))[0];
}

inline double Psnr(const cv::Mat& a, const cv::Mat& b, const cv::Rect& area)
{
    return 10.0 * std::log10(255.0 * 255.0 / std::max(MeanSquaredError(a, b, area), 1e-10));
}

// The scene is `bands` horizontal bands at depths spread evenly through the sweep; frame k of
// `frames` is in focus at depth k / (frames - 1), a band the blurrier the farther it is from
// that, and every frame is breathed (scaled and shifted) a little more than the one before.
class CFocusSweep
{
public:
    CFocusSweep(const cv::Mat& truth, int frames, int bands, bool breathing = true)
        : m_truth(truth), m_frames(frames), m_bands(bands), m_breathing(breathing)
    {
        for (int level = 0; level <= kLevels; ++level) {
            cv::Mat blurred = truth.clone();
            if (level > 0)
                cv::GaussianBlur(truth, blurred, cv::Size(0, 0), kSigmaStep * level);
            m_levels.push_back(blurred);
        }
    }

    const cv::Mat& Truth() const { return m_truth; }
    int Frames() const { return m_frames; }

    cv::Matx23d Breath(int k) const
    {
        return m_breathing ? Motion(m_truth.cols, m_truth.rows, 1 + 0.0006 * k, 0.25 * k, -0.15 * k)
                           : Motion(m_truth.cols, m_truth.rows, 1, 0, 0);
    }

    cv::Mat Frame(int k) const
    {
        const double focus = m_frames > 1 ? double(k) / (m_frames - 1) : 0.0;
        cv::Mat frame(m_truth.size(), CV_8UC3);
        for (int band = 0; band < m_bands; ++band) {
            const double depth = m_bands > 1 ? double(band) / (m_bands - 1) : 0.0;
            const int level = std::min(kLevels,
                    static_cast<int>(std::lround(std::abs(depth - focus) * kBlurAtFullDepth)));
            const int top = band * m_truth.rows / m_bands;
            const cv::Rect rows(0, top, m_truth.cols, (band + 1) * m_truth.rows / m_bands - top);
            m_levels[static_cast<size_t>(level)](rows).copyTo(frame(rows));
        }
        return k == 0 ? frame : Move(frame, Breath(k));
    }

    // The part every frame sees, away from the borders breathing brings in.
    cv::Rect Inner(int margin = 24) const
    {
        return { margin, margin, m_truth.cols - 2 * margin, m_truth.rows - 2 * margin };
    }

private:
    static constexpr int kLevels = 6;
    static constexpr double kSigmaStep = 0.8;
    static constexpr double kBlurAtFullDepth = 12.0;
    cv::Mat m_truth;
    int m_frames;
    int m_bands;
    bool m_breathing;
    std::vector<cv::Mat> m_levels;
};

} // namespace sweep

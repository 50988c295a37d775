#include "imgproc/StackResampler.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// OpenCV's bicubic kernel (a = -0.75) at the fraction t in [0, 1).
std::array<float, 4> CubicWeights(double t)
{
    constexpr double a = -0.75;
    const double w0 = ((a * (t + 1) - 5 * a) * (t + 1) + 8 * a) * (t + 1) - 4 * a;
    const double w1 = ((a + 2) * t - (a + 3)) * t * t + 1;
    const double w2 = ((a + 2) * (1 - t) - (a + 3)) * (1 - t) * (1 - t) + 1;
    return { static_cast<float>(w0), static_cast<float>(w1), static_cast<float>(w2),
        static_cast<float>(1 - w0 - w1 - w2) };
}

} // namespace

bool CStackResampler::NearlyIdentity(const CAffineMap& map, int width, int height)
{
    for (const double x : { 0.0, width - 1.0 })
        for (const double y : { 0.0, height - 1.0 })
            if (std::abs(map.x.p * x + map.x.q * y + map.x.r - x) >= 0.1
                    || std::abs(map.y.p * x + map.y.q * y + map.y.r - y) >= 0.1)
                return false;
    return true;
}

bool CStackResampler::Separable(const CAffineMap& map, int width, int height)
{
    return std::abs(map.x.q) * (height - 1) < 1.0 / 64
            && std::abs(map.y.p) * (width - 1) < 1.0 / 64;
}

void CStackResampler::Resample(const CImageView& slice, const CAffineMap& map, cv::Mat& out)
{
    const int width = slice.width, height = slice.height;
    const cv::Mat source(height, width, CV_8UC3, const_cast<uint8_t*>(slice.bits), slice.stride);
    out.create(height, width, CV_8UC3);
    if (!Separable(map, width, height)) {
        const cv::Matx23d m { map.x.p, map.x.q, map.x.r, map.y.p, map.y.q, map.y.r };
        cv::warpAffine(source, out, m, out.size(), cv::INTER_CUBIC | cv::WARP_INVERSE_MAP,
                cv::BORDER_REPLICATE);
        return;
    }

    // The horizontal taps are the same on every row: byte offsets and weights per column.
    std::vector<int> taps(4 * static_cast<size_t>(width));
    std::vector<float> tapWeights(taps.size());
    for (int x = 0; x < width; ++x) {
        const double u = map.x.p * x + map.x.r;
        const double first = std::floor(u);
        const std::array<float, 4> w = CubicWeights(u - first);
        for (int j = 0; j < 4; ++j) {
            const int column = std::clamp(static_cast<int>(first) - 1 + j, 0, width - 1);
            taps[4 * static_cast<size_t>(x) + j] = 3 * column;
            tapWeights[4 * static_cast<size_t>(x) + j] = w[static_cast<size_t>(j)];
        }
    }

    cv::parallel_for_(cv::Range(0, height), [&](const cv::Range& range) {
        std::vector<float> row(3 * static_cast<size_t>(width));
        for (int y = range.start; y < range.end; ++y) {
            // Vertical pass into one row of floats, then the horizontal pass out of it.
            const double v = map.y.q * y + map.y.r;
            const double first = std::floor(v);
            const std::array<float, 4> w = CubicWeights(v - first);
            const uint8_t* rows[4];
            for (int j = 0; j < 4; ++j)
                rows[j] = source.ptr<uint8_t>(
                        std::clamp(static_cast<int>(first) - 1 + j, 0, height - 1));
            const int n = 3 * width;
            for (int i = 0; i < n; ++i)
                row[static_cast<size_t>(i)] = w[0] * rows[0][i] + w[1] * rows[1][i]
                        + w[2] * rows[2][i] + w[3] * rows[3][i];
            uint8_t* target = out.ptr<uint8_t>(y);
            const int* tap = taps.data();
            const float* weight = tapWeights.data();
            for (int x = 0; x < width; ++x, tap += 4, weight += 4, target += 3) {
                for (int c = 0; c < 3; ++c) {
                    const float sum = weight[0] * row[static_cast<size_t>(tap[0] + c)]
                            + weight[1] * row[static_cast<size_t>(tap[1] + c)]
                            + weight[2] * row[static_cast<size_t>(tap[2] + c)]
                            + weight[3] * row[static_cast<size_t>(tap[3] + c)];
                    target[c] = cv::saturate_cast<uint8_t>(sum);
                }
            }
        }
    });
}

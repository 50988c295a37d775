#include "imgproc/SharpestSoFar.h"

#include "base/FrameLayout.h"
#include "imgproc/StackResampler.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kEnergyBox = 7;
// Source pixels this close to an input's edge are not trusted: their neighbourhood was made up
// by the resampling.
constexpr double kEdgeMargin = 2.0;

} // namespace

CSharpestSoFar::CSharpestSoFar(int width, int height)
    : m_best(height, width, CV_32F), m_index(height, width, CV_8U, cv::Scalar(0))
{
    m_result.width = width;
    m_result.height = height;
    m_result.stride = static_cast<std::size_t>(FrameStride(width));
    m_result.bits.assign(m_result.stride * height, 0);
}

void CSharpestSoFar::Add(int index, const cv::Mat& colour, const CAffineMap& map)
{
    cv::cvtColor(colour, m_grey, cv::COLOR_BGR2GRAY);
    cv::Laplacian(m_grey, m_energy, CV_32F, 1, 1.0, 0.0, cv::BORDER_REPLICATE);
    cv::multiply(m_energy, m_energy, m_energy);
    // Two box passes: close to a Gaussian of 2.8 pixels, so that a depth edge moves the
    // choice by about a pixel, yet plain texture is judged on some fifty pixels.
    const cv::Size box(kEnergyBox, kEnergyBox);
    cv::blur(m_energy, m_smoothing, box, cv::Point(-1, -1), cv::BORDER_REPLICATE);
    cv::blur(m_smoothing, m_energy, box, cv::Point(-1, -1), cv::BORDER_REPLICATE);
    if (index > 0)
        MarkUncovered(map);

    cv::Mat out(m_result.height, m_result.width, CV_8UC3, m_result.bits.data(), m_result.stride);
    if (index == 0) {
        colour.copyTo(out);
        m_energy.copyTo(m_best);
        m_index.setTo(cv::Scalar(0));
        return;
    }
    // Strictly sharper only: equals stay with the earlier input.
    cv::compare(m_energy, m_best, m_sharper, cv::CMP_GT);
    colour.copyTo(out, m_sharper);
    m_index.setTo(cv::Scalar(std::min(index, 255)), m_sharper);
    cv::max(m_best, m_energy, m_best);
}

void CSharpestSoFar::AddAligned(int index, const CImageView& input, const CAffineMap& map)
{
    if (CStackResampler::NearlyIdentity(map, input.width, input.height)) {
        Add(index,
                cv::Mat(input.height, input.width, CV_8UC3, const_cast<uint8_t*>(input.bits),
                        input.stride),
                {});
        return;
    }
    CStackResampler::Resample(input, map, m_warped);
    Add(index, m_warped, map);
}

CDepthMap CSharpestSoFar::Depth() const
{
    CDepthMap depth { m_index.cols, m_index.rows, {} };
    depth.index.assign(m_index.datastart, m_index.dataend);
    return depth;
}

void CSharpestSoFar::MarkUncovered(const CAffineMap& map)
{
    const int width = m_energy.cols, height = m_energy.rows;
    for (int y = 0; y < height; ++y) {
        double first = 0.0, last = width - 1.0;
        const auto clip = [&](const CAffineRow& row, double extent) {
            const double lo = kEdgeMargin, hi = extent - 1.0 - kEdgeMargin;
            const double offset = row.q * y + row.r;
            if (std::abs(row.p) < 1e-12) {
                if (offset < lo || offset > hi)
                    last = -1.0;
                return;
            }
            double a = (lo - offset) / row.p, b = (hi - offset) / row.p;
            if (a > b)
                std::swap(a, b);
            first = std::max(first, a);
            last = std::min(last, b);
        };
        clip(map.x, width);
        clip(map.y, height);
        float* row = m_energy.ptr<float>(y);
        const int from = static_cast<int>(std::ceil(std::max(first, 0.0)));
        const int to = last < first ? -1 : static_cast<int>(std::floor(last));
        for (int x = 0; x < width; ++x)
            if (x < from || x > to)
                row[x] = -1.0f;
    }
}

#include "imgproc/EdgeLocator.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kStep =
        1.0; // one profile sample per pixel: finer ones only echo the interpolation
// An edge must step the grey this much more than the noise around it does.
constexpr double kMinContrast = 4.0;
constexpr double kMinStep = 6.0; // grey levels, whatever the noise
} // namespace

CEdgeLocator::CEdgeLocator(const cv::Mat& grey) : m_grey(grey) { }

double CEdgeLocator::Sample(double x, double y) const
{
    x = std::clamp(x, 0.0, m_grey.cols - 1.0);
    y = std::clamp(y, 0.0, m_grey.rows - 1.0);
    const int x0 = std::min(int(x), m_grey.cols - 2 < 0 ? 0 : m_grey.cols - 2);
    const int y0 = std::min(int(y), m_grey.rows - 2 < 0 ? 0 : m_grey.rows - 2);
    const int x1 = std::min(x0 + 1, m_grey.cols - 1);
    const int y1 = std::min(y0 + 1, m_grey.rows - 1);
    const double fx = x - x0;
    const double fy = y - y0;
    const uchar* r0 = m_grey.ptr<uchar>(y0);
    const uchar* r1 = m_grey.ptr<uchar>(y1);
    return (r0[x0] * (1.0 - fx) + r0[x1] * fx) * (1.0 - fy)
            + (r1[x0] * (1.0 - fx) + r1[x1] * fx) * fy;
}

std::vector<double> CEdgeLocator::Profile(
        double x, double y, double dx, double dy, double from, double to, int across) const
{
    std::vector<double> profile;
    for (double t = from; t <= to + 1e-9; t += kStep) {
        double sum = 0.0;
        for (int s = -across; s <= across; ++s)
            sum += Sample(x + t * dx - s * dy, y + t * dy + s * dx);
        profile.push_back(sum / (2 * across + 1));
    }
    return profile;
}

bool CEdgeLocator::SteepestStep(
        const std::vector<double>& profile, size_t first, size_t last, double& where, double& step)
{
    // The slope between the two neighbours of a sample.
    if (profile.size() < 5)
        return false;
    first = std::max<size_t>(first, 1);
    last = std::min(last, profile.size() - 2);
    size_t best = 0;
    double bestSlope = 0.0;
    auto slope = [&](size_t i) { return profile[i + 1] - profile[i - 1]; };
    for (size_t i = first; i <= last; ++i) {
        if (std::abs(slope(i)) > std::abs(bestSlope)) {
            bestSlope = slope(i);
            best = i;
        }
    }
    if (best == 0)
        return false;
    // The slope of a blurred step is close to a Gaussian: a parabola through the logarithms of
    // the five slopes around the steepest, each weighted by its size, finds its top with little
    // bias and averages the noise.
    const double sign = bestSlope > 0 ? 1.0 : -1.0;
    double m[3][3] = {};
    double r[3] = {};
    // As many slopes as the edge is wide: a blurred edge needs more of them against noise.
    int half = 0;
    while (half < 8 && long(best) - half - 1 >= 1 && long(best) + half + 2 < long(profile.size())
            && sign * slope(best - size_t(half) - 1) > 0.5 * sign * bestSlope
            && sign * slope(best + size_t(half) + 1) > 0.5 * sign * bestSlope)
        ++half;
    const int window = std::clamp(half + 1, 3, 6);
    for (int k = -window; k <= window; ++k) {
        const long i = long(best) + k;
        if (i < 1 || i + 1 >= long(profile.size()))
            continue;
        const double v = sign * slope(size_t(i));
        if (v <= 0.0)
            continue;
        const double w = v * v;
        const double basis[3] = { 1.0, double(k), double(k * k) };
        for (int a = 0; a < 3; ++a) {
            r[a] += w * basis[a] * std::log(v);
            for (int b = 0; b < 3; ++b)
                m[a][b] += w * basis[a] * basis[b];
        }
    }
    double offset = 0.0;
    cv::Matx33d normal(
            m[0][0], m[0][1], m[0][2], m[1][0], m[1][1], m[1][2], m[2][0], m[2][1], m[2][2]);
    cv::Vec3d coefficients;
    const bool fitted = cv::solve(normal, cv::Vec3d(r[0], r[1], r[2]), coefficients, cv::DECOMP_SVD)
            && coefficients[2] < 0.0;
    if (fitted)
        offset = -coefficients[1] / (2.0 * coefficients[2]);
    if (!fitted || std::abs(offset) > 1.0) {
        // A wide, noisy top has no clear curve: the middle of the slopes above half the
        // steepest instead.
        double weight = 0.0;
        double moment = 0.0;
        for (int k = -window; k <= window; ++k) {
            const long i = long(best) + k;
            if (i < 1 || i + 1 >= long(profile.size()))
                continue;
            const double v = sign * slope(size_t(i)) - 0.5 * sign * bestSlope;
            if (v > 0.0) {
                weight += v;
                moment += v * k;
            }
        }
        offset = weight > 0.0 ? moment / weight : 0.0;
    }
    offset = std::clamp(offset, -1.0, 1.0);
    where = double(best) + offset;
    step = std::abs(bestSlope) / (2.0 * kStep);
    return true;
}

CEdgeLocator::Edge CEdgeLocator::Near(double x, double y, double radius) const
{
    Edge edge;
    if (m_grey.empty() || m_grey.type() != CV_8UC1 || m_grey.cols < 4 || m_grey.rows < 4)
        return edge;
    const int margin = int(std::ceil(radius)) + 2;
    const cv::Rect window = cv::Rect(int(std::lround(x)) - margin, int(std::lround(y)) - margin,
                                    2 * margin + 1, 2 * margin + 1)
            & cv::Rect(0, 0, m_grey.cols, m_grey.rows);
    if (window.width < 3 || window.height < 3)
        return edge;
    cv::Mat gx;
    cv::Mat gy;
    // Found on a slightly smoothed copy, so noise does not pick the pixel; located on the
    // picture's own pixels below.
    cv::Mat smooth;
    cv::GaussianBlur(m_grey(window), smooth, cv::Size(5, 5), 1.0, 1.0, cv::BORDER_REPLICATE);
    cv::Sobel(smooth, gx, CV_32F, 1, 0, 3, 1.0 / 8.0);
    cv::Sobel(smooth, gy, CV_32F, 0, 1, 3, 1.0 / 8.0);
    cv::Mat magnitude;
    cv::magnitude(gx, gy, magnitude);

    // The strongest gradient within the radius; the quiet ones say how loud the noise is.
    std::vector<float> all;
    float best = 0.0f;
    cv::Point at(-1, -1);
    for (int r = 1; r < window.height - 1; ++r)
        for (int c = 1; c < window.width - 1; ++c) {
            const float m = magnitude.at<float>(r, c);
            all.push_back(m);
            const double ddx = window.x + c - x;
            const double ddy = window.y + r - y;
            if (ddx * ddx + ddy * ddy <= radius * radius && m > best) {
                best = m;
                at = { c, r };
            }
        }
    if (at.x < 0 || all.empty())
        return edge;
    // The quieter part of the window: a wide blurred edge may cover half of it.
    std::nth_element(all.begin(), all.begin() + all.size() / 5, all.end());
    const double noise = all[all.size() / 5];
    if (best < kMinStep / 2.0 || best < kMinContrast * noise)
        return edge;

    // Across the edge along its gradient, averaged over a few pixels along it.
    double nx = 0.0;
    double ny = 0.0;
    for (int r = at.y - 1; r <= at.y + 1; ++r)
        for (int c = at.x - 1; c <= at.x + 1; ++c) {
            nx += gx.at<float>(r, c);
            ny += gy.at<float>(r, c);
        }
    const double norm = std::hypot(nx, ny);
    if (norm <= 0.0)
        return edge;
    nx /= norm;
    ny /= norm;
    // From the click along the gradient, so the point keeps its place along the edge.
    double px = x;
    double py = y;
    double slope = 0.0;
    double ahead = (window.x + at.x - x) * nx + (window.y + at.y - y) * ny;
    // Each profile is centred on the answer of the one before, until the answer stays.
    for (int pass = 0; pass < 4; ++pass) {
        const double reach = 8.0;
        const double from = std::round(ahead) - reach;
        const std::vector<double> profile = Profile(px, py, nx, ny, from, from + 2.0 * reach, 4);
        const size_t centre = size_t(reach / kStep);
        double where = 0.0;
        if (!SteepestStep(profile, centre - 2, centre + 2, where, slope))
            return edge;
        const double t = from + where * kStep;
        px += t * nx;
        py += t * ny;
        ahead = 0.0;
        if (pass > 0 && std::abs(t) < 0.05)
            break;
    }
    if (slope < kMinStep)
        return edge;
    edge.found = true;
    edge.x = px;
    edge.y = py;
    edge.slope = slope;
    return edge;
}

CEdgeLocator::Edge CEdgeLocator::AlongRay(
        double x, double y, double dx, double dy, double from, double to) const
{
    Edge edge;
    if (m_grey.empty() || m_grey.type() != CV_8UC1 || to <= from)
        return edge;
    const std::vector<double> profile = Profile(x, y, dx, dy, from, to, 1);
    double where = 0.0;
    double slope = 0.0;
    if (!SteepestStep(profile, 1, profile.size() - 2, where, slope) || slope < kMinStep)
        return edge;
    const double t = from + where * kStep;
    edge.found = true;
    edge.x = x + t * dx;
    edge.y = y + t * dy;
    edge.slope = slope;
    return edge;
}

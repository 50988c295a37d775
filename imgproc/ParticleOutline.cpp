#include "imgproc/ParticleOutline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Directions are numbered so that direction x 90 degrees is the angle (0 right, 1 up, 2 left,
// 3 down, taken modulo 4); the pixel "in direction d" of a vertex lies at d x 90 - 45 degrees.
class CLabelOutside
{
public:
    CLabelOutside(const cv::Mat& labels, int label) : m_labels(labels), m_label(label) { }

    bool Inside(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < m_labels.cols && y < m_labels.rows
                && m_labels.at<int32_t>(y, x) == m_label;
    }
    bool Inside(int x, int y, int direction) const
    {
        switch (direction & 3) {
        case 0:
            return Inside(x, y);
        case 1:
            return Inside(x, y - 1);
        case 2:
            return Inside(x - 1, y - 1);
        default:
            return Inside(x - 1, y);
        }
    }

private:
    const cv::Mat& m_labels;
    int m_label;
};

int64_t Cross(cv::Point o, cv::Point a, cv::Point b)
{
    return int64_t(a.x - o.x) * (b.y - o.y) - int64_t(a.y - o.y) * (b.x - o.x);
}

} // namespace

std::vector<cv::Point> CParticleOutline::Trace(const cv::Mat& labels, int label, cv::Point first)
{
    std::vector<cv::Point> outline;
    const CLabelOutside object(labels, label);
    if (!object.Inside(first.x, first.y))
        return outline;
    // The first pixel's row is the object's top row, so the end of its run borders the
    // outside, never a hole: the boundary found there is the outer one.
    int x = first.x;
    while (object.Inside(x, first.y))
        ++x;
    // Walk down the right edge of the run's last pixel first, outside on the left, always
    // turning as far left as the object allows, which keeps diagonal neighbours in.
    const int startX = x;
    const int startY = first.y + 1;
    constexpr int startDirection = 3;
    int y = startY;
    int direction = startDirection;
    do {
        int turn = direction + 1;
        while (turn >= direction && !object.Inside(x, y, turn))
            --turn;
        if (turn != direction)
            outline.emplace_back(x, y);
        switch (turn & 3) {
        case 0:
            ++x;
            break;
        case 1:
            --y;
            break;
        case 2:
            --x;
            break;
        default:
            ++y;
            break;
        }
        direction = turn;
    } while (x != startX || y != startY || (direction & 3) != startDirection);
    if (outline.empty() || outline.front().x != x)
        outline.emplace_back(x, y);
    return outline;
}

double CParticleOutline::TracedPerimeter(
        const std::vector<cv::Point>& outline, double pw, double ph)
{
    const size_t n = outline.size();
    if (n < 4)
        return 0.0;
    // Every corner takes sqrt(2) instead of the two unit sides around it, except a corner
    // that follows another across a one-pixel side: a staircase step is one diagonal, not two.
    int64_t sumDx = 0;
    int64_t sumDy = 0;
    int64_t corners = 0;
    cv::Point in = outline[0] - outline[n - 1];
    bool corner = false;
    for (size_t i = 0; i < n; ++i) {
        const cv::Point out = outline[(i + 1) % n] - outline[i];
        sumDx += std::abs(in.x);
        sumDy += std::abs(in.y);
        if (std::abs(in.x) + std::abs(in.y) > 1 || !corner) {
            corner = true;
            ++corners;
        } else {
            corner = false;
        }
        in = out;
    }
    return double(sumDx) * pw + double(sumDy) * ph
            - double(corners) * ((pw + ph) - std::sqrt(pw * pw + ph * ph));
}

std::vector<cv::Point> CParticleOutline::ConvexHull(const std::vector<cv::Point>& points)
{
    std::vector<cv::Point> sorted(points);
    std::sort(sorted.begin(), sorted.end(),
            [](cv::Point a, cv::Point b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.size() < 3)
        return sorted;
    // Monotone chain; with y pointing down, a positive cross product is a clockwise turn on
    // screen, so keeping only those makes the hull counter-clockwise as the eye sees it.
    std::vector<cv::Point> hull(2 * sorted.size());
    size_t k = 0;
    for (const cv::Point& p : sorted) {
        while (k >= 2 && Cross(hull[k - 2], hull[k - 1], p) >= 0)
            --k;
        hull[k++] = p;
    }
    for (size_t i = sorted.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && Cross(hull[k - 2], hull[k - 1], sorted[i]) >= 0)
            --k;
        hull[k++] = sorted[i];
    }
    hull.resize(k - 1);
    return hull;
}

CParticleOutline::Feret CParticleOutline::FeretOf(
        const std::vector<cv::Point>& outline, double pw, double ph)
{
    Feret feret;
    const std::vector<cv::Point> hull = ConvexHull(outline);
    const size_t n = hull.size();
    if (n == 0)
        return feret;
    double longest = 0.0;
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            const double dx = (hull[i].x - hull[j].x) * pw;
            const double dy = (hull[i].y - hull[j].y) * ph;
            longest = std::max(longest, dx * dx + dy * dy);
        }
    }
    feret.max = std::sqrt(longest);
    if (n < 3)
        return feret;
    // The narrowest caliper lies flat on one side of the hull: for each side, the farthest
    // hull corner from its line; the smallest of those.
    double narrowest = HUGE_VAL;
    for (size_t i = 0; i < n; ++i) {
        const cv::Point a = hull[(i + n - 1) % n];
        const cv::Point b = hull[i];
        const double sx = (b.x - a.x) * pw;
        const double sy = (b.y - a.y) * ph;
        const double side = std::hypot(sx, sy);
        double farthest = 0.0;
        for (const cv::Point& p : hull) {
            const double px = (p.x - a.x) * pw;
            const double py = (p.y - a.y) * ph;
            farthest = std::max(farthest, std::abs(sx * py - sy * px) / side);
        }
        narrowest = std::min(narrowest, farthest);
    }
    feret.min = narrowest;
    return feret;
}

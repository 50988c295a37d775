#include "imgproc/CircleFit.h"

#include "imgproc/EdgeLocator.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr int kRays = 72;
constexpr int kMinPoints = 8;

// Least squares of x^2 + y^2 + D x + E y + F = 0 with weights: fast, and close enough to
// start the geometric fit from.
bool Algebraic(const std::vector<cv::Point2d>& p, const std::vector<double>& w, CCircleFit& c)
{
    cv::Matx33d a = cv::Matx33d::zeros();
    cv::Vec3d b(0, 0, 0);
    for (size_t i = 0; i < p.size(); ++i) {
        const cv::Vec3d row(p[i].x, p[i].y, 1.0);
        const double z = -(p[i].x * p[i].x + p[i].y * p[i].y);
        a += w[i] * row * row.t();
        b += w[i] * z * row;
    }
    cv::Vec3d s;
    if (!cv::solve(a, b, s, cv::DECOMP_CHOLESKY))
        return false;
    c.x = -s[0] / 2.0;
    c.y = -s[1] / 2.0;
    const double r2 = c.x * c.x + c.y * c.y - s[2];
    if (r2 <= 0.0)
        return false;
    c.radius = std::sqrt(r2);
    return true;
}
} // namespace

CCircleFit CCircleFit::Fit(const std::vector<cv::Point2d>& points)
{
    CCircleFit c;
    if (points.size() < 3)
        return c;
    std::vector<double> w(points.size(), 1.0);
    if (!Algebraic(points, w, c))
        return c;
    // Distances to the rim, weighted down far from it (Tukey's biweight on a robust spread),
    // then Gauss-Newton steps of the geometric fit.
    for (int round = 0; round < 10; ++round) {
        std::vector<double> residuals;
        for (const cv::Point2d& p : points)
            residuals.push_back(std::hypot(p.x - c.x, p.y - c.y) - c.radius);
        std::vector<double> sorted;
        for (double r : residuals)
            sorted.push_back(std::abs(r));
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        const double cutoff = std::max(0.5, 4.685 * 1.4826 * sorted[sorted.size() / 2]);
        cv::Matx33d a = cv::Matx33d::zeros();
        cv::Vec3d b(0, 0, 0);
        int used = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            const double u = residuals[i] / cutoff;
            w[i] = std::abs(u) < 1.0 ? (1.0 - u * u) * (1.0 - u * u) : 0.0;
            if (w[i] == 0.0)
                continue;
            ++used;
            const double d = std::hypot(points[i].x - c.x, points[i].y - c.y);
            if (d <= 0.0)
                continue;
            const cv::Vec3d j(-(points[i].x - c.x) / d, -(points[i].y - c.y) / d, -1.0);
            a += w[i] * j * j.t();
            b += -w[i] * residuals[i] * j;
        }
        cv::Vec3d step;
        if (used < 3 || !cv::solve(a, b, step, cv::DECOMP_CHOLESKY))
            return {};
        c.x += step[0];
        c.y += step[1];
        c.radius += step[2];
        c.points = used;
        if (std::abs(step[0]) + std::abs(step[1]) + std::abs(step[2]) < 1e-6)
            break;
    }
    c.found = c.radius > 0.0 && c.points >= 3;
    return c;
}

CCircleFit CCircleFit::ToRim(const CEdgeLocator& edges, double x, double y, double radius)
{
    const double reach = std::max(4.0, 0.15 * radius);
    std::vector<cv::Point2d> points;
    for (int i = 0; i < kRays; ++i) {
        const double a = 2.0 * std::numbers::pi * i / kRays;
        const CEdgeLocator::Edge e = edges.AlongRay(
                x, y, std::cos(a), std::sin(a), std::max(0.0, radius - reach), radius + reach);
        if (e.found)
            points.push_back({ e.x, e.y });
    }
    if (int(points.size()) < kMinPoints)
        return {};
    return Fit(points);
}

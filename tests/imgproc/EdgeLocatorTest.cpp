#include "imgproc/CircleFit.h"
#include "imgproc/EdgeLocator.h"

#include "SyntheticEdges.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

// A click up to 2 pixels off a blurred, noisy edge lands within a tenth of a pixel of it, at
// any angle and sub-pixel position; the click's place along the edge stays.
TEST(EdgeLocator, ClicksNearAnEdgeLandOnItToATenthOfAPixel)
{
    const CSyntheticEdges synthetic;
    for (double degrees : { 0.0, 17.0, 45.0, 90.0, 123.0, 200.0 }) {
        const double a = degrees * std::numbers::pi / 180.0;
        const double nx = std::cos(a);
        const double ny = std::sin(a);
        const double x0 = 50.37;
        const double y0 = 49.81;
        const cv::Mat grey = synthetic.Draw({ 100, 100 }, CSyntheticEdges::Line(x0, y0, nx, ny));
        const CEdgeLocator edges(grey);
        for (double off : { -2.0, -0.7, 0.0, 1.3, 2.0 }) {
            const double cx = x0 + off * nx - 5.0 * ny;
            const double cy = y0 + off * ny + 5.0 * nx;
            const CEdgeLocator::Edge e = edges.Near(cx, cy, 6.0);
            ASSERT_TRUE(e.found) << degrees << " " << off;
            EXPECT_LT(std::abs((e.x - x0) * nx + (e.y - y0) * ny), 0.1) << degrees << " " << off;
            EXPECT_LT(std::abs((e.x - cx) * -ny + (e.y - cy) * nx), 0.5) << "along the edge";
            EXPECT_NEAR(e.slope, 120.0 / (1.5 * std::sqrt(2.0 * std::numbers::pi)), 8.0);
        }
    }
}

TEST(EdgeLocator, NoEdgeStaysUnfoundAndTheStrongerOfTwoWins)
{
    const CSyntheticEdges flat { .low = 100.0, .high = 100.0, .seed = 4 };
    EXPECT_FALSE(CEdgeLocator(flat.Draw({ 60, 60 }, CSyntheticEdges::Line(30, 30, 1, 0)))
                         .Near(30.0, 30.0, 6.0)
                         .found);
    // A faint step 3 pixels left of the click and a strong one 4 pixels right of it.
    const CSyntheticEdges two;
    const cv::Mat grey = two.Draw({ 60, 60 },
            [](double x, double) { return x < 30.0 ? (x - 27.0) * 0.15 - 10.0 : x - 34.0; });
    const CEdgeLocator::Edge e = CEdgeLocator(grey).Near(30.0, 30.0, 6.0);
    ASSERT_TRUE(e.found);
    EXPECT_NEAR(e.x, 34.0, 0.15);
}

// A scratch across the rim and a few stray points do not move the fitted circle.
TEST(CircleFit, RimThroughAScratchAndOutliers)
{
    std::vector<cv::Point2d> points;
    for (int i = 0; i < 40; ++i) {
        const double a = 2.0 * std::numbers::pi * i / 40;
        points.push_back({ 70.3 + 25.6 * std::cos(a), 40.1 + 25.6 * std::sin(a) });
    }
    points.push_back({ 70.3, 40.1 });
    points.push_back({ 100.0, 41.0 });
    points.push_back({ 60.0, 70.0 });
    const CCircleFit exact = CCircleFit::Fit(points);
    ASSERT_TRUE(exact.found);
    EXPECT_NEAR(exact.radius, 25.6, 1e-6);
    EXPECT_NEAR(exact.x, 70.3, 1e-6);
    EXPECT_EQ(exact.points, 40);

    const CSyntheticEdges synthetic;
    const auto disc = CSyntheticEdges::Disc(80.4, 75.7, 40.25);
    cv::Mat grey = synthetic.Draw({ 160, 150 }, disc);
    cv::line(grey, { 20, 140 }, { 150, 20 }, cv::Scalar(20), 2);
    // Three clicks a pixel or two off the rim.
    const CCircleFit rim = CCircleFit::ToRim(CEdgeLocator(grey), 81.5, 74.9, 41.5);
    ASSERT_TRUE(rim.found);
    EXPECT_NEAR(2.0 * rim.radius, 80.5, 0.2);
    EXPECT_NEAR(rim.x, 80.4, 0.1);
    EXPECT_NEAR(rim.y, 75.7, 0.1);
    EXPECT_FALSE(CCircleFit::Fit({ { 0, 0 }, { 1, 1 } }).found);
}

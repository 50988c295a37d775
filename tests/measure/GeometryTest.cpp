#include "measure/MeasureGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace MeasureGeometry;

TEST(Geometry, BearingAndAngles)
{
    // A vertical arm: straight up from the vertex is 180, to the right is 90.
    const QPoint vertex(10, 10);
    EXPECT_DOUBLE_EQ(Bearing(QPoint(10, 0), vertex), 180.0);
    EXPECT_DOUBLE_EQ(Bearing(QPoint(20, 10), vertex), 90.0);
    EXPECT_DOUBLE_EQ(Angle3(QPoint(10, 0), vertex, QPoint(20, 10)), 90.0);

    // Straight down is 0, so a negative difference wraps past 180.
    EXPECT_DOUBLE_EQ(Bearing(QPoint(10, 20), vertex), 0.0);
    EXPECT_DOUBLE_EQ(Angle3(QPoint(10, 20), vertex, QPoint(20, 10)), 270.0);
    EXPECT_DOUBLE_EQ(Angle4(QPoint(10, 20), vertex, QPoint(20, 10), vertex), 270.0);

    // The vector p1 -> p0 measured counter-clockwise with y up.
    EXPECT_DOUBLE_EQ(LineDirection(QPoint(10, 0), QPoint(0, 0)), 0.0);
    EXPECT_DOUBLE_EQ(LineDirection(QPoint(0, -10), QPoint(0, 0)), 90.0);
    EXPECT_DOUBLE_EQ(LineDirection(QPoint(-10, 0), QPoint(0, 0)), 180.0);
    EXPECT_DOUBLE_EQ(LineDirection(QPoint(0, 10), QPoint(0, 0)), 270.0);
    EXPECT_NEAR(LineDirection(QPoint(10, 10), QPoint(0, 0)), 315.0, 1e-3);
}

TEST(Geometry, ScaledLength)
{
    EXPECT_NEAR(ScaledLength(QPoint(0, 0), QPoint(10, 10), 0.5, 0.25), 5.590, 5e-4);
}

TEST(Geometry, CircleThroughThreePoints)
{
    const Circle c = CircleThrough(QPoint(60, 50), QPoint(50, 60), QPoint(40, 50));
    EXPECT_EQ(c.centre, QPoint(50, 50));
    EXPECT_EQ(c.radius, 10);

    // A horizontal first chord takes the other bisector.
    const Circle h = CircleThrough(QPoint(40, 50), QPoint(60, 50), QPoint(50, 60));
    EXPECT_EQ(h.centre, QPoint(50, 50));
    EXPECT_EQ(h.radius, 10);

    const Circle line = CircleThrough(QPoint(0, 0), QPoint(5, 5), QPoint(10, 10));
    EXPECT_EQ(line.centre, QPoint(10, 10));
    EXPECT_EQ(line.radius, 0);
    EXPECT_TRUE(Collinear(QPoint(3, 0), QPoint(3, 7), QPoint(3, -2)));
}

TEST(Geometry, SquareAreaInAnyVertexOrder)
{
    std::vector<QPoint> square { { 0, 0 }, { 10, 0 }, { 10, 10 }, { 0, 10 } };
    for (int turn = 0; turn < 4; ++turn) {
        EXPECT_DOUBLE_EQ(PolygonArea(square.data(), 4), 100.0);
        std::vector<QPoint> reversed(square.rbegin(), square.rend());
        EXPECT_DOUBLE_EQ(PolygonArea(reversed.data(), 4), 100.0);
        std::rotate(square.begin(), square.begin() + 1, square.end());
    }
    EXPECT_DOUBLE_EQ(PolygonArea(square.data(), 2), 0.0);
}

TEST(Geometry, PerpendicularFoot)
{
    // On the baseline: the foot is the point itself.
    EXPECT_EQ(PerpendicularFoot(QPoint(0, 0), QPoint(10, 10), QPoint(5, 5)), QPoint(5, 5));
    EXPECT_EQ(PerpendicularFoot(QPoint(0, 0), QPoint(0, 10), QPoint(7, 3)), QPoint(0, 3));
    EXPECT_EQ(PerpendicularFoot(QPoint(0, 4), QPoint(10, 4), QPoint(7, 30)), QPoint(7, 4));
    EXPECT_EQ(PerpendicularFoot(QPoint(0, 0), QPoint(10, 10), QPoint(0, 10)), QPoint(5, 5));

    QPoint from;
    QPoint to;
    ExtendedLine(QPoint(0, 10), QPoint(10, 20), from, to);
    EXPECT_EQ(from, QPoint(0, 10));
    EXPECT_EQ(to, QPoint(10000, 10010));
    ExtendedLine(QPoint(7, 1), QPoint(7, 9), from, to);
    EXPECT_EQ(from, QPoint(7, 0));
    EXPECT_EQ(to, QPoint(7, 10000));
}

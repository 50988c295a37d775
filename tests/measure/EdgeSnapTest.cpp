#include "measure/CircleShape.h"

#include "ShapeDrivers.h"
#include "ToolDrivers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

// Snapping in the engine, with edge finders that know two upright edges (x = 150.37 and
// x = 250.81) and move every circle onto a rim of radius 50.4.
namespace {

class Snapping : public testing::Test
{
protected:
    void SetUp() override
    {
        m.SetClientSize({ 640, 480 });
        m.SetEdgeFinders(
                [this](QPointF p, double radius) -> std::optional<QPointF> {
                    asked = radius;
                    for (double edge : { 150.37, 250.81 })
                        if (std::abs(p.x() - edge) <= radius)
                            return QPointF(edge, p.y() + 0.1);
                    return std::nullopt;
                },
                [](QPointF& centre, double& radius) {
                    centre += QPointF(centre.x() < 200 ? 0.25 : -0.25, 0.25);
                    radius = 50.4;
                    return true;
                });
    }
    // In picture pixels, whatever the default slot's scale.
    double Value(int row = 0) const
    {
        return m.ResultRows().at(size_t(row)).result.toDouble() / m.ScaleX();
    }
    void Line(QPoint from, QPoint to)
    {
        ChooseTool(m.Tools(), LineTool);
        m.OnLButtonDown(from.x(), from.y());
        m.OnMouseMove(to.x(), to.y());
        m.OnLButtonUp(to.x(), to.y());
        m.Tools().Settle(to);
    }

    CShapeManager m;
    double asked = 0.0;
};

TEST_F(Snapping, PointsGoOntoEdgesOnlyWhenOnAndNotWithShift)
{
    Line({ 148, 100 }, { 253, 100 });
    EXPECT_NEAR(Value(), 105.0, 1e-6) << "off by default: the clicks stand";

    m.SetSnapToEdges(true);
    m.RemoveAll();
    Line({ 148, 100 }, { 253, 100 });
    EXPECT_NEAR(Value(), 250.81 - 150.37, 0.01);
    EXPECT_DOUBLE_EQ(asked, CEdgeSnap::kReach) << "6 screen pixels at zoom 1";

    // Shift places the end where the pointer is; far from an edge nothing moves either.
    m.RemoveAll();
    ChooseTool(m.Tools(), LineTool);
    m.OnLButtonDown(148, 100);
    m.SetSnapFree(true);
    m.OnMouseMove(253, 100);
    m.OnLButtonUp(253, 100);
    m.Tools().Settle({ 253, 100 });
    m.SetSnapFree(false);
    EXPECT_NEAR(Value(), 253.0 - 150.37, 0.01);
    m.RemoveAll();
    Line({ 100, 100 }, { 200, 100 });
    EXPECT_NEAR(Value(), 100.0, 1e-6);

    // At zoom 2 the reach is 3 picture pixels.
    m.SetZoom(2.0f);
    m.RemoveAll();
    Line({ 2 * 148, 200 }, { 2 * 253, 200 });
    EXPECT_DOUBLE_EQ(asked, CEdgeSnap::kReach / 2.0);
    EXPECT_NEAR(Value(), 250.81 - 150.37, 0.01);
}

// The mark shows before the release; the snapped part of a point is part of the drawing's
// state, so undo brings back the exact length; dragging the end by hand drops it.
TEST_F(Snapping, TheMarkTheUndoAndAHandDrag)
{
    m.SetSnapToEdges(true);
    ChooseTool(m.Tools(), AreaTool);
    m.OnMouseMove(149, 300);
    EXPECT_TRUE(m.SnapMark().has_value());
    m.OnMouseMove(50, 300);
    EXPECT_FALSE(m.SnapMark().has_value());

    Line({ 148, 100 }, { 253, 100 });
    const double snapped = Value();
    m.RemoveAll();
    ASSERT_TRUE(m.Undo());
    EXPECT_NEAR(Value(), snapped, 1e-9);
    m.SetSnapToEdges(false);
    ChooseTool(m.Tools(), SelectMode);
    m.OnLButtonDown(250, 100);
    m.OnMouseMove(300, 100);
    m.OnLButtonUp(300, 100);
    EXPECT_NEAR(Value(), 300.0 - 150.37, 0.01);
}

// A baseline on one edge and a perpendicular from the other: the foot lies between pixels
// too, so the distance between the edges reads to a part of a pixel.
TEST_F(Snapping, APerpendicularBetweenTwoEdges)
{
    m.SetSnapToEdges(true);
    ChooseTool(m.Tools(), VerticalLinesTool);
    for (QPoint p : { QPoint(148, 100), QPoint(152, 300), QPoint(249, 200) }) {
        Click(m, p.x(), p.y());
        m.Tools().Settle(p);
    }
    ASSERT_EQ(m.ResultRows().size(), 1u);
    EXPECT_NEAR(Value(), 250.81 - 150.37, 0.01);
}

TEST_F(Snapping, ACircleIsFittedToItsRim)
{
    m.SetSnapToEdges(true);
    ChooseTool(m.Tools(), CircleTool);
    for (QPoint p : { QPoint(100, 200), QPoint(150, 150), QPoint(200, 200) }) {
        Click(m, p.x(), p.y());
        m.Tools().Settle(p);
    }
    EXPECT_NEAR(Value(), 100.8, 0.01);
    double pixels = 0.0;
    QPoint centre;
    int kind = 0;
    ASSERT_TRUE(m.ReferenceLength(pixels, centre, kind));
    EXPECT_NEAR(pixels, 100.8, 1e-9) << "a scale set from the circle uses the fit too";

    // A distance runs between the fitted centres, a part of a pixel nearer here.
    m.RemoveAll();
    ChooseTool(m.Tools(), DistanceTool);
    for (QPoint p : { QPoint(100, 200), QPoint(150, 150), QPoint(200, 200), QPoint(300, 200),
                 QPoint(350, 150), QPoint(400, 200) }) {
        Click(m, p.x(), p.y());
        m.Tools().Settle(p);
    }
    const auto rows = m.ResultRows();
    const auto distance = std::find_if(
            rows.begin(), rows.end(), [](const CResultRow& r) { return r.type == "distance"; });
    ASSERT_NE(distance, rows.end());
    EXPECT_NEAR(distance->result.toDouble() / m.ScaleX(), 199.5, 0.01);
}

} // namespace

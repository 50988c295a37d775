#include "measure/Angle3Shape.h"
#include "measure/CalibrationRuler.h"
#include "measure/MeasureGeometry.h"
#include "measure/CircleShape.h"
#include "measure/DrawingHistory.h"
#include "measure/LineShape.h"
#include "measure/PerpendicularShape.h"
#include "measure/PictureRescale.h"
#include "measure/TextLabel.h"
#include "measure/ShapeManager.h"
#include "measure/VerticalLinesShape.h"

#include "ShapeDrivers.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>

#include <vector>

namespace {

CCalibrationSlot Slot(double x, double y, int unit = 1)
{
    CCalibrationSlot slot;
    slot.unit = unit;
    slot.xPerPixel = x;
    slot.yPerPixel = y;
    slot.xLength = 10.0;
    slot.yLength = 10.0;
    slot.left = 100;
    slot.right = 300;
    slot.top = 100;
    slot.bottom = 300;
    return slot;
}

} // namespace

TEST(ShapeManager, LineAndCircleValuesInRealUnits)
{
    CShapeManager m;
    m.SetCalibration(Slot(0.5, 0.25));
    UseTool(m, 2);
    Drag(m, { 0, 0 }, { 10, 10 });
    m.SetCalibration(Slot(0.2, 0.4));
    UseTool(m, 8);
    Click(m, 60, 50);
    Click(m, 50, 60);
    Click(m, 40, 50);

    const std::vector<CResultRow> rows = m.ResultRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].type, "length");
    EXPECT_EQ(rows[1].type, "diameter");
    EXPECT_EQ(rows[1].result, "6.000");
    EXPECT_EQ(rows[1].unit, "mm");
    m.SetCalibration(Slot(0.5, 0.25));
    EXPECT_EQ(m.ResultRows()[0].result, "5.590");

    auto* circle = static_cast<CCircleShape*>(m.ShapeAt(1));
    EXPECT_EQ(circle->Centre(), QPoint(50, 50));
    EXPECT_EQ(circle->Radius(), 10);
}

TEST(ShapeManager, UnusableScaleMeasuresInPixels)
{
    CShapeManager m;
    m.SetCalibration(Slot(0.0, 0.0));
    UseTool(m, 2);
    Drag(m, { 0, 0 }, { 30, 40 });
    const auto rows = m.ResultRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].result, "50.000");
    EXPECT_EQ(rows[0].unit, "px");
}

TEST(ShapeManager, ShapesOfSeparateEventsHaveDistinctIds)
{
    CShapeManager m;
    UseTool(m, 2);
    Drag(m, { 0, 0 }, { 50, 0 });
    Drag(m, { 0, 10 }, { 50, 10 });
    const auto rows = m.ResultRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NE(rows[0].rowId, rows[1].rowId);
    // The row id reaches the shape it names, not an earlier one of the same millisecond.
    m.RemoveByRowId(rows[1].rowId);
    ASSERT_EQ(m.ShapeCount(), 1);
    EXPECT_EQ(m.ShapeAt(0)->Point(0), QPoint(0, 0));
}

TEST(ShapeManager, PerpendicularRowsAndRemoval)
{
    CShapeManager m;
    m.SetCalibration(Slot(1.0, 1.0));
    UseTool(m, 11);
    Click(m, 100, 100);
    Click(m, 300, 100);
    Click(m, 150, 140); // 40 below the baseline
    Click(m, 200, 160);
    Click(m, 250, 102); // too short to see: disappears at once
    auto* lines = static_cast<CVerticalLinesShape*>(m.ShapeAt(0));
    ASSERT_EQ(lines->PerpendicularCount(), 2);

    auto rows = m.ResultRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].result, "40.000");
    EXPECT_EQ(rows[1].result, "60.000");

    // Switching the tool keeps a baseline that has perpendiculars.
    m.FinishOpenShapes();
    m.CancelUnfinished();
    ASSERT_EQ(m.ShapeCount(), 1);

    m.HighlightByRowId(rows[0].rowId, true);
    EXPECT_TRUE(lines->Perpendicular(0)->IsHighlighted());
    EXPECT_FALSE(lines->IsHighlighted());

    m.RemoveByRowId(rows[0].rowId);
    ASSERT_EQ(m.ShapeCount(), 1);
    ASSERT_EQ(lines->PerpendicularCount(), 1);
    m.RemoveByRowId(rows[1].rowId); // the last one takes the baseline with it
    EXPECT_EQ(m.ShapeCount(), 0);
}

TEST(ShapeManager, CancelUnfinishedRemovesOnlyShapesInConstruction)
{
    CShapeManager m;
    UseTool(m, 3);
    Click(m, 0, 0);
    Click(m, 10, 10);
    Click(m, 20, 0); // complete angle
    UseTool(m, 8);
    Click(m, 0, 0); // circle with one point
    UseTool(m, 11);
    Click(m, 0, 50); // baseline without perpendicular
    ASSERT_EQ(m.ShapeCount(), 3);
    m.CancelUnfinished();
    ASSERT_EQ(m.ShapeCount(), 1);
    EXPECT_EQ(m.ShapeAt(0)->Kind(), 3);
}

// The listener of a drag step runs with the manager free: another thread (the frame pump)
// can draw meanwhile, and the listener may write the calibration back.
TEST(ShapeManager, CalibrationMovedIsToldWithTheManagerUnlocked)
{
    CShapeManager m;
    m.SetCalibration(Slot(0.05, 0.05));
    m.EnableCalibrationRuler(true);
    int told = 0;
    bool otherThreadGotIn = false;
    m.SetCalibrationMovedHook([&] {
        ++told;
        auto other = std::async(std::launch::async, [&m] { return m.GetCalibration().left; });
        otherThreadGotIn = other.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
        CCalibrationSlot back = m.GetCalibration();
        m.SetCalibration(back);
    });
    UseTool(m, SelectMode);
    m.OnLButtonDown(100, 200);
    m.OnMouseMove(110, 200);
    m.OnLButtonUp(110, 200);
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(otherThreadGotIn) << "the hook ran under the manager's lock";
    EXPECT_EQ(m.GetCalibration().left, 110u);
}

TEST(ShapeManager, CalibrationRulerDragShrinksAboutItsCentre)
{
    CShapeManager m;
    CCalibrationSlot slot = Slot(0.05, 0.05);
    m.SetCalibration(slot);
    m.EnableCalibrationRuler(true);
    std::vector<CCalibrationSlot> stored;
    m.SetCalibrationMovedHook([&] { stored.push_back(m.GetCalibration()); });
    UseTool(m, 13);

    // Left end at (100, mid-Y 200) dragged 10 to the right.
    m.OnLButtonDown(100, 200);
    m.OnMouseMove(110, 200);
    m.OnLButtonUp(110, 200);
    const CCalibrationSlot now = m.GetCalibration();
    EXPECT_EQ(now.left, 110u);
    EXPECT_EQ(now.right, 290u);
    EXPECT_EQ(now.top, 100u);
    EXPECT_EQ(now.bottom, 300u);
    EXPECT_DOUBLE_EQ(now.xPerPixel, 10.0 / 180);
    // The notification carries the scale the step gives.
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].left, 110u);
    EXPECT_DOUBLE_EQ(stored[0].xPerPixel, 10.0 / 180);

    // Dragged past the other end, the bar stops 2 pixels long (never crossed, never 1e-7 per
    // pixel) and follows the mouse again once it comes back.
    m.OnLButtonDown(110, 200);
    m.OnMouseMove(200, 200);
    m.OnMouseMove(260, 200);
    EXPECT_EQ(m.GetCalibration().left, 199u);
    EXPECT_EQ(m.GetCalibration().right, 201u);
    EXPECT_DOUBLE_EQ(m.GetCalibration().xPerPixel, 10.0 / 2);
    EXPECT_EQ(stored.size(), 2u) << "no step while the bar waits at its shortest";
    m.OnMouseMove(150, 200);
    m.OnLButtonUp(150, 200);
    EXPECT_EQ(m.GetCalibration().left, 150u);
    EXPECT_EQ(m.GetCalibration().right, 250u);

    // The centre moves the whole reference.
    m.OnLButtonDown(200, 200);
    m.OnMouseMove(210, 190);
    m.OnLButtonUp(210, 190);
    const CCalibrationSlot moved = m.GetCalibration();
    EXPECT_EQ(moved.left, 160u);
    EXPECT_EQ(moved.right, 260u);
    EXPECT_EQ(moved.top, 90u);
    EXPECT_EQ(moved.bottom, 290u);
}

TEST(ShapeManager, ShownReferenceWithoutExtentGoesToThePictureMiddle)
{
    CShapeManager m;
    int notified = 0;
    m.SetCalibrationMovedHook([&] { ++notified; });
    m.SetCalibration(CCalibrationSlot {}); // all zeros, as a first start loads it
    EXPECT_EQ(m.GetCalibration().right, 0u) << "hidden, it stays as loaded";
    EXPECT_EQ(notified, 0);

    m.EnableCalibrationRuler(true); // no canvas size yet: where Reset puts it
    EXPECT_EQ(m.GetCalibration().left, 100u);
    EXPECT_EQ(m.GetCalibration().bottom, 300u);
    EXPECT_EQ(notified, 1);

    // A small picture keeps every handle on it.
    m.SetClientSize({ 160, 120 });
    m.SetCalibration(CCalibrationSlot {});
    const CCalibrationSlot placed = m.GetCalibration();
    EXPECT_EQ(QRect(QPoint(placed.left, placed.top), QPoint(placed.right, placed.bottom)),
            QRect(QPoint(50, 30), QPoint(110, 90)));
    EXPECT_EQ(notified, 2);

    CCalibrationSlot kept = Slot(0.5, 0.5);
    kept.left = 5;
    kept.right = 25;
    kept.top = 5;
    kept.bottom = 7;
    m.SetCalibration(kept);
    EXPECT_EQ(m.GetCalibration().right, 25u) << "a reference with extent stays where it is";
    EXPECT_EQ(notified, 2);
}

TEST(ShapeManager, BurnInKeepsBytesOfValue128)
{
    constexpr int w = 101; // odd width: rows carry padding
    constexpr int h = 100;
    CShapeManager m;
    CColorSetting colours;
    colours.LineSize = 1;
    colours.LineColor = 0x008000FF; // red 255, green 0, blue 128
    m.ApplyColourSettings(colours);
    UseTool(m, 2);
    Drag(m, { 10, 50 }, { 90, 50 });
    m.SetZoom(2.0f); // burn-in draws at zoom 1 whatever the view
    m.SetPan(7, 3);

    const int stride = FrameStride(w);
    ASSERT_EQ(stride, 304);
    std::vector<uint8_t> image(stride * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* px = &image[y * stride + x * 3];
            px[0] = 10; // blue
            px[1] = 20;
            px[2] = 30;
        }
    }
    std::vector<uint8_t> scratch(stride * h);
    m.RenderOnto(scratch.data(), w, h);
    CShapeManager::MergeRendered(image.data(), scratch.data(), w, h);

    // Rows are stored bottom-up: picture row 50 is buffer row 49.
    const uint8_t* onLine = &image[(h - 1 - 50) * stride + 50 * 3];
    EXPECT_EQ(onLine[0], 10); // blue of 128 left the picture alone
    EXPECT_EQ(onLine[1], 0);
    EXPECT_EQ(onLine[2], 255);
    const uint8_t* offLine = &image[(h - 1 - 20) * stride + 50 * 3];
    EXPECT_EQ(offLine[0], 10);
    EXPECT_EQ(offLine[1], 20);
    EXPECT_EQ(offLine[2], 30);
    EXPECT_FLOAT_EQ(m.Zoom(), 2.0f);
    EXPECT_EQ(m.Pan(), QPoint(7, 3));
}

TEST(ShapeManager, TextsAndCrossLines)
{
    CShapeManager m;
    m.AddText(QString(300, QLatin1Char('a')), 10, 10);
    m.AddText(QStringLiteral("second"), 20, 20);
    EXPECT_EQ(m.Texts().at(0).size(), 255);
    m.SetText(1, QStringLiteral("changed"));
    m.SetText(5, QStringLiteral("ignored"));
    m.DeleteText(0);
    EXPECT_EQ(m.Texts(), QStringList { QStringLiteral("changed") });
    m.DeleteAllTexts();
    EXPECT_EQ(m.TextCount(), 0);

    m.AppendCrossLine(CCrossLine());
    m.SetCrossLine(3, 0, 1, 2, 0, 0, 1); // ignored past the end
    m.SetCrossLine(0, 0, 1, 2, 1, 0xFF, 3);
    CCrossLine line;
    ASSERT_TRUE(m.GetCrossLine(0, line));
    EXPECT_EQ(line.x, 1);
    EXPECT_EQ(line.size, 3);
    EXPECT_FALSE(m.GetCrossLine(1, line));
    m.RemoveCrossLine(0);
    EXPECT_EQ(m.CrossLineCount(), 0);
}

TEST(ShapeManager, AnglesAndTheirRows)
{
    CShapeManager m;
    UseTool(m, 3);
    Click(m, 10, 0);
    Click(m, 10, 10);
    Click(m, 20, 10);
    UseTool(m, 4);
    Click(m, 10, 20);
    Click(m, 10, 10);
    Click(m, 20, 10);
    Click(m, 10, 10);
    const auto rows = m.ResultRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].result, "90.0");
    EXPECT_EQ(rows[0].unit, "deg.");
    EXPECT_EQ(rows[1].result, "270.0");
    EXPECT_NE(rows[0].rowId, rows[1].rowId);
}

TEST(ShapeManager, ThreePointAnglesReadTheSameWhicheverArmComesFirst)
{
    CShapeManager m;
    UseTool(m, Angle3Tool);
    ClickAll(m, { { 110, 10 }, { 10, 10 }, { 30, 40 } });
    UseTool(m, Angle3Tool);
    ClickAll(m, { { 30, 40 }, { 10, 10 }, { 110, 10 } });
    auto labels = [&] {
        QImage image(200, 100, QImage::Format_RGB32);
        QPainter painter(&image);
        m.DrawAll(painter);
        QStringList texts;
        for (int i = 0; i < m.ShapeCount(); ++i)
            texts << static_cast<CAngle3Shape*>(m.ShapeAt(i))->ValueLabel()->Text();
        return texts;
    };
    auto results = [&] {
        QStringList texts;
        for (const CResultRow& row : m.ResultRows())
            texts << row.result;
        return texts;
    };
    EXPECT_EQ(results(), QStringList({ "56.3", "56.3" }));
    EXPECT_EQ(labels(), QStringList({ "56.3deg.", "56.3deg." }));
    // Asked for, the angle is directed: from the first arm round to the second.
    m.SetDirectedAngles(true);
    EXPECT_EQ(results(), QStringList({ "56.3", "303.7" }));
    EXPECT_EQ(labels(), QStringList({ "56.3deg.", "303.7deg." }));
    EXPECT_DOUBLE_EQ(MeasureGeometry::ArmAngle({ 10, 20 }, { 10, 10 }, { 20, 10 }), 90.0);
    EXPECT_DOUBLE_EQ(MeasureGeometry::ArmAngle({ 0, 10 }, { 10, 10 }, { 20, 10 }), 180.0);
}

TEST(ShapeManager, DistanceRowsReachTheWholeDistance)
{
    CShapeManager m;
    UseTool(m, 9);
    for (QPoint p : { QPoint(60, 50), QPoint(50, 60), QPoint(40, 50), QPoint(160, 50),
                 QPoint(150, 60), QPoint(140, 50) })
        Click(m, p.x(), p.y());
    const auto rows = m.ResultRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].type, "distance");
    EXPECT_EQ(rows[1].type, "degree");
    EXPECT_EQ(rows[2].type, "diameter");
    EXPECT_EQ(rows[3].type, "diameter");

    m.HighlightByRowId(rows[1].rowId, true);
    const CMeasureShape* distance = m.ShapeAt(0);
    EXPECT_TRUE(distance->IsHighlighted());
    for (int i = 0; i < distance->ChildCount(); ++i)
        EXPECT_TRUE(distance->Child(i)->IsHighlighted());

    m.RemoveByRowId(rows[1].rowId);
    EXPECT_EQ(m.ShapeCount(), 0);
}

TEST(ShapeManager, DraggingALabelMovesOnlyTheLabel)
{
    CShapeManager m;
    UseTool(m, 2);
    Drag(m, { 100, 100 }, { 200, 100 });
    auto* line = static_cast<CLineShape*>(m.ShapeAt(0));
    const QPoint label = line->ValueLabel()->Position();
    ASSERT_EQ(label, QPoint(150, 100));

    UseTool(m, 13);
    Drag(m, label + QPoint(2, 2), label + QPoint(2, 42));
    EXPECT_EQ(line->ValueLabel()->Position(), QPoint(150, 140));
    EXPECT_EQ(line->Point(0), QPoint(100, 100));
    EXPECT_EQ(line->Point(1), QPoint(200, 100));

    // Moving the end re-anchors the label and keeps the user's offset.
    Drag(m, { 200, 100 }, { 300, 100 });
    EXPECT_EQ(line->ValueLabel()->Position(), QPoint(200, 140));
}

TEST(ShapeManager, InvalidatesTheGrownBoundingBox)
{
    CShapeManager m;
    std::vector<QRect> rects;
    m.SetInvalidateHook([&rects](const QRect& r) { rects.push_back(r); });
    UseTool(m, 2);
    Drag(m, { 300, 200 }, { 400, 220 });
    ASSERT_FALSE(rects.empty());
    QRect all;
    for (const QRect& r : rects)
        all |= r;
    EXPECT_TRUE(all.contains(QRect(QPoint(200, 150), QPoint(500, 270))));

    rects.clear();
    m.SetZoom(2.0f);
    rects.clear();
    m.SetPan(10, 0);
    ASSERT_FALSE(rects.empty());
    // Beyond zoom 1 the margins are 120 and 80 times the zoom.
    EXPECT_EQ(rects.front().left(), 300 * 2 - 10 - 240);
    EXPECT_EQ(rects.front().top(), 200 * 2 - 160);
}

TEST(ShapeManager, DrawOnFrameKeepsTheUprightPicture)
{
    constexpr int w = 200;
    constexpr int h = 120;
    CShapeManager m;
    CColorSetting colours;
    colours.LineSize = 1;
    colours.LineColor = 0x000000FF; // red
    colours.TextColor = 0x00FF0000; // blue
    m.ApplyColourSettings(colours);
    UseTool(m, 2);
    Drag(m, { 20, 30 }, { 180, 30 });
    UseTool(m, 8);
    Click(m, 110, 80);
    Click(m, 100, 90);
    Click(m, 90, 80); // circle of radius 10 about (100, 80)

    const int stride = FrameStride(w);
    std::vector<uint8_t> frame(stride * h, 0);
    m.DrawOnFrame(frame.data(), w, h, 0, 0);
    auto pixel = [&](int x, int y) { // upright coordinates
        const uint8_t* p = &frame[(h - 1 - y) * stride + x * 3];
        return qRgb(p[2], p[1], p[0]);
    };
    EXPECT_EQ(pixel(60, 30), qRgb(255, 0, 0));
    EXPECT_EQ(pixel(60, 29), qRgb(0, 0, 0));
    EXPECT_EQ(pixel(90, 80), qRgb(255, 0, 0)); // rim
    EXPECT_EQ(pixel(100, 70), qRgb(255, 0, 0));
    EXPECT_EQ(pixel(94, 86), qRgb(0, 0, 0)); // inside
    // The label sits below its anchor (100, 30), drawn downwards in blue.
    int blue = 0;
    for (int y = 30; y < 50; ++y)
        for (int x = 100; x < 160; ++x)
            blue += qBlue(pixel(x, y)) > 128 && qRed(pixel(x, y)) == 0;
    EXPECT_GT(blue, 5);
    for (int y = 10; y < 29; ++y)
        for (int x = 100; x < 160; ++x)
            EXPECT_EQ(qBlue(pixel(x, y)), 0) << x << "," << y;
}

// The frame pump redraws an idle live view only when this count moves: every edit must move
// it, while queries and drawing, which the pump itself does at frame pace, must not.
TEST(ShapeManager, EditsMoveTheChangeCountQueriesAndDrawingDoNot)
{
    CShapeManager m;
    m.SetClientSize(QSize(320, 240));
    // The hook is how the pump hears of an edit: it is called each time the count moves.
    uint64_t told = 0;
    m.SetChangeHook([&told] { ++told; });
    QImage view(320, 240, QImage::Format_RGB32);
    std::vector<uint8_t> frame(static_cast<size_t>(FrameStride(320)) * 240);
    const auto quiet = [&] {
        const uint64_t count = m.ChangeCount();
        const uint64_t toldBefore = told;
        QPainter painter(&view);
        m.DrawOnFrame(painter, 320, 240, 0, 0);
        painter.end();
        m.DrawOnFrame(frame.data(), 320, 240, 0, 0);
        m.RenderOnto(frame.data(), 320, 240);
        (void)m.ShapeCount();
        (void)m.ResultRows();
        (void)m.ToolMode();
        (void)m.HitCursor(10, 10);
        (void)m.CrossLines();
        return m.ChangeCount() == count && told == toldBefore;
    };
    const auto moves = [&](const std::function<void()>& edit) {
        const uint64_t count = m.ChangeCount();
        const uint64_t toldBefore = told;
        edit();
        return m.ChangeCount() != count && told - toldBefore == m.ChangeCount() - count;
    };
    EXPECT_TRUE(quiet());
    EXPECT_TRUE(moves([&] { UseTool(m, 2); }));
    EXPECT_TRUE(moves([&] { m.OnLButtonDown(10, 10); }));
    EXPECT_TRUE(moves([&] { m.OnMouseMove(60, 40); }));
    EXPECT_TRUE(moves([&] { m.OnLButtonUp(60, 40); }));
    EXPECT_TRUE(quiet());
    // Selection and highlight change only a flag of a shape: the picture still changes.
    EXPECT_TRUE(moves([&] { m.HighlightByRowId(m.ResultRows().front().rowId, true); }));
    EXPECT_TRUE(moves([&] { m.ClearSelection(); }));
    EXPECT_TRUE(moves([&] { m.SetPan(5, 5); }));
    EXPECT_TRUE(moves([&] {
        CColorSetting colours;
        colours.GridShow = true;
        m.ApplyColourSettings(colours);
    }));
    EXPECT_TRUE(moves([&] { m.AppendCrossLine(CCrossLine { 1, 50, 50, 0, 0xFF, 1 }); }));
    EXPECT_TRUE(moves([&] { m.AddText(QStringLiteral("note"), 30, 30); }));
    EXPECT_TRUE(moves([&] { m.RemoveAll(); }));
    EXPECT_TRUE(quiet());
    m.SetChangeHook({});
    const uint64_t toldBefore = told;
    m.RemoveAll();
    EXPECT_EQ(told, toldBefore) << "a removed hook is not called";
}

TEST(ShapeManager, ReferenceLengthIsTheSelectedOrNewestLineOrCircle)
{
    CShapeManager m;
    double pixels = 0.0;
    QPoint centre;
    int kind = 0;
    EXPECT_FALSE(m.ReferenceLength(pixels, centre, kind)) << "nothing drawn";
    UseTool(m, AreaTool);
    ClickAll(m, { { 0, 0 }, { 50, 0 }, { 50, 50 } });
    EXPECT_FALSE(m.ReferenceLength(pixels, centre, kind)) << "an area has no length";

    DrawLine(m, { 10, 20 }, { 40, 60 });
    DrawCircle(m, { 160, 150 }, { 150, 160 }, { 140, 150 });
    ASSERT_TRUE(m.ReferenceLength(pixels, centre, kind));
    EXPECT_EQ(kind, KindCircle);
    EXPECT_EQ(pixels, 20.0);
    EXPECT_EQ(centre, QPoint(150, 150));

    // Selected, the older line is the one.
    UseTool(m, SelectMode);
    Click(m, 25, 40);
    ASSERT_TRUE(m.HasSelection());
    QLine ends;
    ASSERT_TRUE(m.ReferenceLength(pixels, centre, kind, &ends));
    EXPECT_EQ(kind, KindLine);
    EXPECT_DOUBLE_EQ(pixels, 50.0);
    EXPECT_EQ(centre, QPoint(25, 40));
    EXPECT_EQ(ends, QLine(10, 20, 40, 60)) << "the ruler is read along these ends";

    // A line still being drawn does not count.
    CShapeManager drawing;
    UseTool(drawing, LineTool);
    drawing.OnLButtonDown(0, 0);
    drawing.OnMouseMove(80, 0);
    EXPECT_FALSE(drawing.ReferenceLength(pixels, centre, kind));
}

TEST(ShapeManager, ConvertedCalibrationIsNoStepAndUndoKeepsTheNewSize)
{
    CShapeManager m;
    const CCalibrationSlot small = Slot(0.02, 0.02);
    m.SetCalibration(small);
    m.ResetHistory();
    DrawLine(m, { 0, 0 }, { 100, 0 });
    ASSERT_TRUE(m.CanUndo());

    // Twice the pixels: every scale the history holds is halved with the one in use.
    const CCalibrationSlot big = Slot(0.01, 0.01);
    m.ConvertCalibration(
            big, [&](const CCalibrationSlot& s) { return SameCalibration(s, small) ? big : s; });
    EXPECT_EQ(m.ResultRows()[0].result, "1.000");
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.ShapeCount(), 0);
    EXPECT_EQ(m.ScaleX(), 0.01) << "undo brought back the old size's scale";
    EXPECT_FALSE(m.CanUndo()) << "the conversion was a step";
    ASSERT_TRUE(m.Redo());
    EXPECT_EQ(m.ScaleX(), 0.01);
    EXPECT_FALSE(m.CanRedo());
}

TEST(ShapeManager, RescaledDrawingKeepsItsRealLengthsAndIsNoStep)
{
    CShapeManager m;
    const CCalibrationSlot small = Slot(0.02, 0.02);
    m.SetCalibration(small);
    m.ResetHistory();
    DrawLine(m, { 10, 20 }, { 110, 20 });
    DrawCircle(m, { 60, 50 }, { 50, 60 }, { 40, 50 });
    m.AppendCrossLine(CCrossLine { 1, 50, 40, 0, 0xFF, 1 });
    const std::vector<CResultRow> before = m.ResultRows();

    // The camera delivers twice the pixels of the same view.
    const CCalibrationSlot big = Slot(0.01, 0.01);
    m.RescaleDrawing(CPictureRescale::Between({ 640, 480 }, { 1280, 960 }));
    m.ConvertCalibration(
            big, [&](const CCalibrationSlot& s) { return SameCalibration(s, small) ? big : s; });
    const std::vector<CResultRow> after = m.ResultRows();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].result, before[i].result) << i;
    EXPECT_EQ(m.ShapeAt(0)->Point(1), QPoint(220, 40));
    auto* circle = static_cast<CCircleShape*>(m.ShapeAt(1));
    EXPECT_EQ(circle->Centre(), QPoint(100, 100));
    EXPECT_EQ(circle->Radius(), 20);
    CCrossLine line;
    ASSERT_TRUE(m.GetCrossLine(0, line));
    EXPECT_EQ(QPoint(line.x, line.y), QPoint(100, 80));

    // Not a step, and the history followed: undo drops the cross line, then the circle,
    // and the line stays where it lies now.
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.CrossLineCount(), 0);
    ASSERT_TRUE(m.Undo());
    ASSERT_EQ(m.ShapeCount(), 1);
    EXPECT_EQ(m.ShapeAt(0)->Point(0), QPoint(20, 40));
    EXPECT_EQ(m.ResultRows()[0].result, before[0].result);
    ASSERT_TRUE(m.Redo());
    EXPECT_EQ(static_cast<CCircleShape*>(m.ShapeAt(1))->Radius(), 20);
}

TEST(PictureRescale, SameViewOtherPixels)
{
    EXPECT_TRUE(CPictureRescale::Between({}, { 640, 480 }).IsIdentity());
    EXPECT_TRUE(CPictureRescale::Between({ 640, 480 }, { 640, 480 }).IsIdentity());
    const CPictureRescale down = CPictureRescale::Between({ 1280, 960 }, { 640, 480 });
    EXPECT_FALSE(down.AspectDiffers());
    EXPECT_EQ(down.Map({ 600, 400 }), QPoint(300, 200));
    EXPECT_EQ(down.MapLength(21), 11);
    // Another shape: scaled by the width about the middle, and said to differ.
    const CPictureRescale wide = CPictureRescale::Between({ 640, 480 }, { 1280, 720 });
    EXPECT_TRUE(wide.AspectDiffers());
    EXPECT_EQ(wide.XFactor(), wide.YFactor());
    EXPECT_EQ(wide.Map({ 320, 240 }), QPoint(640, 360));
    EXPECT_EQ(wide.MapOffset({ 10, 10 }), QPoint(20, 20));
    EXPECT_EQ(wide.Map({ 0, 0 }), QPoint(0, -120));
}

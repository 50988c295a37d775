#include "measure/MeasureShape.h"
#include "measure/ShapeManager.h"
#include "measure/TextLabel.h"

#include "ShapeDrivers.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

CCalibrationSlot Slot(double perPixel, int unit = 1)
{
    CCalibrationSlot slot;
    slot.unit = unit;
    slot.xPerPixel = perPixel;
    slot.yPerPixel = perPixel;
    slot.xLength = 10.0;
    slot.yLength = 10.0;
    slot.left = 100;
    slot.right = 300;
    slot.top = 100;
    slot.bottom = 300;
    return slot;
}

void Describe(const CMeasureShape& shape, QString& out, int depth)
{
    out += QString(depth * 2, QLatin1Char(' '))
            + QStringLiteral("kind %1 id %2:").arg(shape.Kind()).arg(shape.Id());
    for (const QPoint& p : shape.Points())
        out += QStringLiteral(" (%1,%2)").arg(p.x()).arg(p.y());
    if (shape.Kind() == KindTextLabel) {
        const auto& label = static_cast<const CTextLabel&>(shape);
        out += QStringLiteral(" at (%1,%2) \"%3\"")
                       .arg(label.Position().x())
                       .arg(label.Position().y())
                       .arg(label.Text());
    }
    out += QLatin1Char('\n');
    for (int c = 0; c < shape.ChildCount(); ++c)
        Describe(*shape.Child(c), out, depth + 1);
}

// What the user sees: the shapes with their labels as drawn, the results rows, the free
// texts, the cross lines and the scale.
std::string Seen(CShapeManager& m)
{
    QImage canvas(640, 480, QImage::Format_RGB32);
    {
        QPainter painter(&canvas);
        m.DrawAll(painter); // value labels take their texts while drawn
    }
    QString out;
    for (int i = 0; i < m.ShapeCount(); ++i)
        Describe(*m.ShapeAt(i), out, 0);
    for (const CResultRow& row : m.ResultRows())
        out += QStringLiteral("row %1 %2 %3 %4\n")
                       .arg(row.rowId)
                       .arg(row.type, row.result, row.unit);
    out += QStringLiteral("texts: ") + m.Texts().join(QLatin1Char('|')) + QLatin1Char('\n');
    for (const CCrossLine& line : m.CrossLines())
        out += QStringLiteral("cross %1 %2,%3 %4\n")
                       .arg(line.shown)
                       .arg(line.x)
                       .arg(line.y)
                       .arg(line.size);
    const CCalibrationSlot slot = m.GetCalibration();
    out += QStringLiteral("scale %1 %2 %3\n")
                   .arg(slot.xPerPixel)
                   .arg(slot.yPerPixel)
                   .arg(m.UnitText());
    return out.toStdString();
}

// A drawing with one of each kind of finished shape, a text and a cross line.
void DrawEveryKind(CShapeManager& m)
{
    DrawLine(m, { 100, 100 }, { 200, 100 });
    UseTool(m, Angle3Tool);
    ClickAll(m, { { 300, 100 }, { 350, 150 }, { 400, 100 } });
    UseTool(m, Angle4Tool);
    ClickAll(m, { { 10, 300 }, { 60, 300 }, { 10, 350 }, { 60, 400 } });
    DrawCircle(m, { 160, 250 }, { 150, 260 }, { 140, 250 });
    UseTool(m, DistanceTool);
    ClickAll(m,
            { { 260, 350 }, { 250, 360 }, { 240, 350 }, { 360, 350 }, { 350, 360 }, { 340, 350 } });
    UseTool(m, VerticalLinesTool);
    ClickAll(m, { { 400, 200 }, { 600, 200 }, { 450, 240 }, { 500, 260 } });
    m.FinishOpenShapes();
    UseTool(m, AreaTool);
    ClickAll(m, { { 450, 400 }, { 550, 400 }, { 550, 450 } });
    m.OnLButtonDblClk(550, 450);
    UseTool(m, SelectMode);
    m.AddText(QStringLiteral("note"), 20, 20);
    m.AppendCrossLine(CCrossLine());
}

struct Change
{
    const char* name;
    std::function<void(CShapeManager&)> apply;
};

} // namespace

TEST(DrawingHistory, EveryChangeGoesBackAndForth)
{
    const std::vector<Change> changes = {
        { "line drawn",
                [](CShapeManager& m) {
                    DrawLine(m, { 20, 440 }, { 120, 460 });
                } },
        { "circle drawn",
                [](CShapeManager& m) {
                    DrawCircle(m, { 80, 200 }, { 70, 210 }, { 60, 200 });
                } },
        { "three-point angle drawn",
                [](CShapeManager& m) {
                    UseTool(m, Angle3Tool);
                    ClickAll(m, { { 500, 20 }, { 540, 60 }, { 580, 20 } });
                } },
        { "distance drawn",
                [](CShapeManager& m) {
                    UseTool(m, DistanceTool);
                    ClickAll(m,
                            { { 60, 120 }, { 50, 130 }, { 40, 120 }, { 160, 140 }, { 150, 150 },
                                    { 140, 140 } });
                } },
        { "area closed",
                [](CShapeManager& m) {
                    UseTool(m, AreaTool);
                    ClickAll(m, { { 200, 400 }, { 260, 400 }, { 260, 450 }, { 200, 450 } });
                    m.OnLButtonDblClk(200, 450);
                } },
        { "perpendicular added",
                [](CShapeManager& m) {
                    UseTool(m, VerticalLinesTool);
                    ClickAll(m, { { 20, 150 }, { 220, 150 }, { 120, 190 } });
                } },
        { "line end moved",
                [](CShapeManager& m) {
                    UseTool(m, SelectMode);
                    Drag(m, { 200, 100 }, { 240, 130 });
                } },
        { "label moved",
                [](CShapeManager& m) {
                    UseTool(m, SelectMode);
                    Drag(m, { 152, 102 }, { 152, 140 });
                } },
        { "row removed", [](CShapeManager& m) { m.RemoveByRowId(m.ResultRows()[1].rowId); } },
        { "perpendicular row removed",
                [](CShapeManager& m) {
                    for (const CResultRow& row : m.ResultRows()) {
                        if (row.result == QStringLiteral("4.000")) // 40 px at 0.1 mm
                            m.RemoveByRowId(row.rowId);
                    }
                } },
        { "clear",
                [](CShapeManager& m) {
                    const CShapeManager::CStepScope step(m);
                    for (const CResultRow& row : m.ResultRows())
                        m.RemoveByRowId(row.rowId);
                    m.RemoveAll();
                } },
        { "text added", [](CShapeManager& m) { m.AddText(QStringLiteral("more"), 300, 20); } },
        { "text edited", [](CShapeManager& m) { m.SetText(0, QStringLiteral("edited")); } },
        { "text removed", [](CShapeManager& m) { m.DeleteText(0); } },
        { "cross line added",
                [](CShapeManager& m) {
                    m.AppendCrossLine(CCrossLine { 1, 5, 6 });
                } },
        { "cross line changed",
                [](CShapeManager& m) { m.SetCrossLine(0, 0, 50, 60, 1, 0xFF, 9); } },
        { "cross line removed", [](CShapeManager& m) { m.RemoveCrossLine(0); } },
        { "calibration applied", [](CShapeManager& m) { m.SetCalibration(Slot(0.5, 2)); } },
        { "selection nudged",
                [](CShapeManager& m) {
                    UseTool(m, SelectMode);
                    Click(m, 150, 100); // the line's body
                    ASSERT_TRUE(m.MoveSelected(10, -1));
                } },
        { "selection deleted",
                [](CShapeManager& m) {
                    UseTool(m, SelectMode);
                    Click(m, 160, 250); // the circle's centre
                    ASSERT_TRUE(m.RemoveSelected());
                } },
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        CShapeManager m;
        m.SetClientSize({ 640, 480 });
        m.SetCalibration(Slot(0.1));
        DrawEveryKind(m);
        const std::string before = Seen(m);
        change.apply(m);
        const std::string after = Seen(m);
        ASSERT_NE(before, after);

        ASSERT_TRUE(m.Undo());
        EXPECT_EQ(Seen(m), before);
        ASSERT_TRUE(m.Redo());
        EXPECT_EQ(Seen(m), after);
        EXPECT_FALSE(m.CanRedo());
        ASSERT_TRUE(m.Undo());
        EXPECT_EQ(Seen(m), before);
    }
}

TEST(DrawingHistory, ANewSessionHasNothingToUndo)
{
    CShapeManager m;
    EXPECT_FALSE(m.CanUndo());
    EXPECT_FALSE(m.Undo());
    // Start-up hands over the settings: they are where the session begins, not a step.
    m.SetCalibration(Slot(0.1));
    m.SetCrossLines({ CCrossLine() });
    m.ResetHistory();
    EXPECT_FALSE(m.CanUndo());
    EXPECT_FALSE(m.CanRedo());
    EXPECT_EQ(m.CrossLineCount(), 1);
}

TEST(DrawingHistory, WhatChangesNothingMakesNoStep)
{
    CShapeManager m;
    // A slot never calibrated: zero over zero is not a number, and still the same one.
    CCalibrationSlot never;
    never.xPerPixel = std::nan("");
    never.yPerPixel = std::nan("");
    m.SetCalibration(never);
    m.ResetHistory();
    DrawLine(m, { 100, 100 }, { 200, 100 });
    UseTool(m, SelectMode);
    Click(m, 400, 400); // nothing there
    Click(m, 150, 100); // the line, pressed but not moved
    m.SetCalibration(m.GetCalibration());
    m.FinishOpenShapes();
    m.CancelUnfinished();
    DrawLine(m, { 10, 10 }, { 12, 12 }); // too short: gone at the release
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.ShapeCount(), 0);
    EXPECT_FALSE(m.CanUndo());
}

TEST(DrawingHistory, AShapeBeingDrawnIsAbandonedFirst)
{
    CShapeManager m;
    DrawLine(m, { 100, 100 }, { 200, 100 });
    UseTool(m, CircleTool);
    ClickAll(m, { { 60, 50 }, { 50, 60 } });
    ASSERT_EQ(m.ShapeCount(), 2);
    EXPECT_TRUE(m.HasWorkInProgress());

    ASSERT_TRUE(m.Undo());
    ASSERT_EQ(m.ShapeCount(), 1) << "only the half-drawn circle went";
    EXPECT_EQ(m.ShapeAt(0)->Kind(), KindLine);

    // A baseline the tool let go of keeps no undo waiting behind it.
    UseTool(m, VerticalLinesTool);
    ClickAll(m, { { 100, 300 }, { 300, 300 } });
    EXPECT_TRUE(m.HasWorkInProgress());
    m.FinishOpenShapes();
    m.CancelUnfinished();
    EXPECT_FALSE(m.HasWorkInProgress());
    ASSERT_TRUE(m.Undo());
    ASSERT_EQ(m.ShapeCount(), 1);
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.ShapeCount(), 0);
    ASSERT_TRUE(m.Redo());
    ASSERT_TRUE(m.Redo());
    ASSERT_TRUE(m.Undo());

    // Nothing is undone while the button is held: the drag ends first.
    ASSERT_TRUE(m.Redo());
    UseTool(m, SelectMode);
    m.OnLButtonDown(200, 100);
    m.OnMouseMove(250, 100);
    EXPECT_FALSE(m.Undo());
    m.OnLButtonUp(250, 100);
    EXPECT_EQ(m.ShapeAt(0)->Point(1), QPoint(250, 100));
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.ShapeAt(0)->Point(1), QPoint(200, 100));
}

TEST(DrawingHistory, ANewChangeDropsWhatCouldBeRedone)
{
    CShapeManager m;
    DrawLine(m, { 100, 100 }, { 200, 100 });
    DrawLine(m, { 100, 200 }, { 200, 200 });
    ASSERT_TRUE(m.Undo());
    EXPECT_TRUE(m.CanRedo());
    m.AddText(QStringLiteral("t"), 5, 5);
    EXPECT_FALSE(m.CanRedo());
    EXPECT_FALSE(m.Redo());
    ASSERT_TRUE(m.Undo());
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.ShapeCount(), 0);
    EXPECT_EQ(m.TextCount(), 0);
}

TEST(DrawingHistory, KeepsAtLeastAHundredSteps)
{
    CShapeManager m;
    const int steps = CDrawingHistory::kMaxSteps + 20;
    ASSERT_GE(CDrawingHistory::kMaxSteps, 100);
    for (int i = 0; i < steps; ++i)
        m.AddText(QString::number(i), i, i);
    int undone = 0;
    while (m.Undo())
        ++undone;
    EXPECT_EQ(undone, CDrawingHistory::kMaxSteps);
    EXPECT_EQ(m.TextCount(), steps - CDrawingHistory::kMaxSteps) << "the oldest steps go";
    while (m.Redo())
        ;
    EXPECT_EQ(m.TextCount(), steps);
    EXPECT_EQ(m.Texts().back(), QString::number(steps - 1));
}

TEST(DrawingHistory, RunsOfOneChangeAreOneStep)
{
    CShapeManager m;
    DrawLine(m, { 100, 100 }, { 200, 100 });
    m.AppendCrossLine(CCrossLine());
    UseTool(m, SelectMode);
    Click(m, 150, 100);
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(m.MoveSelected(1, 0)); // a held arrow key
    for (int x = 400; x < 420; ++x)
        m.SetCrossLine(0, 1, x, 400, 0, 0x00FF00, 5); // a spin box
    EXPECT_EQ(m.CrossLines()[0].x, 419);

    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.CrossLines()[0].x, 400);
    EXPECT_EQ(m.ShapeAt(0)->Point(0), QPoint(130, 100));
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.ShapeAt(0)->Point(0), QPoint(100, 100));
    EXPECT_TRUE(m.HasSelection()) << "the line is still there and still in hand";

    // Undone, the run is closed: the next nudge is a step of its own.
    ASSERT_TRUE(m.Redo());
    Click(m, 180, 100); // the label, moved with the line
    ASSERT_TRUE(m.MoveSelected(0, 10));
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.ShapeAt(0)->Point(0), QPoint(130, 100));
    ASSERT_TRUE(m.Undo());
    ASSERT_TRUE(m.Undo());
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.ShapeCount(), 0);
    EXPECT_FALSE(m.HasSelection()) << "an undone shape leaves nothing in hand";
}

TEST(DrawingHistory, SelectionDeletesAndMovesWhatWasPressed)
{
    CShapeManager m;
    m.SetCalibration(Slot(1.0));
    UseTool(m, VerticalLinesTool);
    ClickAll(m, { { 100, 100 }, { 300, 100 }, { 150, 140 }, { 200, 160 } });
    m.FinishOpenShapes();
    m.AddText(QStringLiteral("free"), 400, 400);
    UseTool(m, SelectMode);
    EXPECT_FALSE(m.HasSelection());
    EXPECT_FALSE(m.RemoveSelected());

    // One perpendicular of two goes alone.
    Click(m, 150, 140);
    ASSERT_TRUE(m.HasSelection());
    ASSERT_TRUE(m.RemoveSelected());
    ASSERT_EQ(m.ShapeCount(), 1);
    EXPECT_EQ(m.ShapeAt(0)->ChildCount(), 1);
    EXPECT_FALSE(m.HasSelection());

    // The free text moves by picture pixels, whatever the zoom.
    m.SetZoom(2.0f);
    Click(m, 802, 802);
    ASSERT_TRUE(m.MoveSelected(-10, 1));
    EXPECT_EQ(Seen(m).find("texts: free") != std::string::npos, true);
    Click(m, 782, 804);
    ASSERT_TRUE(m.RemoveSelected());
    EXPECT_EQ(m.TextCount(), 0);

    // A press elsewhere lets go.
    m.SetZoom(1.0f);
    Click(m, 300, 100);
    EXPECT_TRUE(m.HasSelection());
    Click(m, 600, 600);
    EXPECT_FALSE(m.HasSelection());
    EXPECT_FALSE(m.MoveSelected(1, 1));
}

TEST(DrawingHistory, UndoingACalibrationTellsTheListener)
{
    CShapeManager m;
    m.SetCalibration(Slot(0.1));
    m.ResetHistory();
    std::vector<double> told;
    m.SetCalibrationRestoredHook(
            [&](const CCalibrationSlot& now, const CCalibrationSlot& replaced) {
                told.push_back(now.xPerPixel);
                told.push_back(replaced.xPerPixel);
                EXPECT_EQ(m.ScaleX(), now.xPerPixel) << "told with the lock given up";
            });
    DrawLine(m, { 100, 100 }, { 200, 100 });
    m.SetCalibration(Slot(0.5));
    EXPECT_EQ(m.ResultRows()[0].result, QStringLiteral("50.000"));
    ASSERT_TRUE(m.Undo());
    EXPECT_EQ(m.ResultRows()[0].result, QStringLiteral("10.000"));
    ASSERT_TRUE(m.Undo()); // the line: the calibration stays, nobody is told
    ASSERT_TRUE(m.Redo());
    ASSERT_TRUE(m.Redo());
    EXPECT_EQ(told, (std::vector<double> { 0.1, 0.5, 0.5, 0.1 }));
}

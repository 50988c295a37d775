// The dialog and the results list against the real shape manager and its reference.
#include "calibration/CalibrationDlg.h"
#include "calibration/CalibrationTable.h"
#include "measure/ResultCsv.h"
#include "measure/ResultListCtrl.h"
#include "measure/ShapeManager.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
void Click(CShapeManager& m, int x, int y)
{
    m.OnLButtonDown(x, y);
    m.OnLButtonUp(x, y);
}

void Drag(CShapeManager& m, QPoint from, QPoint to)
{
    m.OnLButtonDown(from.x(), from.y());
    m.OnMouseMove(to.x(), to.y());
    m.OnLButtonUp(to.x(), to.y());
}

CCalibrationDlg::CHooks EngineHooks(CShapeManager& m)
{
    CCalibrationDlg::CHooks h;
    h.applyCalibration = [&m](const CCalibrationSlot& s) { m.SetCalibration(s); };
    h.enableCalibrationMode = [&m](bool on) { m.EnableCalibrationRuler(on); };
    h.repaintCanvas = [] {};
    h.cancelTool = [&m] {
        m.SetToolMode(SelectMode);
        m.CancelUnfinished();
    };
    return h;
}

CResultListCtrl::CHooks ListHooks(CShapeManager& m)
{
    CResultListCtrl::CHooks h;
    h.resultRows = [&m] { return m.ResultRows(); };
    h.removeByRowId = [&m](uint32_t id) { m.RemoveByRowId(id); };
    h.removeAll = [&m] { m.RemoveAll(); };
    h.highlightByRowId = [&m](uint32_t id, bool on) { m.HighlightByRowId(id, on); };
    h.cancelTool = [&m] {
        m.SetToolMode(SelectMode);
        m.CancelUnfinished();
    };
    h.invalidateCanvas = [] {};
    return h;
}

// Ticks of one millisecond apart so shapes of separate clicks get separate ids.
void NextEvent()
{
    QTest::qWait(2);
}
} // namespace

TEST(CalibrationWithEngine, DraggingTheLeftEndWidensAboutTheCentre)
{
    CShapeManager m;
    CCalibrationTable table;
    CCalibrationDlg dlg(table, EngineHooks(m));
    m.SetCalibrationMovedHook([&] { dlg.OnCalibrationMoved(m.GetCalibration()); });
    dlg.ShowCalibration();
    QTest::mouseClick(dlg.findChild<QPushButton*>("btnReset"), Qt::LeftButton);
    ASSERT_TRUE(m.CalibrationRulerEnabled());

    // Left end at (100, mid-Y 200), 10 pixels to the left.
    Drag(m, { 100, 200 }, { 90, 200 });
    const CCalibrationSlot engine = m.GetCalibration();
    EXPECT_EQ(engine.left, 90u);
    EXPECT_EQ(engine.right, 310u);
    EXPECT_EQ((engine.left + engine.right + 1) / 2, 200u);
    EXPECT_DOUBLE_EQ(engine.xPerPixel, 400.0 / 220.0);
    // The slot in use got the new rectangle with the scale of the step before.
    const CCalibrationSlot stored = table.GetCurSlot();
    EXPECT_EQ(stored.left, 90u);
    EXPECT_EQ(stored.right, 310u);
    EXPECT_DOUBLE_EQ(stored.xPerPixel, 2.0);

    QTest::mouseClick(dlg.findChild<QPushButton*>("btnOk"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(table.GetCurSlot().xPerPixel, 400.0 / 220.0);
    EXPECT_FALSE(m.CalibrationRulerEnabled());
}

TEST(CalibrationWithEngine, UnitChangeRelabelsEveryRow)
{
    CShapeManager m;
    CCalibrationTable table;
    CCalibrationDlg dlg(table, EngineHooks(m));
    CResultListCtrl list;
    list.SetHooks(ListHooks(m));

    // An empty slot measures in pixels.
    m.SetToolMode(2);
    Drag(m, { 0, 0 }, { 30, 40 });
    list.Refill();
    ASSERT_EQ(list.topLevelItemCount(), 1);
    EXPECT_EQ(list.topLevelItem(0)->text(2), "50.000");
    EXPECT_EQ(list.topLevelItem(0)->text(3), "px");

    QTest::mouseClick(dlg.findChild<QPushButton*>("btnReset"), Qt::LeftButton);
    dlg.findChild<QComboBox*>("unitCombo")->setCurrentIndex(1);
    NextEvent();
    m.SetToolMode(6);
    Click(m, 0, 0);
    NextEvent();
    Click(m, 10, 0);
    NextEvent();
    Click(m, 10, 10);
    NextEvent();
    m.OnLButtonDown(0, 10);
    m.OnLButtonUp(0, 10);
    m.OnLButtonDblClk(0, 10);
    m.OnLButtonUp(0, 10);
    list.Refill();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.topLevelItem(0)->text(2), "100.000"); // 50 px at 2.0 mm per pixel
    EXPECT_EQ(list.topLevelItem(0)->text(3), "mm");
    EXPECT_EQ(list.topLevelItem(1)->text(1), "acreage");
    EXPECT_EQ(list.topLevelItem(1)->text(2), "400.0000");
    EXPECT_EQ(list.topLevelItem(1)->text(3), "mm^2");
}

TEST(ResultsWithEngine, ClearTakesTheSelectedShapeOrPerpendicular)
{
    CShapeManager m;
    CCalibrationSlot one;
    one.unit = 1;
    one.xPerPixel = one.yPerPixel = 1.0;
    m.SetCalibration(one);
    CResultListCtrl list;
    list.SetHooks(ListHooks(m));
    bool asked = false;
    list.SetQuestionSink([&](const QString&, const QString&) {
        asked = true;
        return false;
    });

    m.SetToolMode(2);
    Drag(m, { 0, 0 }, { 100, 0 });
    NextEvent();
    Drag(m, { 0, 50 }, { 0, 150 });
    NextEvent();
    m.SetToolMode(11);
    Click(m, 100, 300);
    NextEvent();
    Click(m, 300, 300);
    NextEvent();
    Click(m, 150, 340);
    NextEvent();
    Click(m, 200, 360);
    NextEvent();
    m.FinishVerticalLines();
    list.Refill();
    ASSERT_EQ(list.topLevelItemCount(), 4);
    ASSERT_EQ(m.ShapeCount(), 3);

    list.OnClear(); // nothing selected, answer No
    EXPECT_TRUE(asked);
    EXPECT_EQ(m.ShapeCount(), 3);
    EXPECT_EQ(list.topLevelItemCount(), 4);

    list.topLevelItem(0)->setSelected(true); // the first line only
    list.OnClear();
    EXPECT_EQ(m.ShapeCount(), 2);
    ASSERT_EQ(list.topLevelItemCount(), 3);
    EXPECT_EQ(list.topLevelItem(0)->text(2), "100.000");

    list.topLevelItem(1)->setSelected(true); // one perpendicular of two
    list.OnClear();
    EXPECT_EQ(m.ShapeCount(), 2);
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(list.topLevelItem(1)->text(2), "60.000");

    list.topLevelItem(1)->setSelected(true); // the last perpendicular takes its baseline
    list.OnClear();
    EXPECT_EQ(m.ShapeCount(), 1);
    EXPECT_EQ(list.topLevelItemCount(), 1);

    const QByteArray csv = CResultCsv::Format(list.Cells());
    EXPECT_EQ(csv, QByteArray("No.,Type,Result,Unit\n1,length,100.000,mm\n"));
}

// Both circles of a distance show their diameters on the picture, so they get rows too,
// after the distance and its direction.
TEST(ResultsWithEngine, DistanceListsItsCircleDiameters)
{
    CShapeManager m;
    CCalibrationSlot one;
    one.unit = 1;
    one.xPerPixel = one.yPerPixel = 1.0;
    m.SetCalibration(one);
    m.SetToolMode(9);
    const QPoint pts[] = { { 60, 50 }, { 50, 60 }, { 40, 50 }, { 220, 50 }, { 200, 70 },
        { 180, 50 } };
    for (QPoint p : pts) {
        m.OnLButtonDown(p.x(), p.y());
        m.OnLButtonUp(p.x(), p.y());
        QTest::qWait(2);
    }
    CResultListCtrl list;
    CResultListCtrl::CHooks h;
    h.resultRows = [&m] { return m.ResultRows(); };
    h.removeByRowId = [&m](uint32_t id) { m.RemoveByRowId(id); };
    list.SetHooks(h);
    list.Refill();
    ASSERT_EQ(list.topLevelItemCount(), 4);
    EXPECT_EQ(list.topLevelItem(0)->text(1), "distance");
    EXPECT_EQ(list.topLevelItem(0)->text(2), "150.000");
    EXPECT_EQ(list.topLevelItem(1)->text(1), "degree");
    EXPECT_EQ(list.topLevelItem(2)->text(1), "diameter");
    EXPECT_EQ(list.topLevelItem(2)->text(2), "20.000");
    EXPECT_EQ(list.topLevelItem(3)->text(2), "40.000");
    list.topLevelItem(2)->setSelected(true); // circle A's row reaches the whole distance
    list.OnClear();
    EXPECT_EQ(m.ShapeCount(), 0);
}

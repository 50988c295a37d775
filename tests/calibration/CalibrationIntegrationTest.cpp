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
#include "RecordingMessages.h"
#include "ShapeDrivers.h"

#include <gtest/gtest.h>

namespace {
CCalibrationDlg::CHooks EngineHooks(CShapeManager& m)
{
    CCalibrationDlg::CHooks h;
    h.applyCalibration = [&m](const CCalibrationSlot& s) { m.SetCalibration(s); };
    h.enableCalibrationMode = [&m](bool on) { m.EnableCalibrationRuler(on); };
    h.repaintCanvas = [] {};
    h.cancelTool = [&m] {
        UseTool(m, SelectMode);
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
        UseTool(m, SelectMode);
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
    // The slot in use got the new rectangle with the scale it gives.
    const CCalibrationSlot stored = table.GetCurSlot();
    EXPECT_EQ(stored.left, 90u);
    EXPECT_EQ(stored.right, 310u);
    EXPECT_DOUBLE_EQ(stored.xPerPixel, 400.0 / 220.0);

    QTest::mouseClick(dlg.findChild<QPushButton*>("btnOk"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(table.GetCurSlot().xPerPixel, 400.0 / 220.0);
    EXPECT_FALSE(m.CalibrationRulerEnabled());
}

// A first start: no settings file, every slot all zeros.
TEST(CalibrationWithEngine, FirstOpenPlacesTheReferenceInTheMiddleOfThePicture)
{
    struct View
    {
        QSize client;
        float zoom;
    };
    // A 640 x 480 picture at "X 1", and the same picture fitted into half the size.
    for (const View view : { View { { 640, 480 }, 1.0f }, View { { 320, 240 }, 0.5f } }) {
        CShapeManager m;
        m.SetClientSize(view.client);
        m.SetZoom(view.zoom);
        CCalibrationTable table;
        CCalibrationDlg dlg(table, EngineHooks(m));
        m.SetCalibrationMovedHook([&] { dlg.OnCalibrationMoved(m.GetCalibration()); });
        dlg.ShowCalibration();

        const CCalibrationSlot engine = m.GetCalibration();
        EXPECT_EQ(engine.left, 220u);
        EXPECT_EQ(engine.right, 420u);
        EXPECT_EQ(engine.top, 140u);
        EXPECT_EQ(engine.bottom, 340u);
        const CCalibrationSlot stored = table.GetCurSlot();
        EXPECT_EQ(QRect(QPoint(stored.left, stored.top), QPoint(stored.right, stored.bottom)),
                QRect(QPoint(220, 140), QPoint(420, 340)))
                << "the slot in use holds the reference the picture shows";

        // Its centre handle sits in the middle of the window and takes the mouse.
        UseTool(m, SelectMode);
        const QPoint centre(view.client.width() / 2, view.client.height() / 2);
        Drag(m, centre, centre + QPoint(5, 5));
        const int moved = static_cast<int>(5 / view.zoom);
        EXPECT_EQ(m.GetCalibration().left, static_cast<uint32_t>(220 + moved));
        EXPECT_EQ(m.GetCalibration().top, static_cast<uint32_t>(140 + moved));

        // Typing the known length calibrates against that reference.
        auto* x = dlg.findChild<QLineEdit*>("editX");
        x->selectAll();
        QTest::keyClicks(x, "1000");
        EXPECT_DOUBLE_EQ(table.GetCurSlot().xPerPixel, 5.0);
    }
}

TEST(CalibrationWithEngine, StatusShowsTheScaleOfEveryDragStep)
{
    CShapeManager m;
    CCalibrationTable table;
    CCalibrationDlg dlg(table, EngineHooks(m));
    m.SetCalibrationMovedHook([&] { dlg.OnCalibrationMoved(m.GetCalibration()); });
    CResultListCtrl list;
    list.SetHooks(ListHooks(m));
    dlg.ShowCalibration();
    QTest::mouseClick(dlg.findChild<QPushButton*>("btnReset"), Qt::LeftButton);
    UseTool(m, 2);
    Drag(m, { 0, 400 }, { 100, 400 }); // a line 100 pixels long
    NextEvent();
    UseTool(m, SelectMode);
    const auto* status = dlg.findChild<QLineEdit*>("scaleStatus");

    // Right end at (300, mid-Y 200), pulled out step by step.
    m.OnLButtonDown(300, 200);
    for (int x = 305; x <= 320; x += 5) {
        m.OnMouseMove(x, 200);
        const CCalibrationSlot engine = m.GetCalibration();
        EXPECT_DOUBLE_EQ(engine.xPerPixel, 400.0 / (2 * (x - 200)));
        EXPECT_EQ(status->text(), CCalibrationDlg::ScaleText(engine, engine.unit))
                << "after the step to " << x;
        // The line's label measures with the same scale.
        list.Refill();
        ASSERT_EQ(list.topLevelItemCount(), 1);
        EXPECT_EQ(list.topLevelItem(0)->text(2), QString::number(100 * engine.xPerPixel, 'f', 3));
    }
    m.OnLButtonUp(320, 200);
    EXPECT_DOUBLE_EQ(table.GetCurSlot().xPerPixel, 400.0 / 240.0);
}

TEST(CalibrationWithEngine, UnitChangeRelabelsEveryRow)
{
    CShapeManager m;
    CCalibrationTable table;
    CCalibrationDlg dlg(table, EngineHooks(m));
    CResultListCtrl list;
    list.SetHooks(ListHooks(m));

    // An empty slot measures in pixels.
    UseTool(m, 2);
    Drag(m, { 0, 0 }, { 30, 40 });
    list.Refill();
    ASSERT_EQ(list.topLevelItemCount(), 1);
    EXPECT_EQ(list.topLevelItem(0)->text(2), "50.000");
    EXPECT_EQ(list.topLevelItem(0)->text(3), "px");

    QTest::mouseClick(dlg.findChild<QPushButton*>("btnReset"), Qt::LeftButton);
    dlg.findChild<QComboBox*>("unitCombo")->setCurrentIndex(1);
    NextEvent();
    UseTool(m, 6);
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
    CRecordingMessages asked; // answers no

    UseTool(m, 2);
    Drag(m, { 0, 0 }, { 100, 0 });
    NextEvent();
    Drag(m, { 0, 50 }, { 0, 150 });
    NextEvent();
    UseTool(m, 11);
    Click(m, 100, 300);
    NextEvent();
    Click(m, 300, 300);
    NextEvent();
    Click(m, 150, 340);
    NextEvent();
    Click(m, 200, 360);
    NextEvent();
    m.FinishOpenShapes();
    list.Refill();
    ASSERT_EQ(list.topLevelItemCount(), 4);
    ASSERT_EQ(m.ShapeCount(), 3);

    list.OnClear(); // nothing selected, answer No
    EXPECT_EQ(asked.Texts(CRecordingMessages::Kind::Ask).size(), 1);
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
    UseTool(m, 9);
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

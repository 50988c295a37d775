#include "base/FrameLayout.h"
#include "base/ToolModes.h"
#include "calibration/CalibrationDlg.h"
#include "calibration/CalibrationTable.h"
#include "calibration/CircleDetector.h"
#include "calibration/SetScaleDlg.h"
#include "RecordingMessages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {
// Stands in for the measurement engine and the main window.
struct CFakeEngine
{
    std::vector<CCalibrationSlot> applied;
    std::vector<bool> modes;
    int repaints = 0;
    int toolCancels = 0;
    bool frameOk = false;
    CCalibrationDlg::CFrame frame;

    CCalibrationDlg::CHooks Hooks()
    {
        CCalibrationDlg::CHooks h;
        h.applyCalibration = [this](const CCalibrationSlot& s) { applied.push_back(s); };
        h.enableCalibrationMode = [this](bool on) { modes.push_back(on); };
        h.repaintCanvas = [this] { ++repaints; };
        h.cancelTool = [this] { ++toolCancels; };
        h.captureFrame = [this](CCalibrationDlg::CFrame& f) {
            f = frame;
            return frameOk;
        };
        return h;
    }
};

class CalibrationDlgTest : public ::testing::Test
{
protected:
    void SetUp() override { dlg = std::make_unique<CCalibrationDlg>(table, engine.Hooks()); }
    template <typename T> T* Child(const char* name) { return dlg->findChild<T*>(name); }
    void Click(const char* name) { QTest::mouseClick(Child<QPushButton>(name), Qt::LeftButton); }
    void Type(const char* edit, const QString& text)
    {
        QLineEdit* e = Child<QLineEdit>(edit);
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    QString Status() { return Child<QLineEdit>("scaleStatus")->text(); }

    CCalibrationTable table;
    CFakeEngine engine;
    std::unique_ptr<CCalibrationDlg> dlg;
    CRecordingMessages recorder;
    QStringList Messages() const { return recorder.Texts(); }
};
} // namespace

TEST_F(CalibrationDlgTest, StartsHiddenWithItsControls)
{
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(dlg->isModal());
    EXPECT_EQ(dlg->windowTitle(), "Calibration ");
    EXPECT_EQ(Child<QComboBox>("slotCombo")->itemText(9), "Calibration 9");
    EXPECT_EQ(Child<QComboBox>("unitCombo")->count(), 4);
    auto* sizes = Child<QComboBox>("autoSizeCombo");
    EXPECT_EQ(sizes->itemText(9), "5.0mm");

    dlg->ShowCalibration();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(engine.toolCancels, 1);
    ASSERT_FALSE(engine.modes.empty());
    EXPECT_TRUE(engine.modes.back());
    // The automatic calibration stays out of sight even with the dialog shown.
    EXPECT_FALSE(Child<QPushButton>("btnAuto")->isVisible());
    EXPECT_FALSE(sizes->isVisible());
}

TEST_F(CalibrationDlgTest, InitialisationAppliesTheSlotInUse)
{
    CCalibrationTable loaded;
    CCalibrationSlot s;
    s.unit = 2;
    s.xLength = 12.5;
    s.yLength = 3;
    s.right = 50;
    s.bottom = 30;
    s.ApplyScaleRule();
    loaded.SetSlot(4, s);
    loaded.SetCurrentIndex(4);
    CFakeEngine fake;
    CCalibrationDlg d(loaded, fake.Hooks());
    EXPECT_EQ(d.findChild<QComboBox*>("slotCombo")->currentIndex(), 4);
    EXPECT_EQ(d.findChild<QComboBox*>("unitCombo")->currentText(), "cm");
    EXPECT_EQ(d.findChild<QLineEdit*>("editX")->text(), "12.5");
    EXPECT_EQ(d.findChild<QLineEdit*>("editY")->text(), "3");
    EXPECT_EQ(
            d.findChild<QLineEdit*>("scaleStatus")->text(), "X: 0.2500cm/pixel  Y: 0.1000cm/pixel");
    ASSERT_EQ(fake.applied.size(), 1u);
    EXPECT_EQ(fake.applied.back(), s);
}

TEST_F(CalibrationDlgTest, ResetGivesTwoMicronsPerPixel)
{
    Click("btnReset");
    const CCalibrationSlot s = table.GetCurSlot();
    EXPECT_EQ(s.unit, 0);
    EXPECT_DOUBLE_EQ(s.xPerPixel, 2.0);
    EXPECT_DOUBLE_EQ(s.yPerPixel, 2.0);
    EXPECT_EQ(s.left, 100u);
    EXPECT_EQ(s.top, 100u);
    EXPECT_EQ(s.right, 300u);
    EXPECT_EQ(s.bottom, 300u);
    EXPECT_EQ(engine.applied.back(), s);
    EXPECT_EQ(Status(), "X: 2.0000um/pixel  Y: 2.0000um/pixel");
    EXPECT_EQ(Child<QLineEdit>("editX")->text(), "400");
    EXPECT_EQ(Child<QLineEdit>("editY")->text(), "400");
}

TEST_F(CalibrationDlgTest, UnitRelabelsWithoutConverting)
{
    Click("btnReset");
    QSignalSpy applied(dlg.get(), &CCalibrationDlg::calibrationApplied);
    Child<QComboBox>("unitCombo")->setCurrentIndex(1);
    EXPECT_EQ(applied.count(), 1); // the results list is rebuilt in the new unit
    const CCalibrationSlot s = table.GetCurSlot();
    EXPECT_EQ(s.unit, 1);
    EXPECT_DOUBLE_EQ(s.xPerPixel, 2.0);
    EXPECT_DOUBLE_EQ(s.yPerPixel, 2.0);
    EXPECT_EQ(engine.applied.back().unit, 1);
    EXPECT_EQ(Status(), "X: 2.0000mm/pixel  Y: 2.0000mm/pixel");
}

TEST_F(CalibrationDlgTest, TypingXRecomputesOnlyX)
{
    Click("btnReset");
    Type("editX", "1000");
    CCalibrationSlot s = table.GetCurSlot();
    EXPECT_DOUBLE_EQ(s.xLength, 1000.0);
    EXPECT_DOUBLE_EQ(s.xPerPixel, 5.0);
    EXPECT_DOUBLE_EQ(s.yPerPixel, 2.0);
    EXPECT_EQ(engine.applied.back(), s);
    EXPECT_EQ(Status(), "X: 5.0000um/pixel  Y: 2.0000um/pixel");
    EXPECT_EQ(Child<QLineEdit>("editX")->text(), "1000"); // the typed text stays as typed

    Type("editY", "100");
    s = table.GetCurSlot();
    EXPECT_DOUBLE_EQ(s.yPerPixel, 0.5);
    EXPECT_DOUBLE_EQ(s.xPerPixel, 5.0);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(CalibrationDlgTest, CancelRestoresTheTableAsOpened)
{
    // Slot 2 named and made at 640 X 480; the picture is 1280 X 960 now.
    table.SetCaptureSize({ 640, 480 });
    CCalibrationSlot two;
    two.unit = 1;
    two.xLength = two.yLength = 2;
    two.right = two.bottom = 200;
    two.ApplyScaleRule();
    table.SetSlot(2, two);
    table.SetSlotName(2, "10x");
    table.SetCaptureSize({ 1280, 960 });
    Child<QComboBox>("slotCombo")->setCurrentIndex(2);
    const CCalibrationSlot shown = table.GetCurSlot();

    dlg->ShowCalibration();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    Type("editName", "20x");
    Type("editY", "8");
    EXPECT_EQ(table.MadeAt(2), QSize(1280, 960)) << "the edit is in use while open";
    Child<QComboBox>("slotCombo")->setCurrentIndex(5);
    Click("btnReset");
    Child<QLineEdit>("editX")->setFocus();
    Type("editX", "abc");
    engine.applied.clear();
    Click("btnCancel"); // takes the focus from the field first
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
    EXPECT_FALSE(engine.modes.back());
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(table.StoredSlot(2), two);
    EXPECT_EQ(table.SlotName(2), "10x");
    EXPECT_EQ(table.MadeAt(2), QSize(640, 480));
    EXPECT_FALSE(table.StoredSlot(5).HasUsableScale());
    ASSERT_FALSE(engine.applied.empty());
    EXPECT_EQ(engine.applied.back(), shown);
    EXPECT_EQ(Child<QComboBox>("slotCombo")->currentIndex(), 2);
    EXPECT_EQ(Child<QComboBox>("slotCombo")->itemText(2), "Calibration 2: 10x");
    EXPECT_EQ(Child<QLineEdit>("editY")->text(), "2");

    // The close box behaves as Cancel; OK keeps the edit for the next Cancel.
    dlg->ShowCalibration();
    EXPECT_TRUE(engine.modes.back());
    Type("editX", "4");
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(engine.modes.back());
    EXPECT_EQ(table.StoredSlot(2), two);
    dlg->ShowCalibration();
    Type("editX", "4");
    Click("btnOk");
    dlg->ShowCalibration();
    Click("btnCancel");
    EXPECT_DOUBLE_EQ(table.GetCurSlot().xLength, 4.0);
}

TEST_F(CalibrationDlgTest, ChoosingASlotUsesItAtOnce)
{
    CCalibrationSlot three;
    three.unit = 3;
    three.xLength = 1;
    three.yLength = 1;
    three.right = 10;
    three.bottom = 20;
    three.ApplyScaleRule();
    table.SetSlot(3, three);

    Child<QComboBox>("slotCombo")->setCurrentIndex(3);
    EXPECT_EQ(table.CurrentIndex(), 3);
    EXPECT_EQ(engine.applied.back(), three);
    EXPECT_EQ(Child<QComboBox>("unitCombo")->currentText(), "inch");
    EXPECT_EQ(Status(), "X: 0.1000inch/pixel  Y: 0.0500inch/pixel");

    Click("btnReset"); // resets slot 3, not slot 0
    EXPECT_DOUBLE_EQ(table.GetSlot(3).xPerPixel, 2.0);
    EXPECT_DOUBLE_EQ(table.GetSlot(0).xLength, 0.0);
}

TEST_F(CalibrationDlgTest, EmptySlotMeasuresInPixels)
{
    const CCalibrationSlot empty = table.GetCurSlot();
    EXPECT_FALSE(empty.HasUsableScale());
    EXPECT_EQ(empty.EffectiveUnitName(), "px");
    EXPECT_DOUBLE_EQ(empty.EffectiveXPerPixel(), 1.0);
    EXPECT_EQ(Status(), "X: 1.0000px/pixel  Y: 1.0000px/pixel");

    // A length over a bar of no extent is infinite: still pixels, never "inf" or "nan".
    Type("editX", "400");
    EXPECT_EQ(Status(), "X: 1.0000px/pixel  Y: 1.0000px/pixel");
    Click("btnReset");
    EXPECT_EQ(table.GetCurSlot().EffectiveUnitName(), "um");
}

TEST_F(CalibrationDlgTest, NonNumericEntryIsRefused)
{
    dlg->ShowCalibration();
    Click("btnReset");
    const CCalibrationSlot before = table.GetCurSlot();
    Type("editX", "abc");
    EXPECT_EQ(table.GetCurSlot(), before);
    Click("btnOk");
    EXPECT_EQ(Messages(), QStringList { "Please enter a number." });
    EXPECT_TRUE(dlg->isVisible()); // OK does not close on a bad number
    EXPECT_EQ(table.GetCurSlot(), before);

    double v = 0.0;
    EXPECT_FALSE(CCalibrationDlg::ParseLength("inf", v));
    EXPECT_FALSE(CCalibrationDlg::ParseLength("", v));
    EXPECT_TRUE(CCalibrationDlg::ParseLength(" 1e3 ", v));
    EXPECT_DOUBLE_EQ(v, 1000.0);

    Type("editX", "600");
    Click("btnOk");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_DOUBLE_EQ(table.GetCurSlot().xPerPixel, 3.0);
}

TEST_F(CalibrationDlgTest, AutoCalibrationMessages)
{
    dlg->OnAuto();
    EXPECT_EQ(Messages(), QStringList { "Unit must be set mm!" });

    Child<QComboBox>("unitCombo")->setCurrentIndex(1);
    dlg->OnAuto(); // no frame
    EXPECT_EQ(Messages().last(), "It does not calibrate automatically with the previewing image.");

    // A white disc 100 pixels across, nominal 1.0 mm (third size).
    const int w = 400, h = 300, stride = FrameStride(w);
    engine.frame.width = w;
    engine.frame.height = h;
    engine.frame.bits.assign(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double dx = x + 0.5 - 200, dy = y + 0.5 - 150;
            if (dx * dx + dy * dy <= 2500.0)
                for (int c = 0; c < 3; ++c)
                    engine.frame.bits[static_cast<size_t>(y) * stride + 3 * x + c] = 255;
        }
    engine.frameOk = true;
    Child<QComboBox>("autoSizeCombo")->setCurrentIndex(2);
    EXPECT_EQ(Child<QLineEdit>("editX")->text(), "1");
    recorder.Clear();
    dlg->OnAuto();
    EXPECT_TRUE(Messages().isEmpty());
    const CCalibrationSlot s = table.GetCurSlot();
    EXPECT_EQ(s.unit, 1);
    EXPECT_DOUBLE_EQ(s.xLength, 1.0);
    EXPECT_NEAR(s.xPerPixel, 0.01, 0.0002);
    EXPECT_EQ(engine.applied.back(), s);
}

TEST_F(CalibrationDlgTest, NamingASlotShowsInTheComboAndTheTable)
{
    QSignalSpy renamed(dlg.get(), &CCalibrationDlg::slotRenamed);
    Child<QComboBox>("slotCombo")->setCurrentIndex(4);
    Type("editName", "10x objective");
    EXPECT_EQ(table.SlotName(4), "10x objective");
    EXPECT_EQ(Child<QComboBox>("slotCombo")->itemText(4), "Calibration 4: 10x objective");
    EXPECT_FALSE(renamed.isEmpty());
    // Another slot shows its own (empty) name, and the first keeps its own.
    Child<QComboBox>("slotCombo")->setCurrentIndex(5);
    EXPECT_TRUE(Child<QLineEdit>("editName")->text().isEmpty());
    Child<QComboBox>("slotCombo")->setCurrentIndex(4);
    EXPECT_EQ(Child<QLineEdit>("editName")->text(), "10x objective");
}

TEST_F(CalibrationDlgTest, FromLineSetsTheSelectedSlotFromAKnownLength)
{
    bool haveLine = false;
    CCalibrationDlg::CHooks hooks = engine.Hooks();
    hooks.referenceLength = [&](double& pixels, QPoint& centre, int& kind) {
        pixels = 250.0;
        centre = QPoint(320, 240);
        kind = KindCircle;
        return haveLine;
    };
    dlg = std::make_unique<CCalibrationDlg>(table, hooks);
    table.SetCaptureSize({ 640, 480 });
    double askedPixels = 0.0;
    bool askedCircle = false;
    bool answer = true;
    dlg->SetLengthAsker([&](double pixels, bool circle, double& length, int& unit) {
        askedPixels = pixels;
        askedCircle = circle;
        length = 0.5;
        unit = 1;
        return answer;
    });
    Child<QComboBox>("slotCombo")->setCurrentIndex(2);

    Click("btnFromLine");
    ASSERT_EQ(Messages().size(), 1) << "nothing drawn yet";
    EXPECT_EQ(askedPixels, 0.0);

    haveLine = true;
    answer = false; // cancelled: nothing changes
    const CCalibrationSlot before = table.GetSlot(2);
    Click("btnFromLine");
    EXPECT_TRUE(table.GetSlot(2) == before || std::isnan(before.xPerPixel));
    EXPECT_FALSE(table.MadeAt(2).isValid());

    answer = true;
    Click("btnFromLine");
    EXPECT_EQ(askedPixels, 250.0);
    EXPECT_TRUE(askedCircle);
    const CCalibrationSlot slot = table.GetSlot(2);
    EXPECT_DOUBLE_EQ(slot.xPerPixel, 0.002);
    EXPECT_DOUBLE_EQ(slot.yPerPixel, 0.002);
    EXPECT_EQ(slot.unit, 1);
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(table.MadeAt(2), QSize(640, 480));
    ASSERT_FALSE(engine.applied.empty());
    EXPECT_DOUBLE_EQ(engine.applied.back().xPerPixel, 0.002);
    EXPECT_EQ(Child<QComboBox>("unitCombo")->currentText(), "mm");
    EXPECT_EQ(Status(), "X: 0.0020mm/pixel  Y: 0.0020mm/pixel");
    EXPECT_EQ(Child<QLabel>("madeAt")->text(), "Made at 640 X 480.");
    EXPECT_EQ(Messages().size(), 1);
}

TEST(SetScaleDlg, KnownLengthsAreFiniteAndWithinRange)
{
    struct Case
    {
        const char* text;
        const char* problem; // empty: taken
    };
    const QString range = "Enter a length from 1e-9 to 1e9 mm.";
    for (const Case& c : { Case { "2", "" }, Case { "1e-9", "" }, Case { "1e9", "" },
                 Case { "1e300", "range" }, Case { "1e400", "range" }, Case { "1e-400", "range" },
                 Case { "1e-10", "range" }, Case { "0", "Enter a length greater than 0." },
                 Case { "-1e400", "Enter a length greater than 0." },
                 Case { "inf", "Enter a number, for example 0.5." },
                 Case { "abc", "Enter a number, for example 0.5." } }) {
        double length = 0.0;
        const QString problem = CSetScaleDlg::Problem(c.text, "mm", length);
        const QString expected = QString(c.problem) == "range" ? range : QString(c.problem);
        EXPECT_EQ(problem, expected) << c.text;
    }
    // The dialog stays open with the reason, and the slot refuses what slipped past it.
    CSetScaleDlg dialog(100.0, false, 1);
    dialog.findChild<QLineEdit*>("knownLength")->setText("1e300");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.findChild<QLabel*>("setScaleProblem")->text(), range);
    CCalibrationSlot slot;
    EXPECT_FALSE(CCalibrationSlot::FromKnownLength(100.0, 1e300, 1, {}, slot));
    EXPECT_TRUE(CCalibrationSlot::FromKnownLength(100.0, 1e9, 1, {}, slot));
}

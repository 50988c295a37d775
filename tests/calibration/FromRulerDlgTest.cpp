#include "app/RulerCommand.h"
#include "calibration/CalibrationDlg.h"
#include "calibration/CalibrationTable.h"
#include "calibration/FromRulerDlg.h"
#include "RecordingMessages.h"
#include "Rulings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

namespace {
// The Calibration dialog with the real reader behind it and a frame the test chooses.
class FromRulerTest : public ::testing::Test
{
protected:
    void SetUp() override { Show(DrawRuling(ruling)); }

    void Show(const cv::Mat& grey, bool frameOk = true)
    {
        frame = { FrameBitsOf(grey), grey.cols, grey.rows };
        CCalibrationDlg::CHooks hooks;
        hooks.applyCalibration = [this](const CCalibrationSlot& s) { applied.push_back(s); };
        hooks.captureFrame = [this, frameOk](CCalibrationDlg::CFrame& f) {
            f = frame;
            return frameOk;
        };
        hooks.referenceLine = [this](QLineF& ends) {
            if (line)
                ends = *line;
            return line.has_value();
        };
        hooks.readRuler = [](const CCalibrationDlg::CFrame& f, const QLineF* along) {
            return CRulerCommand::ReadFrame(f.bits, f.width, f.height, along);
        };
        dlg = std::make_unique<CCalibrationDlg>(table, hooks);
        table.SetCaptureSize({ grey.cols, grey.rows });
        dlg->SetRulerAsker([this](CFromRulerDlg& ask) {
            ++asked;
            found = ask.findChild<QLabel*>("rulerFound")->text();
            angle = ask.Result().angle;
            along = ask.findChild<QCheckBox*>("rulerAlong")->isChecked();
            auto* edit = ask.findChild<QLineEdit*>("rulerSpacing");
            edit->setText(spacing);
            if (!unit.isEmpty())
                ask.findChild<QComboBox*>("rulerUnit")->setCurrentText(unit);
            scaleText = ask.findChild<QLabel*>("rulerScale")->text();
            okEnabled =
                    ask.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled();
            ask.show();
            QTest::keyClick(edit, Qt::Key_Return); // Enter must not get past a disabled OK
            return ask.result() == QDialog::Accepted;
        });
    }
    void FromRuler(int slot)
    {
        dlg->findChild<QComboBox*>("slotCombo")->setCurrentIndex(slot);
        applied.clear();
        QTest::mouseClick(dlg->findChild<QPushButton*>("btnFromRuler"), Qt::LeftButton);
    }
    static double Relative(double value, double truth) { return std::abs(value / truth - 1.0); }

    CRecordingMessages messages;
    Ruling ruling;
    CCalibrationDlg::CFrame frame;
    CCalibrationTable table;
    std::unique_ptr<CCalibrationDlg> dlg;
    std::vector<CCalibrationSlot> applied;
    std::optional<QLineF> line;
    QString spacing = QStringLiteral("10");
    QString unit = QStringLiteral("um");
    int asked = 0;
    QString found;
    QString scaleText;
    bool along = false;
    double angle = 0.0;
    bool okEnabled = false;
};
} // namespace

// Spacing over period, in the slot the dialog shows, for the whole picture and along a line,
// with the unit picked or typed; the slot's lengths give the same scale again on OK.
TEST_F(FromRulerTest, StoresSpacingOverPeriodInTheShownSlot)
{
    FromRuler(3);
    ASSERT_EQ(asked, 1);
    EXPECT_FALSE(along) << "no line drawn: the whole picture";
    EXPECT_TRUE(found.contains(QLatin1String(" divisions, period 23.3"))) << found.toStdString();
    EXPECT_TRUE(scaleText.startsWith(QLatin1String("Scale: 0.4279"))) << scaleText.toStdString();
    EXPECT_TRUE(okEnabled);
    CCalibrationSlot slot = table.GetSlot(3);
    EXPECT_EQ(table.CurrentIndex(), 3);
    EXPECT_EQ(slot.unit, 0);
    EXPECT_LT(Relative(slot.xPerPixel, 10.0 / ruling.period), 5e-4);
    EXPECT_EQ(slot.xPerPixel, slot.yPerPixel);
    EXPECT_GT(slot.right - slot.left, 100u) << "the bars span the divisions read";
    const double stored = slot.xPerPixel;
    ASSERT_FALSE(applied.empty());
    EXPECT_EQ(applied.back().xPerPixel, stored);
    dlg->accept(); // OK recomputes the scale from the lengths over the bars
    EXPECT_LT(Relative(table.GetSlot(3).xPerPixel, stored), 1e-12);
    EXPECT_LT(Relative(table.GetSlot(3).yPerPixel, stored), 1e-12);
    const double afterOk = table.GetSlot(3).xPerPixel;

    // Along a drawn line across the divisions, "0.01 mm" typed with its unit.
    const double a = ruling.angle * std::numbers::pi / 180.0;
    line = QLineF(320 - 200 * std::cos(a), 240 - 200 * std::sin(a), 320 + 200 * std::cos(a),
            240 + 200 * std::sin(a));
    spacing = QStringLiteral("0.01 mm");
    unit.clear();
    FromRuler(5);
    EXPECT_TRUE(along);
    EXPECT_NEAR(angle, ruling.angle, 1.0) << "the band lies along the line, rows top-down";
    slot = table.GetSlot(5);
    EXPECT_EQ(slot.unit, 1);
    EXPECT_LT(Relative(slot.xPerPixel, 0.01 / ruling.period), 5e-4);
    EXPECT_LT(std::abs(int((slot.left + slot.right) / 2) - 320), 2) << "bars over the line";
    EXPECT_EQ(table.GetSlot(3).xPerPixel, afterOk) << "the other slot is left alone";
}

// Nothing to read gives the reader's reason in the dialog, OK disabled, and no slot changes.
TEST_F(FromRulerTest, NoRulingLeavesTheSlotAlone)
{
    const CCalibrationSlot before = table.GetSlot(2);
    for (const cv::Mat& grey :
            { cv::Mat(480, 640, CV_8U, cv::Scalar(128)), cv::Mat(6, 6, CV_8U, cv::Scalar(200)),
                    DrawRuling({ .period = 23.37, .blur = 40.0, .noise = 0.0 }) }) {
        Show(grey);
        asked = 0;
        FromRuler(2);
        ASSERT_EQ(asked, 1);
        EXPECT_FALSE(found.isEmpty());
        EXPECT_FALSE(found.contains(QLatin1String("divisions, period"))) << found.toStdString();
        EXPECT_FALSE(okEnabled);
        EXPECT_TRUE(scaleText.isEmpty()) << "no scale without a ruling";
        EXPECT_TRUE(applied.empty());
        EXPECT_TRUE(table.GetSlot(2) == before || std::isnan(before.xPerPixel));
    }
    EXPECT_TRUE(messages.All().empty()) << "the reason is in the dialog, no box";
    const CRulerReading shortFrame =
            CRulerCommand::ReadFrame(std::vector<uint8_t>(640 * 3 * 479), 640, 480, nullptr);
    EXPECT_FALSE(shortFrame.found) << "a frame shorter than its size is not read";
    EXPECT_FALSE(shortFrame.reason.isEmpty());

    Show(DrawRuling(ruling), false); // no picture at all
    asked = 0;
    FromRuler(2);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(messages.Texts(CRecordingMessages::Kind::Error),
            QStringList { "There is no picture to read a ruler from." });
    EXPECT_TRUE(applied.empty());
}

// A spacing that is no positive length in range is refused with its own words.
TEST_F(FromRulerTest, RefusesSpacingsThatAreNoLength)
{
    const CCalibrationSlot before = table.GetSlot(1);
    const std::pair<const char*, const char*> refused[] = {
        { "0", "Enter a length greater than 0." },
        { "-5", "Enter a length greater than 0." },
        { "ten", "Enter a number, for example 0.5." },
        { "10 parsec", "Enter a number, for example 0.5." },
        { "1e12", "Enter a length from 1e-9 to 1e9 um." },
        { "", "Enter the spacing of one division." },
    };
    for (const auto& [text, why] : refused) {
        spacing = QString::fromLatin1(text);
        FromRuler(1);
        EXPECT_FALSE(okEnabled) << text;
        EXPECT_EQ(scaleText, QString::fromLatin1(why)) << text;
        EXPECT_TRUE(applied.empty()) << text;
    }
    EXPECT_TRUE(table.GetSlot(1) == before || std::isnan(before.xPerPixel));

    double length = 0.0;
    int typed = -1;
    EXPECT_TRUE(CFromRulerDlg::ParseSpacing(" 2.5inch ", length, typed).isEmpty());
    EXPECT_EQ(length, 2.5);
    EXPECT_EQ(typed, 3);
    EXPECT_TRUE(
            CFromRulerDlg::ParseSpacing(QString::fromUtf8("10 \u00b5m"), length, typed).isEmpty());
    EXPECT_EQ(typed, 0);
    EXPECT_TRUE(CFromRulerDlg::ParseSpacing("1.5", length, typed).isEmpty());
    EXPECT_EQ(typed, -1) << "no unit typed: the list's";
}

#include "base/IniFile.h"
#include "calibration/CalibrationScaling.h"
#include "calibration/CalibrationStatus.h"
#include "calibration/CalibrationTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {
// 400 um over the 200 pixels of the reference from 100 to 300: 2 um a pixel.
CCalibrationSlot TwoMicronSlot()
{
    CCalibrationSlot slot;
    slot.xLength = slot.yLength = 400.0;
    slot.left = slot.top = 100;
    slot.right = slot.bottom = 300;
    slot.ApplyScaleRule();
    return slot;
}
} // namespace

TEST(CalibrationScaling, SameFieldOfViewGivesExactFactors)
{
    const CCalibrationSlot slot = TwoMicronSlot();
    struct Case
    {
        QSize madeAt, now;
        double x, y;
    } cases[] = {
        { { 640, 480 }, { 1280, 960 }, 1.0, 1.0 }, // twice the pixels, each half as big
        { { 1280, 960 }, { 640, 480 }, 4.0, 4.0 },
        { { 1280, 720 }, { 1920, 1080 }, 4.0 / 3.0, 4.0 / 3.0 },
        { { 2592, 1944 }, { 640, 480 }, 2.0 * 2592 / 640, 2.0 * 1944 / 480 },
    };
    for (const Case& c : cases) {
        const CCalibrationScaling s = CCalibrationScaling::Between(c.madeAt, c.now);
        EXPECT_TRUE(s.Scaled());
        EXPECT_FALSE(s.AspectDiffers());
        const CCalibrationSlot now = s.Apply(slot);
        EXPECT_DOUBLE_EQ(now.xPerPixel, c.x) << c.now.width();
        EXPECT_DOUBLE_EQ(now.yPerPixel, c.y) << c.now.width();
        // The real lengths stay as typed; the reference covers the same part of the picture.
        EXPECT_EQ(now.xLength, 400.0);
        EXPECT_NEAR(now.left, 100.0 * c.now.width() / c.madeAt.width(), 0.5);
        EXPECT_NEAR(now.bottom, 300.0 * c.now.height() / c.madeAt.height(), 0.5);
    }
}

TEST(CalibrationScaling, AnotherShapeScalesByWidthAndWarns)
{
    const CCalibrationScaling s = CCalibrationScaling::Between({ 1280, 960 }, { 1280, 720 });
    EXPECT_TRUE(s.Scaled());
    EXPECT_TRUE(s.AspectDiffers());
    const CCalibrationSlot now = s.Apply(TwoMicronSlot());
    EXPECT_DOUBLE_EQ(now.xPerPixel, 2.0);
    EXPECT_DOUBLE_EQ(now.yPerPixel, 2.0) << "pixels stay square";
    EXPECT_EQ(CCalibrationStatus::ScalingText(s),
            "scaled from 1280 X 960 by width; the picture has another shape, so the calibration "
            "may not apply");
    // Rounding of sizes the camera reports is no change of shape.
    EXPECT_FALSE(CCalibrationScaling::Between({ 1280, 720 }, { 854, 480 }).AspectDiffers());
}

TEST(CalibrationScaling, UnknownOrEqualSizesConvertNothing)
{
    const CCalibrationSlot slot = TwoMicronSlot();
    for (const auto& [made, now] :
            { std::pair { QSize(), QSize(640, 480) }, std::pair { QSize(640, 480), QSize() },
                    std::pair { QSize(640, 480), QSize(640, 480) },
                    std::pair { QSize(0, 480), QSize(640, 480) } }) {
        const CCalibrationScaling s = CCalibrationScaling::Between(made, now);
        EXPECT_FALSE(s.Scaled());
        EXPECT_EQ(s.Apply(slot), slot);
        EXPECT_TRUE(CCalibrationStatus::ScalingText(s).isEmpty());
    }
}

TEST(CalibrationTable, HandsOutSlotsAtTheCaptureSizeAndStoresThemAsMadeThere)
{
    CCalibrationTable table;
    table.SetCaptureSize({ 640, 480 });
    table.SetSlot(2, TwoMicronSlot());
    EXPECT_EQ(table.MadeAt(2), QSize(640, 480));

    table.SetCaptureSize({ 1280, 960 });
    EXPECT_DOUBLE_EQ(table.GetSlot(2).xPerPixel, 1.0);
    EXPECT_DOUBLE_EQ(table.StoredSlot(2).xPerPixel, 2.0);
    EXPECT_EQ(table.GetSlot(2).right, 600u);
    EXPECT_EQ(CCalibrationStatus::Text(table.GetSlot(2), 2, "10x objective", table.Scaling(2)),
            "Scale of calibration 2 (10x objective): 1 um/pixel, scaled from 640 X 480");

    // An edit at the new size makes the slot one of that size.
    CCalibrationSlot edited = table.GetSlot(2);
    edited.unit = 1;
    table.SetSlot(2, edited);
    EXPECT_EQ(table.MadeAt(2), QSize(1280, 960));
    EXPECT_FALSE(table.Scaling(2).Scaled());
    table.SetCaptureSize({ 640, 480 });
    EXPECT_DOUBLE_EQ(table.GetSlot(2).xPerPixel, 2.0) << "back where it began";

    // Without a known size nothing is converted or recorded.
    CCalibrationTable blind;
    blind.SetSlot(0, TwoMicronSlot());
    EXPECT_FALSE(blind.MadeAt(0).isValid());
    blind.SetCaptureSize({ 1280, 960 });
    EXPECT_DOUBLE_EQ(blind.GetSlot(0).xPerPixel, 2.0);
    blind.AdoptCaptureSize();
    EXPECT_EQ(blind.MadeAt(0), QSize(1280, 960));
    EXPECT_FALSE(blind.MadeAt(1).isValid()) << "a slot never calibrated has no size";
}

TEST(CalibrationTable, NamesAndSizesRoundTripAndOldFilesLoadUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Setting.ini");
    {
        // As an older Kalvex wrote it: no names, no sizes.
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[CALIBRATION]\ncurSel=1\nxlen_1=400\nylen_1=300\nunit_1=1\nleft_1=100\n"
                   "right_1=300\ntop_1=100\nbottom_1=250\n");
    }
    CCalibrationTable table;
    table.Load(CIniFile(path));
    EXPECT_EQ(table.CurrentIndex(), 1);
    EXPECT_DOUBLE_EQ(table.GetCurSlot().xPerPixel, 2.0);
    EXPECT_DOUBLE_EQ(table.GetCurSlot().yPerPixel, 2.0);
    EXPECT_EQ(table.GetCurSlot().unit, 1);
    EXPECT_TRUE(table.SlotName(1).isEmpty());
    EXPECT_FALSE(table.MadeAt(1).isValid());

    table.SetSlotName(1, "  10x\tobjective\n ");
    table.SetSlotName(3, QString(100, u'a'));
    table.SetCaptureSize({ 1280, 960 });
    table.AdoptCaptureSize();
    CIniFile ini(path);
    table.Save(ini);
    ASSERT_TRUE(ini.Save());
    const CIniFile back(path);
    // The keys an older Kalvex reads keep their meaning.
    EXPECT_EQ(back.GetInt("CALIBRATION", "left_1", 0), 100);
    EXPECT_EQ(back.GetString("CALIBRATION", "name_1", {}, 64), "10x objective");
    EXPECT_EQ(back.GetInt("CALIBRATION", "width_1", 0), 1280);

    CCalibrationTable loaded;
    loaded.Load(back);
    EXPECT_EQ(loaded.SlotName(1), "10x objective");
    EXPECT_EQ(loaded.SlotName(3).size(), CCalibrationTable::kMaxNameLength);
    EXPECT_EQ(loaded.MadeAt(1), QSize(1280, 960));
    EXPECT_FALSE(loaded.MadeAt(0).isValid());
    EXPECT_EQ(loaded.StoredSlot(1), table.StoredSlot(1));
    EXPECT_EQ(CCalibrationStatus::SlotTitle(1, loaded.SlotName(1)), "Calibration 1: 10x objective");
    EXPECT_EQ(CCalibrationStatus::SlotTitle(0, loaded.SlotName(0)), "Calibration 0");
}

TEST(CalibrationTable, ImplausibleSizesAreUnknown)
{
    CIniFile ini;
    ini.WriteInt("CALIBRATION", "width_0", -640);
    ini.WriteInt("CALIBRATION", "height_0", 480);
    ini.WriteInt("CALIBRATION", "width_1", 2000000);
    ini.WriteInt("CALIBRATION", "height_1", 480);
    CCalibrationTable table;
    table.Load(ini);
    EXPECT_FALSE(table.MadeAt(0).isValid());
    EXPECT_FALSE(table.MadeAt(1).isValid());
}

TEST(CalibrationSlot, KnownLengthSetsBothAxesAndSurvivesTheScaleRule)
{
    CCalibrationSlot slot;
    ASSERT_TRUE(CCalibrationSlot::FromKnownLength(245.3, 1.0, 1, QPoint(320, 240), slot));
    EXPECT_DOUBLE_EQ(slot.xPerPixel, 1.0 / 245.3);
    EXPECT_DOUBLE_EQ(slot.yPerPixel, 1.0 / 245.3);
    EXPECT_EQ(slot.unit, 1);
    // The bars lie over the line's middle, as long as the line.
    EXPECT_EQ(slot.right - slot.left, 245u);
    EXPECT_EQ((slot.left + slot.right) / 2, 320u);
    EXPECT_EQ((slot.top + slot.bottom) / 2, 240u);
    // What Setting.ini keeps gives the same scale back.
    CCalibrationSlot reloaded = slot;
    reloaded.ApplyScaleRule();
    EXPECT_NEAR(reloaded.xPerPixel, slot.xPerPixel, 1e-15);
    EXPECT_NEAR(reloaded.yPerPixel, slot.yPerPixel, 1e-15);

    // Near the corner the bars stay on the picture.
    ASSERT_TRUE(CCalibrationSlot::FromKnownLength(100.0, 50.0, 0, QPoint(10, 0), slot));
    EXPECT_EQ(slot.left, 0u);
    EXPECT_EQ(slot.right, 100u);

    for (const auto& [pixels, length] :
            { std::pair { 0.5, 1.0 }, std::pair { 100.0, 0.0 }, std::pair { 100.0, -1.0 },
                    std::pair { double(NAN), 1.0 }, std::pair { 100.0, double(INFINITY) } })
        EXPECT_FALSE(CCalibrationSlot::FromKnownLength(pixels, length, 0, QPoint(), slot))
                << pixels << " " << length;
    EXPECT_FALSE(CCalibrationSlot::FromKnownLength(100.0, 1.0, 7, QPoint(), slot));
}

TEST(CalibrationStatus, CsvLineNamesTheScale)
{
    const CCalibrationSlot slot = TwoMicronSlot();
    EXPECT_EQ(CCalibrationStatus::CsvLine(slot, 3), "# scale: 2 x 2 um/pixel; calibration 3");
    EXPECT_EQ(CCalibrationStatus::CsvLine(slot, 3, "say \"hi\"",
                      CCalibrationScaling::Between({ 640, 480 }, { 1280, 720 })),
            "# scale: 2 x 2 um/pixel; calibration 3 \"say 'hi'\"; scaled from 640 X 480 by "
            "width, other shape");
    EXPECT_EQ(CCalibrationStatus::CsvLine(slot, CCalibrationStatus::kFromFile),
            "# scale: 2 x 2 um/pixel; from the picture file");
    EXPECT_EQ(CCalibrationStatus::CsvLine(CCalibrationSlot(), 0),
            "# scale: none; results in pixels; calibration 0");
}

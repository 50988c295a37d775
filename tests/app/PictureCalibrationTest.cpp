#include "app/PictureCalibration.h"
#include "calibration/CalibrationTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CPictureScale scaleOf(const char* unit, double x, double y)
{
    CPictureScale s;
    s.unit = QString::fromLatin1(unit);
    s.xPerPixel = x;
    s.yPerPixel = y;
    return s;
}

class PictureCalibrationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CCalibrationSlot slot;
        slot.unit = 1; // mm
        slot.xPerPixel = slot.yPerPixel = 0.01;
        m_table.SetSlot(2, slot);
        m_table.SetCurrentIndex(2);
    }

    CCalibrationTable m_table;
    std::vector<CCalibrationSlot> m_applied;
    CPictureCalibration m_calibration { m_table,
        [this](const CCalibrationSlot& s) { m_applied.push_back(s); } };
};

} // namespace

// An opened picture's scale is measured in while it is shown; the slots stay as they were
// until the user stores it, and live again (or a picture without a scale) goes back.
TEST_F(PictureCalibrationTest, PictureScaleWinsWhileShownAndNeverTouchesTheSlots)
{
    const CCalibrationTable before = m_table;
    m_calibration.PictureOpened(scaleOf("um", 0.25, 0.5));
    ASSERT_TRUE(m_calibration.FromFile());
    ASSERT_EQ(m_applied.size(), 1u);
    EXPECT_EQ(m_applied[0].unit, 0);
    EXPECT_DOUBLE_EQ(m_applied[0].xPerPixel, 0.25);
    EXPECT_DOUBLE_EQ(m_applied[0].yPerPixel, 0.5);
    EXPECT_EQ(m_calibration.StatusText(), "Scale from file: 0.25 x 0.5 um/pixel");
    EXPECT_EQ(m_calibration.ActiveScale(), scaleOf("um", 0.25, 0.5));
    for (int i = 0; i < CCalibrationTable::kSlotCount; ++i)
        EXPECT_EQ(m_table.GetSlot(i), before.GetSlot(i)) << i;

    // The slot that scale makes is self-consistent: the dialog's rule gives the same scale.
    CCalibrationSlot rebuilt = m_applied[0];
    rebuilt.ApplyScaleRule();
    EXPECT_DOUBLE_EQ(rebuilt.xPerPixel, 0.25);
    EXPECT_DOUBLE_EQ(rebuilt.yPerPixel, 0.5);

    m_calibration.PictureOpened(CPictureScale());
    EXPECT_FALSE(m_calibration.FromFile());
    ASSERT_EQ(m_applied.size(), 2u);
    EXPECT_DOUBLE_EQ(m_applied[1].xPerPixel, 0.01);
    EXPECT_EQ(m_calibration.StatusText(), "Scale of calibration 2: 0.01 mm/pixel");
    m_calibration.UseTable(); // already on the table: the drawing is not told again
    EXPECT_EQ(m_applied.size(), 2u);
}

TEST_F(PictureCalibrationTest, StoringPutsTheScaleInTheChosenSlotAndUsesIt)
{
    EXPECT_FALSE(m_calibration.StoreInSlot(4)) << "nothing from a file to store";
    m_calibration.PictureOpened(scaleOf("inch", 0.001, 0.001));
    EXPECT_FALSE(m_calibration.StoreInSlot(10));
    ASSERT_TRUE(m_calibration.StoreInSlot(4));
    EXPECT_FALSE(m_calibration.FromFile());
    EXPECT_EQ(m_table.CurrentIndex(), 4);
    EXPECT_EQ(m_table.GetSlot(4).unit, 3);
    EXPECT_DOUBLE_EQ(m_table.GetSlot(4).xPerPixel, 0.001);
    EXPECT_DOUBLE_EQ(m_table.GetSlot(2).xPerPixel, 0.01) << "the other slots stay";
    EXPECT_EQ(m_calibration.StatusText(), "Scale of calibration 4: 0.001 inch/pixel");
}

TEST(PictureCalibration_Conversion, OnlyUsableScalesTravel)
{
    CCalibrationSlot slot; // zero scale: measures in pixels
    EXPECT_FALSE(CPictureCalibration::ToPictureScale(slot).IsValid());
    slot.xPerPixel = -1;
    slot.yPerPixel = 1;
    EXPECT_FALSE(CPictureCalibration::ToPictureScale(slot).IsValid());
    slot.unit = 4;
    slot.xPerPixel = slot.yPerPixel = 0.002;
    EXPECT_EQ(CPictureCalibration::ToPictureScale(slot), scaleOf("dm", 0.002, 0.002));
    CCalibrationSlot back;
    EXPECT_FALSE(CPictureCalibration::ToSlot(scaleOf("px", 1, 1), back));
    EXPECT_FALSE(CPictureCalibration::ToSlot(scaleOf("um", 0, 1), back));
}

#include "base/FrameLayout.h"
#include "calibration/CircleDetector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
// A dark frame (bottom-up, padded rows) with a white disc; cx, cy in top-down pixels.
std::vector<uint8_t> DiscFrame(int width, int height, double cx, double cy, double r)
{
    const int stride = FrameStride(width);
    std::vector<uint8_t> frame(static_cast<size_t>(stride) * height, 20);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = frame.data() + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= r * r)
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = 240;
        }
    }
    return frame;
}
} // namespace

TEST(CircleDetector_Disc, FindsEdgesWithinOnePixel)
{
    // Off-centre and in the upper half, so a missing row flip would miss it; odd width pads rows.
    const int width = 641;
    const int height = 480;
    const double cx = 250.0, cy = 150.0, r = 60.0;
    const auto frame = DiscFrame(width, height, cx, cy, r);

    CCircleDetector detector;
    CCalibrationSlot slot;
    ASSERT_TRUE(detector.Detect(frame.data(), width, height, 5, slot));
    EXPECT_NEAR(slot.left, cx - r, 1.0);
    EXPECT_NEAR(slot.right, cx + r, 1.0);
    EXPECT_NEAR(slot.top, cy - r, 1.0);
    EXPECT_NEAR(slot.bottom, cy + r, 1.0);
    EXPECT_EQ(slot.unit, 1);
    EXPECT_DOUBLE_EQ(slot.xLength, 1.0);
    EXPECT_DOUBLE_EQ(slot.yLength, 1.0);
    EXPECT_NEAR(slot.xPerPixel, 1.0 / (2 * r), 1e-4);
    EXPECT_NEAR(slot.yPerPixel, 1.0 / (2 * r), 1e-4);
}

TEST(CircleDetector_Disc, FailsWithoutAWholeDisc)
{
    const int width = 320;
    const int height = 240;
    CCircleDetector detector;
    CCalibrationSlot slot;
    slot.left = 7;

    const std::vector<uint8_t> dark(static_cast<size_t>(FrameStride(width)) * height, 20);
    EXPECT_FALSE(detector.Detect(dark.data(), width, height, 5, slot));

    // A disc cut off by the picture's edge has no measurable extent.
    const auto cut = DiscFrame(width, height, 10.0, 120.0, 40.0);
    EXPECT_FALSE(detector.Detect(cut.data(), width, height, 5, slot));
    // A disc whose search window would leave the picture.
    const auto close = DiscFrame(width, height, 160.0, 50.0, 45.0);
    EXPECT_FALSE(detector.Detect(close.data(), width, height, 5, slot));

    EXPECT_FALSE(detector.Detect(nullptr, width, height, 5, slot));
    EXPECT_EQ(slot.left, 7u); // untouched on failure
}

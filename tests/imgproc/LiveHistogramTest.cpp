#include "base/FrameLayout.h"
#include "imgproc/LiveHistogram.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

// A 5 x 3 frame (stride 16: one padding byte a row, set to 255 to catch a count of padding).
std::vector<uint8_t> SmallFrame()
{
    std::vector<uint8_t> frame(FrameBytes(5, 3), 255);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            uint8_t* p = frame.data() + FrameStride(5) * y + x * 3;
            p[0] = static_cast<uint8_t>(x * 10); // blue
            p[1] = static_cast<uint8_t>(y == 0 ? 0 : 100); // green
            p[2] = static_cast<uint8_t>(x == 4 ? 255 : 50); // red
        }
    return frame;
}

uint32_t Total(const CLiveHistogram::Counts& counts)
{
    return std::accumulate(counts.begin(), counts.end(), 0u);
}

TEST(LiveHistogramTest, CountsEveryPixelOfEveryChannelOnce)
{
    const std::vector<uint8_t> frame = SmallFrame();
    CLiveHistogram histogram;
    histogram.Compute(frame.data(), 5, 3);
    EXPECT_EQ(histogram.Pixels(), 15u);
    for (int c = 0; c < CLiveHistogram::ChannelCount; ++c)
        EXPECT_EQ(Total(histogram.Of(CLiveHistogram::Channel(c))), 15u);
    EXPECT_EQ(histogram.Of(CLiveHistogram::Blue)[20], 3u);
    EXPECT_EQ(histogram.Of(CLiveHistogram::Green)[0], 5u);
    EXPECT_EQ(histogram.Of(CLiveHistogram::Green)[100], 10u);
    EXPECT_EQ(histogram.Of(CLiveHistogram::Red)[255], 3u);
    EXPECT_EQ(histogram.Of(CLiveHistogram::Red)[50], 12u);
    // Grey of blue 0, green 0, red 50.
    EXPECT_EQ(histogram.Of(CLiveHistogram::Luminance)[CLiveHistogram::Grey(0, 0, 50)], 1u);
    EXPECT_DOUBLE_EQ(histogram.BrightClippedShare(CLiveHistogram::Red), 3.0 / 15.0);
    EXPECT_DOUBLE_EQ(histogram.DarkClippedShare(CLiveHistogram::Green), 5.0 / 15.0);
    EXPECT_DOUBLE_EQ(histogram.BrightClippedShare(CLiveHistogram::Luminance), 0.0);
    EXPECT_EQ(histogram.Peak(CLiveHistogram::Red), 12u);
}

TEST(LiveHistogramTest, StepCountsTheGridOfEveryStepthPixel)
{
    const std::vector<uint8_t> frame = SmallFrame();
    CLiveHistogram histogram;
    histogram.Compute(frame.data(), 5, 3, 2);
    EXPECT_EQ(histogram.Pixels(), 6u); // x 0, 2, 4 of rows 0 and 2
    EXPECT_EQ(histogram.Of(CLiveHistogram::Blue)[0], 2u);
    EXPECT_EQ(histogram.Of(CLiveHistogram::Blue)[10], 0u);
    EXPECT_EQ(histogram.Of(CLiveHistogram::Red)[255], 2u);
    histogram.Compute(frame.data(), 5, 3, 0); // below 1 counts as 1
    EXPECT_EQ(histogram.Pixels(), 15u);
}

TEST(LiveHistogramTest, NothingToCountGivesEmptyCountsAndNoShares)
{
    const std::vector<uint8_t> frame = SmallFrame();
    CLiveHistogram histogram;
    histogram.Compute(frame.data(), 5, 3);
    histogram.Compute(nullptr, 5, 3);
    EXPECT_EQ(histogram.Pixels(), 0u);
    EXPECT_EQ(Total(histogram.Of(CLiveHistogram::Red)), 0u);
    EXPECT_DOUBLE_EQ(histogram.DarkClippedShare(CLiveHistogram::Red), 0.0);
    histogram.Compute(frame.data(), 0, 3);
    EXPECT_EQ(histogram.Pixels(), 0u);
}

} // namespace

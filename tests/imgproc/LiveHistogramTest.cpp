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

// A coarse grid of a smooth frame counts what a full count finds, in proportion: the shape
// and the clipped shares the panel shows.
TEST(LiveHistogramTest, GridOfABigFrameKeepsSharesAndShape)
{
    const int w = 640;
    const int h = 480;
    std::vector<uint8_t> frame(FrameBytes(w, h));
    // Left quarter black, right quarter full, a ramp between.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = x < w / 4 ? 0 : x >= 3 * w / 4 ? 255 : (x - w / 4) * 255 / (w / 2);
            uint8_t* p = frame.data() + static_cast<std::size_t>(FrameStride(w)) * y + 3 * x;
            p[0] = p[1] = p[2] = static_cast<uint8_t>(v);
        }
    CLiveHistogram all;
    all.Compute(frame.data(), w, h);
    CLiveHistogram grid;
    grid.Compute(frame.data(), w, h, 4);
    EXPECT_EQ(grid.Pixels(), 160u * 120u);
    for (int c = 0; c < CLiveHistogram::ChannelCount; ++c)
        EXPECT_EQ(Total(grid.Of(CLiveHistogram::Channel(c))), grid.Pixels());
    EXPECT_NEAR(grid.DarkClippedShare(CLiveHistogram::Green),
            all.DarkClippedShare(CLiveHistogram::Green), 0.01);
    EXPECT_NEAR(grid.BrightClippedShare(CLiveHistogram::Luminance),
            all.BrightClippedShare(CLiveHistogram::Luminance), 0.01);
    EXPECT_NEAR(grid.BrightClippedShare(CLiveHistogram::Luminance), 0.25, 0.01);
    // The same halves of the ramp on each side of the middle grey.
    const auto below = [](const CLiveHistogram& hist) {
        const CLiveHistogram::Counts& counts = hist.Of(CLiveHistogram::Blue);
        return static_cast<double>(std::accumulate(counts.begin(), counts.begin() + 128, 0u))
                / hist.Pixels();
    };
    EXPECT_NEAR(below(grid), below(all), 0.01);
}

TEST(LiveHistogramTest, GridStepIsTheFinestWithinTheBudget)
{
    EXPECT_EQ(CLiveHistogram::GridStep(1920, 1080, 160000), 4); // 480 x 270; step 3 is 640 x 360
    EXPECT_EQ(CLiveHistogram::GridStep(100, 50, 160000), 1);
    EXPECT_EQ(CLiveHistogram::GridStep(400, 400, 160000), 1); // exactly the budget
    EXPECT_EQ(CLiveHistogram::GridStep(401, 400, 160000), 2);
    EXPECT_EQ(CLiveHistogram::GridStep(0, 1080, 160000), 1);
    EXPECT_EQ(CLiveHistogram::GridStep(1920, 1080, 0), 1920); // one pixel
}

} // namespace

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

#include "imgproc/WideInstructions.h"

#include <random>

namespace {

struct CEndsFrame
{
    int width;
    int height;
    std::vector<uint8_t> bytes;
    CEndsFrame(int w, int h, uint8_t fill) : width(w), height(h), bytes(FrameBytes(w, h), fill) { }
    uint8_t* Pixel(int x, int y) { return bytes.data() + FrameStride(width) * y + 3 * x; }
};

// The ends counted one pixel at a time, the way the shares are meant.
CLiveHistogram::Ends CountedByHand(CEndsFrame& frame)
{
    CLiveHistogram::Ends ends;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const uint8_t* p = frame.Pixel(x, y);
            const int values[] = { CLiveHistogram::Grey(p[0], p[1], p[2]), p[2], p[1], p[0] };
            for (int c = 0; c < CLiveHistogram::ChannelCount; ++c) {
                ends.dark[c] += values[c] == 0;
                ends.bright[c] += values[c] == 255;
            }
        }
    ends.pixels = static_cast<uint32_t>(frame.width * frame.height);
    return ends;
}

// A line one pixel wide on a row the grid steps over still shows in every clipped share; a
// grid of step 4 counts none of it.
TEST(LiveHistogramTest, ClippedSharesCountALineTheGridStepsOver)
{
    const int w = 1920;
    const int h = 1080;
    CEndsFrame frame(w, h, 120);
    for (int x = 0; x < w; ++x)
        std::fill_n(frame.Pixel(x, 401), 3, uint8_t(255));
    for (int y = 0; y < h; ++y) // a black column near the right border, over the line too
        std::fill_n(frame.Pixel(w - 3, y), 3, uint8_t(0));
    CLiveHistogram histogram;
    histogram.Compute(frame.bytes.data(), w, h, 4);
    EXPECT_EQ(histogram.Pixels(), 480u * 270u);
    EXPECT_EQ(histogram.Of(CLiveHistogram::Luminance)[255], 0u);
    for (int c = 0; c < CLiveHistogram::ChannelCount; ++c) {
        const auto channel = CLiveHistogram::Channel(c);
        EXPECT_DOUBLE_EQ(histogram.BrightClippedShare(channel), (w - 1.0) / (w * h)) << c;
        EXPECT_DOUBLE_EQ(histogram.DarkClippedShare(channel), 1.0 / w) << c;
    }
}

// Random pixels near the ends, odd widths (padding, plain tails) and the frame's last bytes:
// the wide and the plain counts agree with a count by hand, whatever is dark or full.
TEST(LiveHistogramTest, EndsOfEveryChannelAreCountedExactly)
{
    std::mt19937 random(5);
    const uint8_t near[] = { 0, 1, 2, 3, 8, 9, 200, 254, 255 };
    for (const auto& [w, h] : { std::pair { 331, 7 }, std::pair { 64, 3 }, std::pair { 5, 2 } }) {
        CEndsFrame frame(w, h, 255); // padding at 255 must not count
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c)
                    frame.Pixel(x, y)[c] = near[random() % std::size(near)];
        std::fill_n(frame.Pixel(w - 1, h - 1), 3, uint8_t(0));
        std::fill_n(frame.Pixel(0, 0), 3, uint8_t(255));
        const CLiveHistogram::Ends expected = CountedByHand(frame);
        EXPECT_GT(expected.dark[CLiveHistogram::Luminance], 0u);
        for (const bool wide : { true, false }) {
            AllowWideInstructions(wide);
            const CLiveHistogram::Ends ends = CLiveHistogram::CountEnds(frame.bytes.data(), w, h);
            EXPECT_EQ(ends.dark, expected.dark) << w << " wide " << wide;
            EXPECT_EQ(ends.bright, expected.bright) << w << " wide " << wide;
            EXPECT_EQ(ends.pixels, expected.pixels);
        }
        AllowWideInstructions(true);
    }
    EXPECT_EQ(CLiveHistogram::CountEnds(nullptr, 5, 5).pixels, 0u);
}

} // namespace

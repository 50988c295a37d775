#include "base/FrameLayout.h"
#include "imgproc/FocusMeasure.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

// A BGR frame with texture: random grey blocks of 4 x 4 pixels, so blur has edges to soften.
struct Frame
{
    int width;
    int height;
    std::vector<uint8_t> bytes;

    Frame(int w, int h) : width(w), height(h), bytes(FrameBytes(w, h), 0) { }
    uint8_t* Pixel(int x, int yTopDown)
    {
        return bytes.data() + static_cast<std::size_t>(FrameStride(width)) * (height - 1 - yTopDown)
                + x * 3;
    }
    cv::Mat Mat()
    {
        return { height, width, CV_8UC3, bytes.data(), std::size_t(FrameStride(width)) };
    }
    double Score(CFrameRegion region = {})
    {
        return CFocusMeasure::VarianceOfLaplacian(bytes.data(), width, height, region);
    }
};

Frame Textured(int w, int h)
{
    Frame frame(w, h);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(0, 255);
    for (int by = 0; by < h; by += 4)
        for (int bx = 0; bx < w; bx += 4) {
            const auto v = static_cast<uint8_t>(value(random));
            for (int y = by; y < std::min(by + 4, h); ++y)
                for (int x = bx; x < std::min(bx + 4, w); ++x) {
                    uint8_t* p = frame.Pixel(x, y);
                    p[0] = p[1] = p[2] = v;
                }
        }
    return frame;
}

TEST(FocusMeasureTest, BlurLowersTheScoreStepByStep)
{
    Frame sharp = Textured(322, 241); // odd width: rows carry padding
    double previous = sharp.Score();
    EXPECT_GT(previous, 100.0);
    for (double sigma : { 0.6, 1.0, 1.6, 2.5, 4.0 }) {
        Frame blurred = sharp;
        cv::Mat mat = blurred.Mat();
        cv::GaussianBlur(sharp.Mat(), mat, cv::Size(0, 0), sigma);
        const double score = blurred.Score();
        EXPECT_LT(score, previous) << "sigma " << sigma;
        previous = score;
    }
}

TEST(FocusMeasureTest, FlatMissingAndTinyPicturesScoreZero)
{
    Frame flat(64, 48);
    for (uint8_t& b : flat.bytes)
        b = 90;
    EXPECT_DOUBLE_EQ(flat.Score(), 0.0);
    EXPECT_DOUBLE_EQ(CFocusMeasure::VarianceOfLaplacian(nullptr, 64, 48), 0.0);
    Frame textured = Textured(64, 48);
    EXPECT_DOUBLE_EQ(textured.Score({ 10, 10, 2, 20 }), 0.0);
    EXPECT_DOUBLE_EQ(textured.Score({ 70, 0, 10, 10 }), 0.0); // wholly outside
}

TEST(FocusMeasureTest, RegionMeasuresOnlyItsPart)
{
    // Texture in the top half only: the top scores, the bottom is flat.
    Frame frame = Textured(80, 80);
    for (int y = 40; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            uint8_t* p = frame.Pixel(x, y);
            p[0] = p[1] = p[2] = 128;
        }
    EXPECT_GT(frame.Score({ 0, 0, 80, 38 }), 100.0);
    EXPECT_DOUBLE_EQ(frame.Score({ 0, 42, 80, 38 }), 0.0);
    // A region reaching past the frame is cut to it.
    EXPECT_DOUBLE_EQ(frame.Score({ -20, 42, 200, 100 }), frame.Score({ 0, 42, 80, 38 }));
}

// 32-bit xRGB picture: left half black, right half white, one vertical edge at x = 10.
std::vector<uint32_t> StepPicture(int w, int h)
{
    std::vector<uint32_t> pixels(static_cast<std::size_t>(w) * h, 0xFF000000u);
    for (int y = 0; y < h; ++y)
        for (int x = w / 2; x < w; ++x)
            pixels[static_cast<std::size_t>(y) * w + x] = 0xFFFFFFFFu;
    return pixels;
}

TEST(FocusMeasureTest, PeaksMarkTheEdgeAndNothingFlat)
{
    const int w = 20;
    const int h = 12;
    std::vector<uint32_t> pixels = StepPicture(w, h);
    const uint32_t mark = 0xFFFF0000u;
    const int strongest = CFocusMeasure::MarkPeaks(reinterpret_cast<uint8_t*>(pixels.data()), w, h,
            w * 4, mark, CFocusMeasure::PeakThreshold(0));
    EXPECT_EQ(strongest, 4 * 255);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool onEdge = (x == 9 || x == 10) && y > 0 && y < h - 1;
            EXPECT_EQ(pixels[static_cast<std::size_t>(y) * w + x] == mark, onEdge) << x << "," << y;
        }
}

TEST(FocusMeasureTest, PeakThresholdFollowsTheStrongestEdgeWithAFloor)
{
    EXPECT_EQ(CFocusMeasure::PeakThreshold(0), CFocusMeasure::kMinPeakEdge);
    EXPECT_EQ(CFocusMeasure::PeakThreshold(1000), 400);
    // A weak edge under a strong threshold stays unmarked.
    std::vector<uint32_t> pixels(16 * 8, 0xFF000000u);
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x)
            pixels[y * 16 + x] = 0xFF141414u; // a step of 20 grey levels: edge 80
    const std::vector<uint32_t> before = pixels;
    EXPECT_EQ(CFocusMeasure::MarkPeaks(
                      reinterpret_cast<uint8_t*>(pixels.data()), 16, 8, 64, 0xFFFF0000u, 400),
            80);
    EXPECT_EQ(pixels, before);
    EXPECT_EQ(CFocusMeasure::MarkPeaks(nullptr, 16, 8, 64, 0, 1), 0);
}

// A vertical edge at column edge of a w x h xRGB picture, rows w pixels apart.
std::vector<uint32_t> EdgeAt(int w, int h, int edge)
{
    std::vector<uint32_t> pixels(static_cast<std::size_t>(w) * h, 0xFF000000u);
    for (int y = 0; y < h; ++y)
        for (int x = edge; x < w; ++x)
            pixels[static_cast<std::size_t>(y) * w + x] = 0xFFFFFFFFu;
    return pixels;
}

// Marked in whole 2 x 2 blocks next to the edge, on every block row but the border ones; the
// odd last column and row (a row of an odd width starts 4 bytes off) stay untouched.
TEST(FocusMeasureTest, BlockPeaksMarkWholeBlocksOnTheEdge)
{
    const uint32_t mark = 0xFF00FF00u;
    for (const int edge : { 10, 11 }) { // between two blocks, and through one
        const int w = 25;
        const int h = 17;
        std::vector<uint32_t> pixels = EdgeAt(w, h, edge);
        const int strongest =
                CFocusMeasure::MarkBlockPeaks(reinterpret_cast<uint8_t*>(pixels.data()), w, h,
                        w * 4, mark, CFocusMeasure::PeakThreshold(0));
        EXPECT_GT(strongest, 2 * 255) << edge;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool marked = pixels[static_cast<std::size_t>(y) * w + x] == mark;
                const bool inside = y >= 2 && y < 14 && x < 24; // block rows 1 .. 6
                if (!inside)
                    EXPECT_FALSE(marked) << edge << ": " << x << "," << y;
                else if (std::abs(2 * (x / 2) + 1 - edge) > 2)
                    EXPECT_FALSE(marked) << edge << ": " << x << "," << y; // block away from it
                if (marked) // whole blocks
                    EXPECT_EQ(pixels[static_cast<std::size_t>(y ^ 1) * w + (x ^ 1)], mark);
            }
        // Every block row inside has its marks right at the edge.
        for (int y = 2; y < 14; ++y) {
            const bool near = pixels[static_cast<std::size_t>(y) * w + edge - 1] == mark
                    || pixels[static_cast<std::size_t>(y) * w + edge] == mark;
            EXPECT_TRUE(near) << edge << ": row " << y;
        }
    }
}

// Large views go the block way, small ones pixel by pixel; both return the edge they saw.
TEST(FocusMeasureTest, MarkPeaksUsesBlocksOnlyAboveAMegapixel)
{
    const uint32_t mark = 0xFFFF0000u;
    const auto run = [&](int w, int h, auto marker) {
        std::vector<uint32_t> pixels = EdgeAt(w, h, w / 2);
        marker(reinterpret_cast<uint8_t*>(pixels.data()), w, h, std::ptrdiff_t(w) * 4, mark, 100);
        return pixels;
    };
    const int side = 1002; // 1004004 pixels
    EXPECT_EQ(run(side, side, CFocusMeasure::MarkPeaks),
            run(side, side, CFocusMeasure::MarkBlockPeaks));
    EXPECT_NE(run(side, side, CFocusMeasure::MarkPeaks),
            run(side, side, CFocusMeasure::MarkPixelPeaks));
    EXPECT_EQ(run(1000, 1000, CFocusMeasure::MarkPeaks),
            run(1000, 1000, CFocusMeasure::MarkPixelPeaks));
    std::vector<uint32_t> tiny(5 * 5);
    EXPECT_EQ(CFocusMeasure::MarkBlockPeaks(
                      reinterpret_cast<uint8_t*>(tiny.data()), 5, 5, 20, mark, 1),
            0);
}

// At a corner the gradient reaches 6 x 255: a threshold above it marks nothing.
TEST(FocusMeasureTest, ThresholdAboveTheStrongestCornerMarksNothing)
{
    const int w = 12;
    std::vector<uint32_t> pixels(static_cast<std::size_t>(w) * w, 0xFF000000u);
    for (int y = 6; y < w; ++y)
        for (int x = 6; x < w; ++x)
            pixels[static_cast<std::size_t>(y) * w + x] = 0xFFFFFFFFu;
    const std::vector<uint32_t> before = pixels;
    auto* bytes = reinterpret_cast<uint8_t*>(pixels.data());
    EXPECT_EQ(CFocusMeasure::MarkPixelPeaks(bytes, w, w, w * 4, 0xFFFF0000u, 6 * 255 + 1), 6 * 255);
    EXPECT_EQ(pixels, before);
    EXPECT_EQ(CFocusMeasure::MarkPixelPeaks(bytes, w, w, w * 4, 0xFFFF0000u, 6 * 255), 6 * 255);
    EXPECT_EQ(pixels[6 * w + 6], 0xFFFF0000u); // the corner alone
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFFFF0000u), 1);
}

} // namespace

#include "imgproc/WideInstructions.h"

namespace {

// The AVX2 loops and the plain ones give the same numbers and the same marks.
TEST(FocusMeasureTest, WideAndPlainLoopsAgree)
{
    Frame frame = Textured(333, 77);
    std::vector<uint32_t> pixels(333 * 77);
    for (int y = 0; y < 77; ++y)
        for (int x = 0; x < 333; ++x)
            pixels[y * 333 + x] = 0xFF000000u | frame.Pixel(x, y)[0] * 0x010101u;
    std::vector<uint32_t> wideMarks = pixels;
    std::vector<uint32_t> plainMarks = pixels;
    const double wideScore = frame.Score({ 5, 3, 300, 70 });
    const int wideEdge = CFocusMeasure::MarkPeaks(
            reinterpret_cast<uint8_t*>(wideMarks.data()), 333, 77, 333 * 4, 0xFFFF0000u, 300);
    AllowWideInstructions(false);
    const double plainScore = frame.Score({ 5, 3, 300, 70 });
    const int plainEdge = CFocusMeasure::MarkPeaks(
            reinterpret_cast<uint8_t*>(plainMarks.data()), 333, 77, 333 * 4, 0xFFFF0000u, 300);
    AllowWideInstructions(true);
    EXPECT_DOUBLE_EQ(wideScore, plainScore);
    // The block loops: 166 blocks a row, ten wide steps of 16 and a tail.
    std::vector<uint32_t> wideBlocks = pixels;
    std::vector<uint32_t> plainBlocks = pixels;
    const int wideBlockEdge = CFocusMeasure::MarkBlockPeaks(
            reinterpret_cast<uint8_t*>(wideBlocks.data()), 333, 77, 333 * 4, 0xFFFF0000u, 200);
    AllowWideInstructions(false);
    const int plainBlockEdge = CFocusMeasure::MarkBlockPeaks(
            reinterpret_cast<uint8_t*>(plainBlocks.data()), 333, 77, 333 * 4, 0xFFFF0000u, 200);
    AllowWideInstructions(true);
    EXPECT_EQ(wideBlockEdge, plainBlockEdge);
    EXPECT_EQ(wideBlocks, plainBlocks);
    EXPECT_NE(plainBlocks, pixels);
    EXPECT_EQ(wideEdge, plainEdge);
    EXPECT_EQ(wideMarks, plainMarks);
    EXPECT_NE(plainMarks, pixels);
}

} // namespace

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

// A line one pixel wide on a full-HD view, vertical, horizontal and diagonal: its centre has
// no gradient, so it is marked on both sides all along, also where a row's wide steps end,
// and nothing farther from it is.
TEST(FocusMeasureTest, OnePixelLinesOnAFullHdViewAreMarked)
{
    const int w = 1920;
    const int h = 1080;
    const uint32_t mark = 0xFFFF0000u;
    const auto onLine = [](int kind, int x, int y) {
        return kind == 0 ? x == 1000 : kind == 1 ? y == 500 : x - y == 700;
    };
    for (const int kind : { 0, 1, 2 }) {
        std::vector<uint32_t> pixels(static_cast<std::size_t>(w) * h, 0xFF202020u);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (onLine(kind, x, y))
                    pixels[static_cast<std::size_t>(y) * w + x] = 0xFFE0E0E0u;
        const int strongest = CFocusMeasure::MarkPeaks(reinterpret_cast<uint8_t*>(pixels.data()), w,
                h, std::ptrdiff_t(w) * 4, mark, CFocusMeasure::PeakThreshold(0));
        EXPECT_GT(strongest, 2 * 0xC0) << kind;
        int missed = 0;
        int stray = 0;
        for (int y = 1; y + 1 < h; ++y)
            for (int x = 1; x + 1 < w; ++x) {
                const bool marked = pixels[static_cast<std::size_t>(y) * w + x] == mark;
                const bool near = onLine(kind, x, y) || onLine(kind, x - 1, y)
                        || onLine(kind, x + 1, y) || onLine(kind, x, y - 1)
                        || onLine(kind, x, y + 1) || onLine(kind, x - 1, y - 1)
                        || onLine(kind, x + 1, y + 1) || onLine(kind, x - 1, y + 1)
                        || onLine(kind, x + 1, y - 1);
                const auto at = [&](int dx, int dy) {
                    return pixels[static_cast<std::size_t>(y + dy) * w + x + dx] == mark;
                };
                // Beside a line pixel: left and right of a vertical or diagonal line, above and
                // below a horizontal one.
                if (onLine(kind, x, y) && x > 1 && x + 2 < w && y > 1 && y + 2 < h)
                    missed += kind == 1 ? !(at(0, -1) && at(0, 1)) : !(at(-1, 0) && at(1, 0));
                stray += marked && !near;
            }
        EXPECT_EQ(missed, 0) << kind;
        EXPECT_EQ(stray, 0) << kind;
    }
    // A line beside the last column a wide step reaches, and in the plain tail.
    for (const int column : { 1903, 1905, 1917 }) {
        std::vector<uint32_t> pixels = EdgeAt(w, 8, column);
        for (int y = 0; y < 8; ++y)
            for (int x = column + 1; x < w; ++x)
                pixels[static_cast<std::size_t>(y) * w + x] = 0xFF000000u;
        CFocusMeasure::MarkPeaks(reinterpret_cast<uint8_t*>(pixels.data()), w, 8,
                std::ptrdiff_t(w) * 4, mark, CFocusMeasure::PeakThreshold(0));
        for (int y = 1; y < 7; ++y) {
            EXPECT_EQ(pixels[static_cast<std::size_t>(y) * w + column - 1], mark)
                    << column << "," << y;
            EXPECT_EQ(pixels[static_cast<std::size_t>(y) * w + column + 1], mark)
                    << column << "," << y;
        }
    }
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
    EXPECT_EQ(CFocusMeasure::MarkPeaks(bytes, w, w, w * 4, 0xFFFF0000u, 6 * 255 + 1), 6 * 255);
    EXPECT_EQ(pixels, before);
    EXPECT_EQ(CFocusMeasure::MarkPeaks(bytes, w, w, w * 4, 0xFFFF0000u, 6 * 255), 6 * 255);
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
        for (int x = 0; x < 333; ++x) { // colours, so each channel's weight counts
            const uint32_t v = frame.Pixel(x, y)[0];
            pixels[y * 333 + x] = 0xFF000000u | v | ((v * 3) & 0xFF) << 8 | (255 - v) << 16;
        }
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
    EXPECT_EQ(wideEdge, plainEdge);
    EXPECT_EQ(wideMarks, plainMarks);
    EXPECT_NE(plainMarks, pixels);
}

} // namespace

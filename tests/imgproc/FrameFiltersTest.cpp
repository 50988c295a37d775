#include "imgproc/FrameFilters.h"
#include "imgproc/WideInstructions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A frame of one colour with a marker in every padding byte.
std::vector<uint8_t> SolidFrame(
        int width, int height, uint8_t b, uint8_t g, uint8_t r, uint8_t padding = 0xA5)
{
    const std::size_t stride = FrameStride(width);
    std::vector<uint8_t> frame(stride * height, padding);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = frame.data() + y * stride + x * 3;
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    return frame;
}

uint8_t Curve(uint8_t v)
{
    auto frame = SolidFrame(1, 1, v, v, v);
    ApplyContrastCurve(frame.data(), 1, 1);
    return frame[0];
}

bool BinarizesWhite(uint8_t b, uint8_t g, uint8_t r, int threshold)
{
    auto frame = SolidFrame(1, 1, b, g, r);
    EXPECT_EQ(ApplyBinarization(frame.data(), 1, 1, threshold), 0);
    EXPECT_EQ(frame[0], frame[1]);
    EXPECT_EQ(frame[1], frame[2]);
    return frame[0] == 255;
}

// The three-table sum, pixel by pixel, as the reference for the derived red limits.
bool ReferenceWhite(int b, int g, int r, int threshold)
{
    static const auto table = [](float w) {
        std::vector<float> t(256);
        double sum = 0;
        for (int i = 1; i < 256; ++i)
            t[i] = static_cast<float>(sum += w);
        return t;
    };
    static const auto rg = table(0.3f), bl = table(0.11f);
    const double s = double(rg[r]) + double(rg[g]) + double(bl[b]);
    return static_cast<int>(s) >= 255 - threshold;
}

} // namespace

TEST(FrameFilters_Stride, PadsRowsToFourBytes)
{
    EXPECT_EQ(FrameStride(640), 1920u);
    EXPECT_EQ(FrameStride(641), 1924u);
    EXPECT_EQ(FrameStride(642), 1928u);
    EXPECT_EQ(FrameStride(0), 0u);
}

TEST(FrameFilters_ContrastCurve, KnownValues)
{
    EXPECT_EQ(Curve(0), 25);
    EXPECT_EQ(Curve(255), 229);
    EXPECT_EQ(Curve(127), 127);
    EXPECT_EQ(Curve(128), 127);
    EXPECT_EQ(Curve(132), 130); // k just below 0.8
    EXPECT_EQ(Curve(122), 123);
}

TEST(FrameFilters_ContrastCurve, ChannelsAlikeAndPaddingUntouched)
{
    auto frame = SolidFrame(641, 3, 0, 255, 132);
    ApplyContrastCurve(frame.data(), 641, 3);
    const std::size_t stride = FrameStride(641);
    for (int y = 0; y < 3; ++y) {
        const uint8_t* row = frame.data() + y * stride;
        EXPECT_EQ(row[0], 25);
        EXPECT_EQ(row[1], 229);
        EXPECT_EQ(row[2], 130);
        EXPECT_EQ(row[640 * 3 + 2], 130);
        EXPECT_EQ(row[stride - 1], 0xA5) << "row " << y;
    }
}

TEST(FrameFilters_ContrastCurve, EmptyFrameUnchanged)
{
    auto frame = SolidFrame(4, 2, 10, 10, 10);
    const auto before = frame;
    ApplyContrastCurve(frame.data(), 0, 2);
    ApplyContrastCurve(frame.data(), 4, 0);
    ApplyContrastCurve(nullptr, 4, 2);
    EXPECT_EQ(frame, before);
}

TEST(FrameFilters_Binarization, GreyAroundThreshold128)
{
    EXPECT_TRUE(BinarizesWhite(179, 179, 179, 128));
    EXPECT_FALSE(BinarizesWhite(178, 178, 178, 128));
}

TEST(FrameFilters_Binarization, ThresholdExtremes)
{
    for (int t = 0; t <= 73; ++t)
        EXPECT_FALSE(BinarizesWhite(255, 255, 255, t)) << t;
    EXPECT_TRUE(BinarizesWhite(255, 255, 255, 74));
    EXPECT_FALSE(BinarizesWhite(254, 255, 255, 74));
    EXPECT_FALSE(BinarizesWhite(255, 255, 254, 74));
    EXPECT_TRUE(BinarizesWhite(0, 0, 0, 255));
    EXPECT_TRUE(BinarizesWhite(17, 200, 3, 255));
}

TEST(FrameFilters_Binarization, PrimarySums)
{
    // Pure red and green sum to 76, pure blue to 28.
    EXPECT_TRUE(BinarizesWhite(0, 0, 255, 255 - 76));
    EXPECT_FALSE(BinarizesWhite(0, 0, 255, 255 - 77));
    EXPECT_TRUE(BinarizesWhite(0, 255, 0, 255 - 76));
    EXPECT_TRUE(BinarizesWhite(255, 0, 0, 255 - 28));
    EXPECT_FALSE(BinarizesWhite(255, 0, 0, 255 - 29));
}

// The portable path and, where the processor has them, the wide instructions.
class FrameFilters_Paths : public testing::TestWithParam<bool>
{
protected:
    void SetUp() override { AllowWideInstructions(GetParam()); }
    void TearDown() override { AllowWideInstructions(true); }
};

INSTANTIATE_TEST_SUITE_P(WideAndPortable, FrameFilters_Paths, testing::Bool());

TEST_P(FrameFilters_Paths, BinarizationMatchesThreeTableSumForEveryColour)
{
    // Every colour once: 4096 x 4096 pixels.
    const int width = 4096, height = 4096;
    const std::size_t stride = FrameStride(width);
    std::vector<uint8_t> frame(stride * height);
    for (int threshold : { 0, 74, 128, 171 }) {
        for (int i = 0; i < width * height; ++i) {
            frame[i * 3] = i & 0xFF;
            frame[i * 3 + 1] = (i >> 8) & 0xFF;
            frame[i * 3 + 2] = (i >> 16) & 0xFF;
        }
        ASSERT_EQ(ApplyBinarization(frame.data(), width, height, threshold), 0);
        int mismatches = 0;
        for (int i = 0; i < width * height; ++i) {
            const bool white =
                    ReferenceWhite(i & 0xFF, (i >> 8) & 0xFF, (i >> 16) & 0xFF, threshold);
            mismatches += (frame[i * 3] == 255) != white;
        }
        EXPECT_EQ(mismatches, 0) << "threshold " << threshold;
    }
}

TEST_P(FrameFilters_Paths, BinarizationLeavesPaddingAndKeepsRowsAtStride)
{
    auto frame = SolidFrame(641, 4, 200, 200, 200);
    // Last pixel of row 2 dark: only it may turn black.
    const std::size_t stride = FrameStride(641);
    uint8_t* last = frame.data() + 2 * stride + 640 * 3;
    last[0] = last[1] = last[2] = 10;
    ASSERT_EQ(ApplyBinarization(frame.data(), 641, 4, 128), 0);
    for (int y = 0; y < 4; ++y) {
        const uint8_t* row = frame.data() + y * stride;
        EXPECT_EQ(row[0], 255);
        EXPECT_EQ(row[640 * 3], y == 2 ? 0 : 255);
        EXPECT_EQ(row[stride - 1], 0xA5);
    }
}

TEST(FrameFilters_Binarization, EmptyFrameRefused)
{
    auto frame = SolidFrame(4, 2, 10, 10, 10);
    const auto before = frame;
    EXPECT_EQ(ApplyBinarization(frame.data(), 0, 2, 128), -1);
    EXPECT_EQ(ApplyBinarization(frame.data(), 4, 0, 128), -1);
    EXPECT_EQ(ApplyBinarization(frame.data(), -3, 2, 128), -1);
    EXPECT_EQ(ApplyBinarization(nullptr, 4, 2, 128), -1);
    EXPECT_EQ(frame, before);
}

TEST_P(FrameFilters_Paths, ContrastCurveMatchesForEveryValueAtEveryOffset)
{
    // 97 pixels: 291 bytes a row, so both the wide and the byte-wise parts of a row are used.
    const int width = 97, height = 5;
    const std::size_t stride = FrameStride(width);
    std::vector<uint8_t> frame(stride * height, 0xA5);
    int value = 0;
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 3; ++i)
            frame[y * stride + i] = static_cast<uint8_t>(value++ % 256);
    const auto before = frame;
    ApplyContrastCurve(frame.data(), width, height);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 3; ++i) {
            const int v = before[y * stride + i];
            const int expected = static_cast<int>(127.0 + (v - 127) * 0.7999999821186065673828125);
            ASSERT_EQ(frame[y * stride + i], expected) << "value " << v;
        }
}

// Every byte value at every place in a row: the 64-, 32- and 16-byte steps and the tail all
// give the curve as the one-pixel frame gives it, and leave the padding alone.
TEST_P(FrameFilters_Paths, ContrastCurveMatchesTheSinglePixelForEveryByteAndPlace)
{
    uint8_t expected[256];
    for (int v = 0; v < 256; ++v)
        expected[v] = Curve(static_cast<uint8_t>(v));
    for (int width : { 5, 11, 22, 43, 641 }) {
        const std::size_t stride = FrameStride(width);
        const int height = 256 / 3 + 2;
        std::vector<uint8_t> frame(stride * height, 0xA5);
        for (int y = 0; y < height; ++y)
            for (int i = 0; i < width * 3; ++i)
                frame[y * stride + i] = static_cast<uint8_t>(i * 7 + y * 3);
        const auto before = frame;
        ApplyContrastCurve(frame.data(), width, height);
        for (std::size_t i = 0; i < frame.size(); ++i) {
            const bool padding = i % stride >= static_cast<std::size_t>(width) * 3;
            ASSERT_EQ(frame[i], padding ? before[i] : expected[before[i]])
                    << "width " << width << " byte " << i;
        }
    }
}

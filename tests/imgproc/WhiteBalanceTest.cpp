#include "imgproc/WhiteBalance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// One row of 3 pixels (stride 12, three padding bytes).
std::vector<uint8_t> Row(uint8_t b, uint8_t g, uint8_t r)
{
    std::vector<uint8_t> row(12, 0x5A);
    for (int x = 0; x < 3; ++x) {
        row[x * 3] = b;
        row[x * 3 + 1] = g;
        row[x * 3 + 2] = r;
    }
    return row;
}

} // namespace

TEST(WhiteBalance_Gains, OffsetsClampAndLeaveGreen)
{
    auto row = Row(100, 77, 250);
    ASSERT_EQ(ApplyWhiteBalance(row.data(), 3, 1, 31, -32), 0);
    EXPECT_EQ(row[2], 255);
    EXPECT_EQ(row[0], 68);
    EXPECT_EQ(row[1], 77);

    row = Row(10, 77, 10);
    ASSERT_EQ(ApplyWhiteBalance(row.data(), 3, 1, -32, 31), 0);
    EXPECT_EQ(row[2], 0);
    EXPECT_EQ(row[0], 41);
    EXPECT_EQ(row[1], 77);
    EXPECT_EQ(row[8], 0); // last pixel's red
}

TEST(WhiteBalance_Gains, ZeroGainsAndPaddingUnchanged)
{
    auto row = Row(1, 2, 3);
    const auto before = row;
    ASSERT_EQ(ApplyWhiteBalance(row.data(), 3, 1, 0, 0), 0);
    EXPECT_EQ(row, before);
    ASSERT_EQ(ApplyWhiteBalance(row.data(), 3, 1, 63, 63), 0);
    EXPECT_EQ(row[9], 0x5A);
    EXPECT_EQ(row[11], 0x5A);
}

TEST(WhiteBalance_Gains, ExtremeGainsSaturate)
{
    auto row = Row(128, 128, 128);
    ASSERT_EQ(ApplyWhiteBalance(row.data(), 3, 1, 2147483647, -2147483647 - 1), 0);
    EXPECT_EQ(row[2], 255);
    EXPECT_EQ(row[0], 0);
}

TEST(WhiteBalance_Gains, EmptyFrameRefused)
{
    auto row = Row(1, 2, 3);
    EXPECT_EQ(ApplyWhiteBalance(row.data(), 0, 1, 5, 5), -1);
    EXPECT_EQ(ApplyWhiteBalance(row.data(), 3, 0, 5, 5), -1);
    EXPECT_EQ(ApplyWhiteBalance(nullptr, 3, 1, 5, 5), -1);
    EXPECT_EQ(row, Row(1, 2, 3));
}

TEST(WhiteBalance_Gains, WideRowsMatchPerPixelRule)
{
    // 37 pixels: two blocks of sixteen and a remainder, with every value in every channel.
    const int width = 37, height = 7;
    const int stride = (width * 24 + 31) / 32 * 4;
    std::vector<uint8_t> frame(stride * height, 0x5A);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 3; ++i)
            frame[y * stride + i] = static_cast<uint8_t>((y * 111 + i * 7) % 256);
    for (const auto [red, blue] : { std::pair { 31, -32 }, { -5, 17 }, { 0, 0 }, { 300, -300 } }) {
        auto out = frame;
        ASSERT_EQ(ApplyWhiteBalance(out.data(), width, height, red, blue), 0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int at = y * stride + x * 3;
                EXPECT_EQ(out[at], std::clamp(frame[at] + blue, 0, 255));
                EXPECT_EQ(out[at + 1], frame[at + 1]);
                EXPECT_EQ(out[at + 2], std::clamp(frame[at + 2] + red, 0, 255));
            }
            EXPECT_EQ(out[y * stride + stride - 1], 0x5A);
        }
    }
}

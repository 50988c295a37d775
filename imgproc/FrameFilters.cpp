#include "imgproc/FrameFilters.h"

#include <array>
#include <cstring>

namespace {

// 40 x float(0.02): a hair below 0.8, so 132 maps to 130 and not 131.
constexpr double kContrastSlope = 0.7999999821186065673828125;

// The weights as the original single-precision constants; green shares red's 0.3.
constexpr float kRedGreenWeight = 0.3f;
constexpr float kBlueWeight = 0.11f;

using ByteTable = std::array<uint8_t, 256>;
using WeightTable = std::array<float, 256>;

void BuildContrastTable(ByteTable& table)
{
    for (int v = 0; v < 256; ++v) {
        const int out = static_cast<int>(127.0 + (v - 127) * kContrastSlope);
        table[v] = static_cast<uint8_t>(out < 0 ? 0 : (out > 255 ? 255 : out));
    }
}

// Repeated addition in double, each entry rounded to single precision: the sums of this
// arithmetic (white 181, grey v -> trunc(0.71 v)) are what users' thresholds were set against.
void BuildWeightTable(WeightTable& table, float weight)
{
    double sum = 0.0;
    table[0] = 0.0f;
    for (int i = 1; i < 256; ++i) {
        sum += weight;
        table[i] = static_cast<float>(sum);
    }
}

// For every (green, blue) the smallest red that makes the pixel white (256: none). The tables
// grow with their index, so the per-pixel test reduces to one lookup and one compare while
// giving exactly the decision of the three-table sum.
using RedLimitTable = std::array<uint16_t, 256 * 256>;

void BuildRedLimits(RedLimitTable& limits, const WeightTable& red, const WeightTable& green,
        const WeightTable& blue, int minimumSum)
{
    const auto isWhite = [&](int r, int g, int b) {
        const double s = static_cast<double>(red[r]) + static_cast<double>(green[g])
                + static_cast<double>(blue[b]);
        return static_cast<int>(s) >= minimumSum;
    };
    for (int g = 0; g < 256; ++g) {
        int r = 256;
        // A larger blue never needs a larger red: walk red down as blue goes up.
        for (int b = 0; b < 256; ++b) {
            while (r > 0 && isWhite(r - 1, g, b))
                --r;
            limits[g * 256 + b] = static_cast<uint16_t>(r);
        }
    }
}

bool ValidFrame(const uint8_t* buffer, int width, int height)
{
    return buffer != nullptr && width > 0 && height > 0;
}

} // namespace

std::size_t FrameStride(int width)
{
    if (width <= 0)
        return 0;
    return (static_cast<std::size_t>(width) * 24 + 31) / 32 * 4;
}

void ApplyContrastCurve(uint8_t* buffer, int width, int height)
{
    if (!ValidFrame(buffer, width, height))
        return;
    ByteTable table;
    BuildContrastTable(table);
    const std::size_t stride = FrameStride(width);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = buffer + stride * static_cast<std::size_t>(y);
        for (std::size_t i = 0; i < rowBytes; ++i)
            p[i] = table[p[i]];
    }
}

int ApplyBinarization(uint8_t* buffer, int width, int height, int threshold)
{
    if (!ValidFrame(buffer, width, height))
        return -1;
    WeightTable red, green, blue;
    BuildWeightTable(red, kRedGreenWeight);
    BuildWeightTable(green, kRedGreenWeight);
    BuildWeightTable(blue, kBlueWeight);
    RedLimitTable limits;
    BuildRedLimits(limits, red, green, blue, 255 - threshold);

    const std::size_t stride = FrameStride(width);
    for (int y = 0; y < height; ++y) {
        uint8_t* p = buffer + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const uint8_t v = p[2] >= limits[p[1] * 256 + p[0]] ? 255 : 0;
            p[0] = v;
            p[1] = v;
            p[2] = v;
        }
    }
    return 0;
}

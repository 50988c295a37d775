#include "imgproc/FrameFilters.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// 40 x float(0.02): a hair below 0.8, so 132 maps to 130 and not 131.
constexpr double kContrastSlope = 0.7999999821186065673828125;

// The weights as the original single-precision constants; green shares red's 0.3.
constexpr float kRedGreenWeight = 0.3f;
constexpr float kBlueWeight = 0.11f;

using ByteTable = std::array<uint8_t, 256>;
using WeightTable = std::array<float, 256>;

constexpr uint8_t ContrastEntry(int v)
{
    const int out = static_cast<int>(127.0 + (v - 127) * kContrastSlope);
    return static_cast<uint8_t>(out < 0 ? 0 : (out > 255 ? 255 : out));
}

// The same curve in integers, so that it runs sixteen bytes at a time: because k is a hair
// below 0.8, v above 127 loses one quarter-step, which the "- 1" inside the division carries.
constexpr int ContrastByFifths(int v)
{
    return (4 * v + 2 - (v > 127 ? 1 : 0)) / 5 + 25;
}

constexpr bool ContrastFormsAgree()
{
    for (int v = 0; v < 256; ++v)
        if (ContrastEntry(v) != ContrastByFifths(v))
            return false;
    return true;
}
static_assert(ContrastFormsAgree(), "the integer curve must equal the table");

void BuildContrastTable(ByteTable& table)
{
    for (int v = 0; v < 256; ++v)
        table[v] = ContrastEntry(v);
}

#if defined(__SSE2__)
// Sixteen bytes of ContrastByFifths; x / 5 as (x x 52429) >> 18, exact for x below 1024.
inline __m128i ContrastSixteen(__m128i bytes)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i above = _mm_set1_epi16(127);
    const __m128i two = _mm_set1_epi16(2);
    const __m128i fifth = _mm_set1_epi16(static_cast<short>(52429));
    const __m128i base = _mm_set1_epi16(25);
    const auto half = [&](__m128i v) {
        // cmpgt gives -1 in the lanes above 127.
        __m128i x = _mm_add_epi16(_mm_slli_epi16(v, 2), two);
        x = _mm_add_epi16(x, _mm_cmpgt_epi16(v, above));
        return _mm_add_epi16(_mm_srli_epi16(_mm_mulhi_epu16(x, fifth), 2), base);
    };
    return _mm_packus_epi16(
            half(_mm_unpacklo_epi8(bytes, zero)), half(_mm_unpackhi_epi8(bytes, zero)));
}
#endif

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
        std::size_t i = 0;
#if defined(__SSE2__)
        for (; i + 16 <= rowBytes; i += 16) {
            auto* chunk = reinterpret_cast<__m128i*>(p + i);
            _mm_storeu_si128(chunk, ContrastSixteen(_mm_loadu_si128(chunk)));
        }
#endif
        for (; i < rowBytes; ++i)
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
            // Blue and green read as one little-endian 16-bit value are the index g x 256 + b.
            uint16_t blueGreen;
            if constexpr (std::endian::native == std::endian::little)
                std::memcpy(&blueGreen, p, 2);
            else
                blueGreen = static_cast<uint16_t>(p[1] * 256 + p[0]);
            const uint8_t v = p[2] >= limits[blueGreen] ? 255 : 0;
            p[0] = v;
            p[1] = v;
            p[2] = v;
        }
    }
    return 0;
}

#include "imgproc/FrameFilters.h"

#include "imgproc/WideInstructions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(KALVEX_X86_DISPATCH)
#include <immintrin.h>
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

bool ThreeTableWhite(const uint8_t* p, const WeightTable& red, const WeightTable& green,
        const WeightTable& blue, int minimumSum)
{
    const double s = static_cast<double>(red[p[2]]) + static_cast<double>(green[p[1]])
            + static_cast<double>(blue[p[0]]);
    return static_cast<int>(s) >= minimumSum;
}

#if defined(KALVEX_X86_DISPATCH)
// Sixteen pixels at a time in fixed point (2^22 per unit). Rounded weights stay within
// 9.2e-5 of the double sum and the tables' single precision within 1.2e-5 of it; a pixel whose
// fixed-point sum lies within 2.4e-4 of the limit is decided by the tables themselves, so the
// outcome is the tables' to the last pixel.
constexpr int kFixedShift = 22;
constexpr int kFixedMargin = 1024;
constexpr int FixedWeight(float weight)
{
    return static_cast<int>(static_cast<double>(weight) * (1 << kFixedShift) + 0.5);
}

// Sixteen 0 / -1 lanes to sixteen 0 / 255 bytes in pixel order.
__attribute__((target("avx2"))) inline __m128i LanesToBytes(__m256i low, __m256i high)
{
    const __m256i words =
            _mm256_permute4x64_epi64(_mm256_packs_epi32(low, high), _MM_SHUFFLE(3, 1, 2, 0));
    return _mm_packs_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
}

__attribute__((target("avx2"))) int BinarizeRowWide(uint8_t* p, int width, int minimumSum,
        const WeightTable& red, const WeightTable& green, const WeightTable& blue)
{
    alignas(16) static constexpr auto channelMask = [] {
        std::array<std::array<std::array<int8_t, 16>, 3>, 3> masks {};
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k)
                for (int i = 0; i < 16; ++i) {
                    const int at = 3 * i + c - 16 * k;
                    masks[c][k][i] = static_cast<int8_t>(at >= 0 && at < 16 ? at : -128);
                }
        return masks;
    }();
    alignas(16) static constexpr auto spreadMask = [] {
        std::array<std::array<int8_t, 16>, 3> masks {};
        for (int k = 0; k < 3; ++k)
            for (int t = 0; t < 16; ++t)
                masks[k][t] = static_cast<int8_t>((16 * k + t) / 3);
        return masks;
    }();
    const auto mask = [](const std::array<int8_t, 16>& m) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(m.data()));
    };
    const __m256i redGreenWeight = _mm256_set1_epi32(FixedWeight(kRedGreenWeight));
    const __m256i blueWeight = _mm256_set1_epi32(FixedWeight(kBlueWeight));
    const __m256i whiteAbove = _mm256_set1_epi32((minimumSum << kFixedShift) + kFixedMargin - 1);
    const __m256i notBlackAbove = _mm256_set1_epi32((minimumSum << kFixedShift) - kFixedMargin - 1);

    int x = 0;
    for (; x + 16 <= width; x += 16, p += 48) {
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
        __m128i channel[3];
        for (int c = 0; c < 3; ++c)
            channel[c] = _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(v0, mask(channelMask[c][0])),
                                              _mm_shuffle_epi8(v1, mask(channelMask[c][1]))),
                    _mm_shuffle_epi8(v2, mask(channelMask[c][2])));
        // Lanes 0-7 from the low eight pixels, 8-15 from the high eight.
        const __m128i high[3] = { _mm_srli_si128(channel[0], 8), _mm_srli_si128(channel[1], 8),
            _mm_srli_si128(channel[2], 8) };
        __m256i white[2], unsure[2];
        for (int half = 0; half < 2; ++half) {
            const __m128i* bytes = half ? high : channel;
            const __m256i redGreen = _mm256_add_epi32(
                    _mm256_cvtepu8_epi32(bytes[2]), _mm256_cvtepu8_epi32(bytes[1]));
            const __m256i sum = _mm256_add_epi32(_mm256_mullo_epi32(redGreen, redGreenWeight),
                    _mm256_mullo_epi32(_mm256_cvtepu8_epi32(bytes[0]), blueWeight));
            white[half] = _mm256_cmpgt_epi32(sum, whiteAbove);
            unsure[half] = _mm256_andnot_si256(white[half], _mm256_cmpgt_epi32(sum, notBlackAbove));
        }
        const __m128i whiteBytes = LanesToBytes(white[0], white[1]);
        const int unsureBits = _mm_movemask_epi8(LanesToBytes(unsure[0], unsure[1]));
        for (int k = 0; k < 3; ++k)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16 * k),
                    _mm_shuffle_epi8(whiteBytes, mask(spreadMask[k])));
        if (unsureBits != 0) {
            // The stored bytes were overwritten; the original ones are still in v0-v2.
            alignas(16) uint8_t original[48];
            _mm_store_si128(reinterpret_cast<__m128i*>(original), v0);
            _mm_store_si128(reinterpret_cast<__m128i*>(original + 16), v1);
            _mm_store_si128(reinterpret_cast<__m128i*>(original + 32), v2);
            for (int i = 0; i < 16; ++i)
                if (unsureBits & (1 << i)) {
                    const bool w = ThreeTableWhite(original + 3 * i, red, green, blue, minimumSum);
                    p[3 * i] = p[3 * i + 1] = p[3 * i + 2] = w ? 255 : 0;
                }
        }
    }
    return x;
}

// The same thirty-two bytes at a time; returns how many bytes of the row it did.
__attribute__((target("avx2"))) std::size_t ContrastRowWide(uint8_t* p, std::size_t length)
{
    const __m256i above = _mm256_set1_epi16(127);
    const __m256i two = _mm256_set1_epi16(2);
    const __m256i fifth = _mm256_set1_epi16(static_cast<short>(52429));
    const __m256i base = _mm256_set1_epi16(25);
    std::size_t i = 0;
    for (; i + 32 <= length; i += 32) {
        auto* chunk = reinterpret_cast<__m256i*>(p + i);
        const __m256i bytes = _mm256_loadu_si256(chunk);
        __m256i half[2];
        for (int k = 0; k < 2; ++k) {
            const __m256i v = _mm256_cvtepu8_epi16(
                    k ? _mm256_extracti128_si256(bytes, 1) : _mm256_castsi256_si128(bytes));
            __m256i x = _mm256_add_epi16(_mm256_slli_epi16(v, 2), two);
            x = _mm256_add_epi16(x, _mm256_cmpgt_epi16(v, above));
            half[k] = _mm256_add_epi16(_mm256_srli_epi16(_mm256_mulhi_epu16(x, fifth), 2), base);
        }
        // packus works per 128-bit lane: put the quarters back in order.
        _mm256_storeu_si256(chunk,
                _mm256_permute4x64_epi64(
                        _mm256_packus_epi16(half[0], half[1]), _MM_SHUFFLE(3, 1, 2, 0)));
    }
    return i;
}

#endif

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
#if defined(KALVEX_X86_DISPATCH)
    const bool wide = UseWideInstructions();
#endif
    for (int y = 0; y < height; ++y) {
        uint8_t* p = buffer + stride * static_cast<std::size_t>(y);
        std::size_t i = 0;
#if defined(KALVEX_X86_DISPATCH)
        if (wide)
            i = ContrastRowWide(p, rowBytes);
#endif
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
    // Sums lie in 0-181: beyond these limits every pixel goes the same way.
    const int minimumSum = std::clamp(255 - threshold, 0, 255);
    const std::size_t stride = FrameStride(width);

#if defined(KALVEX_X86_DISPATCH)
    if (UseWideInstructions()) {
        for (int y = 0; y < height; ++y) {
            uint8_t* row = buffer + stride * static_cast<std::size_t>(y);
            const int done = BinarizeRowWide(row, width, minimumSum, red, green, blue);
            for (uint8_t* p = row + 3 * done; p < row + 3 * static_cast<std::size_t>(width); p += 3)
                p[0] = p[1] = p[2] = ThreeTableWhite(p, red, green, blue, minimumSum) ? 255 : 0;
        }
        return 0;
    }
#endif

    RedLimitTable limits;
    BuildRedLimits(limits, red, green, blue, minimumSum);
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

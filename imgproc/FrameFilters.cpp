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

// The division as the vector code does it: a 16-bit multiply keeping the high half.
constexpr int ContrastByMultiply(int v)
{
    return ((4 * v + 2 - (v > 127 ? 1 : 0)) * 13108 >> 16) + 25;
}

constexpr bool ContrastFormsAgree()
{
    for (int v = 0; v < 256; ++v)
        if (ContrastEntry(v) != ContrastByFifths(v) || ContrastByFifths(v) != ContrastByMultiply(v))
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
// Sixteen bytes of ContrastByFifths without unpacking: the even and the odd bytes are worked
// on as 16-bit lanes side by side and put back together with a shift. x / 5 as
// (x x 13108) >> 16, exact for every x the curve makes.
inline __m128i ContrastSixteen(__m128i bytes)
{
    const __m128i low = _mm_set1_epi16(0x00FF);
    const __m128i above = _mm_set1_epi16(127);
    const __m128i two = _mm_set1_epi16(2);
    const __m128i fifth = _mm_set1_epi16(13108);
    const auto lanes = [&](__m128i v) {
        // cmpgt gives -1 in the lanes above 127.
        const __m128i x =
                _mm_add_epi16(_mm_slli_epi16(v, 2), _mm_add_epi16(two, _mm_cmpgt_epi16(v, above)));
        return _mm_mulhi_epu16(x, fifth);
    };
    const __m128i even = lanes(_mm_and_si128(bytes, low));
    const __m128i odd = lanes(_mm_srli_epi16(bytes, 8));
    return _mm_add_epi8(_mm_or_si128(even, _mm_slli_epi16(odd, 8)), _mm_set1_epi8(25));
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
// Thirty-two pixels at a time in 16-bit fixed point, 128 per unit: rounded weights and the
// truncating multiplies keep the fixed-point sum within 2.5 of 128 x the tables' sum. A pixel
// within 3 of the limit is decided by the tables themselves, so the outcome is the tables'
// to the last pixel; with camera pictures that is a pixel in thousands.
constexpr int kFixedUnit = 128;
constexpr int kFixedMargin = 3;
constexpr int kRedGreenFixed = 19661; // 0.3 x 65536; applied to (r + g) x 128
constexpr int kBlueFixed = 3604; // 0.11 x 128 x 256; applied to b x 256

__attribute__((target("avx2"))) inline __m256i BothLanes(const std::array<int8_t, 16>& m)
{
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m.data())));
}

__attribute__((target("avx2"))) inline __m256i LoadGroups(const uint8_t* p)
{
    // Lane 0 holds bytes 0-15 of the first 48-byte group, lane 1 the same of the second.
    return _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 48)), 1);
}

__attribute__((target("avx2"))) int BinarizeRowWide(uint8_t* p, int width, int minimumSum,
        const WeightTable& red, const WeightTable& green, const WeightTable& blue)
{
    static constexpr auto channelMask = [] {
        std::array<std::array<std::array<int8_t, 16>, 3>, 3> masks {};
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k)
                for (int i = 0; i < 16; ++i) {
                    const int at = 3 * i + c - 16 * k;
                    masks[c][k][i] = static_cast<int8_t>(at >= 0 && at < 16 ? at : -128);
                }
        return masks;
    }();
    static constexpr auto spreadMask = [] {
        std::array<std::array<int8_t, 16>, 3> masks {};
        for (int k = 0; k < 3; ++k)
            for (int t = 0; t < 16; ++t)
                masks[k][t] = static_cast<int8_t>((16 * k + t) / 3);
        return masks;
    }();
    __m256i pick[3][3], spread[3];
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 3; ++k)
            pick[c][k] = BothLanes(channelMask[c][k]);
    for (int k = 0; k < 3; ++k)
        spread[k] = BothLanes(spreadMask[k]);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i redGreenWeight = _mm256_set1_epi16(static_cast<short>(kRedGreenFixed));
    const __m256i blueWeight = _mm256_set1_epi16(static_cast<short>(kBlueFixed));
    const int limit = minimumSum * kFixedUnit;
    const __m256i whiteAbove = _mm256_set1_epi16(static_cast<short>(limit + kFixedMargin - 1));
    const __m256i notBlackAbove = _mm256_set1_epi16(static_cast<short>(limit - kFixedMargin));

    int x = 0;
    for (; x + 32 <= width; x += 32, p += 96) {
        const __m256i v[3] = { LoadGroups(p), LoadGroups(p + 16), LoadGroups(p + 32) };
        __m256i channel[3];
        for (int c = 0; c < 3; ++c)
            channel[c] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(v[0], pick[c][0]),
                                                 _mm256_shuffle_epi8(v[1], pick[c][1])),
                    _mm256_shuffle_epi8(v[2], pick[c][2]));
        __m256i white[2], unsure[2];
        for (int half = 0; half < 2; ++half) {
            const __m256i b = half ? _mm256_unpackhi_epi8(channel[0], zero)
                                   : _mm256_unpacklo_epi8(channel[0], zero);
            const __m256i g = half ? _mm256_unpackhi_epi8(channel[1], zero)
                                   : _mm256_unpacklo_epi8(channel[1], zero);
            const __m256i r = half ? _mm256_unpackhi_epi8(channel[2], zero)
                                   : _mm256_unpacklo_epi8(channel[2], zero);
            const __m256i sum = _mm256_add_epi16(
                    _mm256_mulhi_epu16(
                            _mm256_slli_epi16(_mm256_add_epi16(r, g), 7), redGreenWeight),
                    _mm256_mulhi_epu16(_mm256_slli_epi16(b, 8), blueWeight));
            white[half] = _mm256_cmpgt_epi16(sum, whiteAbove);
            unsure[half] = _mm256_andnot_si256(white[half], _mm256_cmpgt_epi16(sum, notBlackAbove));
        }
        // Per lane: pixels 0-15 of that lane's group, in order.
        const __m256i whiteBytes = _mm256_packs_epi16(white[0], white[1]);
        const auto unsureBits = static_cast<uint32_t>(
                _mm256_movemask_epi8(_mm256_packs_epi16(unsure[0], unsure[1])));
        alignas(32) uint8_t original[96];
        if (unsureBits != 0)
            for (int k = 0; k < 3; ++k) {
                _mm_store_si128(reinterpret_cast<__m128i*>(original + 16 * k),
                        _mm256_castsi256_si128(v[k]));
                _mm_store_si128(reinterpret_cast<__m128i*>(original + 48 + 16 * k),
                        _mm256_extracti128_si256(v[k], 1));
            }
        for (int k = 0; k < 3; ++k) {
            const __m256i out = _mm256_shuffle_epi8(whiteBytes, spread[k]);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16 * k), _mm256_castsi256_si128(out));
            _mm_storeu_si128(
                    reinterpret_cast<__m128i*>(p + 48 + 16 * k), _mm256_extracti128_si256(out, 1));
        }
        if (unsureBits != 0)
            for (int i = 0; i < 32; ++i)
                if (unsureBits & (1u << i)) {
                    const bool w = ThreeTableWhite(original + 3 * i, red, green, blue, minimumSum);
                    p[3 * i] = p[3 * i + 1] = p[3 * i + 2] = w ? 255 : 0;
                }
    }
    return x;
}

// ContrastSixteen on thirty-two bytes.
__attribute__((target("avx2"))) inline __m256i ContrastThirtyTwo(__m256i bytes)
{
    const __m256i low = _mm256_set1_epi16(0x00FF);
    const __m256i above = _mm256_set1_epi16(127);
    const __m256i two = _mm256_set1_epi16(2);
    const __m256i fifth = _mm256_set1_epi16(13108);
    const auto lanes = [&](__m256i v) __attribute__((target("avx2")))
    {
        const __m256i x = _mm256_add_epi16(
                _mm256_slli_epi16(v, 2), _mm256_add_epi16(two, _mm256_cmpgt_epi16(v, above)));
        return _mm256_mulhi_epu16(x, fifth);
    };
    const __m256i even = lanes(_mm256_and_si256(bytes, low));
    const __m256i odd = lanes(_mm256_srli_epi16(bytes, 8));
    return _mm256_add_epi8(_mm256_or_si256(even, _mm256_slli_epi16(odd, 8)), _mm256_set1_epi8(25));
}

// Sixty-four bytes at a time, two independent halves; returns how many bytes of the row it did.
__attribute__((target("avx2"))) std::size_t ContrastRowWide(uint8_t* p, std::size_t length)
{
    std::size_t i = 0;
    for (; i + 64 <= length; i += 64) {
        auto* first = reinterpret_cast<__m256i*>(p + i);
        auto* second = reinterpret_cast<__m256i*>(p + i + 32);
        const __m256i a = _mm256_loadu_si256(first);
        const __m256i b = _mm256_loadu_si256(second);
        _mm256_storeu_si256(first, ContrastThirtyTwo(a));
        _mm256_storeu_si256(second, ContrastThirtyTwo(b));
    }
    for (; i + 32 <= length; i += 32) {
        auto* chunk = reinterpret_cast<__m256i*>(p + i);
        _mm256_storeu_si256(chunk, ContrastThirtyTwo(_mm256_loadu_si256(chunk)));
    }
    return i;
}

#endif

} // namespace

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

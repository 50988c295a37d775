#include "imgproc/FocusMeasure.h"

#include "base/FrameLayout.h"
#include "imgproc/LiveHistogram.h"
#include "imgproc/WideInstructions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#if defined(KALVEX_X86_DISPATCH)
#include <immintrin.h>
#endif

namespace {

// Grey for peaking in 128ths (blue, green, red): the weights fit one byte multiply of the
// wide loops, and full white stays 255. Peaking looks for edges only, so it needs not the
// finer weights of the meter and the histogram.
constexpr int kPeakBlue = 15;
constexpr int kPeakGreen = 75;
constexpr int kPeakRed = 38;
constexpr int kPeakShift = 7;

inline int PeakGrey(uint32_t p)
{
    return (int(p & 0xFF) * kPeakBlue + int(p >> 8 & 0xFF) * kPeakGreen
                   + int(p >> 16 & 0xFF) * kPeakRed)
            >> kPeakShift;
}

// The row loops, written so the compiler turns them into vector code: once for every
// processor and once more for AVX2, chosen at run time.
#define KALVEX_FOCUS_KERNELS                                                                       \
    void GreyOfBgrRow(const uint8_t* row, int16_t* grey, int count)                                \
    {                                                                                              \
        for (int x = 0; x < count; ++x)                                                            \
            grey[x] = static_cast<int16_t>(                                                        \
                    CLiveHistogram::Grey(row[3 * x], row[3 * x + 1], row[3 * x + 2]));             \
    }                                                                                              \
    void GreyOfXrgbRow(const uint8_t* bytes, int16_t* grey, int count)                             \
    {                                                                                              \
        /* xRGB in memory on a little-endian machine: blue, green, red, unused. */                 \
        const auto* row = reinterpret_cast<const uint32_t*>(bytes);                                \
        for (int x = 0; x < count; ++x) {                                                          \
            const uint32_t p = row[x];                                                             \
            grey[x] = static_cast<int16_t>(PeakGrey(p));                                           \
        }                                                                                          \
    }                                                                                              \
    /* Sum and sum of squares of the Laplacian of the middle row, x = 1 .. count - 2. The    */    \
    /* squares of 2048 pixels fit in 32 bits.                                                  */  \
    void LaplaceRow(const int16_t* above, const int16_t* middle, const int16_t* below, int count,  \
            int64_t& sum, int64_t& squares)                                                        \
    {                                                                                              \
        for (int start = 1; start + 1 < count; start += 2048) {                                    \
            const int end = std::min(start + 2048, count - 1);                                     \
            int32_t partSum = 0;                                                                   \
            uint32_t partSquares = 0;                                                              \
            for (int x = start; x < end; ++x) {                                                    \
                const int32_t laplace =                                                            \
                        above[x] + below[x] + middle[x - 1] + middle[x + 1] - 4 * middle[x];       \
                partSum += laplace;                                                                \
                partSquares += static_cast<uint32_t>(laplace * laplace);                           \
            }                                                                                      \
            sum += partSum;                                                                        \
            squares += partSquares;                                                                \
        }                                                                                          \
    }                                                                                              \
    /* Sobel |gx| + |gy| of the middle row into strength; returns the strongest. */                \
    int EdgeRow(const int16_t* above, const int16_t* middle, const int16_t* below,                 \
            int16_t* strength, int count)                                                          \
    {                                                                                              \
        int16_t strongest = 0;                                                                     \
        for (int x = 1; x + 1 < count; ++x) {                                                      \
            const int16_t gx =                                                                     \
                    static_cast<int16_t>((above[x + 1] + 2 * middle[x + 1] + below[x + 1])         \
                            - (above[x - 1] + 2 * middle[x - 1] + below[x - 1]));                  \
            const int16_t gy = static_cast<int16_t>((below[x - 1] + 2 * below[x] + below[x + 1])   \
                    - (above[x - 1] + 2 * above[x] + above[x + 1]));                               \
            const int16_t edge = static_cast<int16_t>(std::abs(gx) + std::abs(gy));                \
            strength[x] = edge;                                                                    \
            strongest = std::max(strongest, edge);                                                 \
        }                                                                                          \
        return strongest;                                                                          \
    }                                                                                              \
    /* A blend of the whole row: cheaper than a masked store or a branch by stretch.          */   \
    void MarkRow(                                                                                  \
            uint32_t* row, const int16_t* strength, int count, int16_t threshold, uint32_t colour) \
    {                                                                                              \
        for (int x = 1; x + 1 < count; ++x)                                                        \
            row[x] = strength[x] >= threshold ? colour : row[x];                                   \
    }

namespace plain {
KALVEX_FOCUS_KERNELS
} // namespace plain

#if defined(KALVEX_X86_DISPATCH)
namespace wide {
#pragma GCC push_options
#pragma GCC target("avx2")
KALVEX_FOCUS_KERNELS

// GreyOfXrgbRow eight pixels at once, the same numbers: a byte multiply gives each pixel's
// weighted blue and green beside its weighted red, and the pairs add.
inline __m256i GreyOfEight(const uint8_t* at)
{
    const __m256i weights = _mm256_set1_epi32(kPeakBlue | kPeakGreen << 8 | kPeakRed << 16);
    const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    return _mm256_srli_epi32(
            _mm256_madd_epi16(_mm256_maddubs_epi16(p, weights), _mm256_set1_epi16(1)), kPeakShift);
}

void GreyOfXrgbRowWide(const uint8_t* bytes, int16_t* grey, int count)
{
    int x = 0;
    for (; x + 16 <= count; x += 16) {
        const uint8_t* at = bytes + static_cast<std::size_t>(4) * x;
        const __m256i packed = _mm256_packs_epi32(GreyOfEight(at), GreyOfEight(at + 32));
        _mm256_storeu_si256(
                reinterpret_cast<__m256i*>(grey + x), _mm256_permute4x64_epi64(packed, 0xD8));
    }
    GreyOfXrgbRow(bytes + static_cast<std::size_t>(4) * x, grey + x, count - x);
}

inline __m256i At(const int16_t* line, int x)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(line + x));
}

// EdgeRow and MarkRow in one pass, 16 pixels a step; a step without a mark is not written.
int EdgeMarkRowWide(const int16_t* above, const int16_t* middle, const int16_t* below,
        uint32_t* row, int count, int16_t threshold, uint32_t colour)
{
    const __m256i limit = _mm256_set1_epi16(static_cast<int16_t>(threshold - 1));
    const __m256i paint = _mm256_set1_epi32(static_cast<int>(colour));
    __m256i strongest = _mm256_setzero_si256();
    // The wide steps store to 32-byte boundaries; the pixels before the first go the plain way.
    int x = 1;
    int best = 0;
    const int head = static_cast<int>((32 - reinterpret_cast<uintptr_t>(row + 1) % 32) % 32 / 4);
    if (head > 0 && head + 17 <= count) {
        int16_t strength[10];
        best = EdgeRow(above, middle, below, strength, head + 2);
        MarkRow(row, strength, head + 2, threshold, colour);
        x += head;
    }
    for (; x + 17 <= count; x += 16) {
        const __m256i a0 = At(above, x - 1);
        const __m256i a2 = At(above, x + 1);
        const __m256i b0 = At(below, x - 1);
        const __m256i b2 = At(below, x + 1);
        const __m256i gx = _mm256_sub_epi16(
                _mm256_add_epi16(_mm256_add_epi16(a2, b2), _mm256_slli_epi16(At(middle, x + 1), 1)),
                _mm256_add_epi16(
                        _mm256_add_epi16(a0, b0), _mm256_slli_epi16(At(middle, x - 1), 1)));
        const __m256i gy = _mm256_sub_epi16(
                _mm256_add_epi16(_mm256_add_epi16(b0, b2), _mm256_slli_epi16(At(below, x), 1)),
                _mm256_add_epi16(_mm256_add_epi16(a0, a2), _mm256_slli_epi16(At(above, x), 1)));
        const __m256i edge = _mm256_add_epi16(_mm256_abs_epi16(gx), _mm256_abs_epi16(gy));
        strongest = _mm256_max_epi16(strongest, edge);
        const __m256i marked = _mm256_cmpgt_epi16(edge, limit);
        if (_mm256_testz_si256(marked, marked))
            continue;
        // Both halves start on a 32-byte boundary: a blend of what is there.
        auto* left = reinterpret_cast<__m256i*>(row + x);
        auto* right = reinterpret_cast<__m256i*>(row + x + 8);
        _mm256_storeu_si256(left,
                _mm256_blendv_epi8(_mm256_loadu_si256(left), paint,
                        _mm256_cvtepi16_epi32(_mm256_castsi256_si128(marked))));
        _mm256_storeu_si256(right,
                _mm256_blendv_epi8(_mm256_loadu_si256(right), paint,
                        _mm256_cvtepi16_epi32(_mm256_extracti128_si256(marked, 1))));
    }
    __m128i folded = _mm_max_epi16(
            _mm256_castsi256_si128(strongest), _mm256_extracti128_si256(strongest, 1));
    folded = _mm_max_epi16(folded, _mm_srli_si128(folded, 8));
    folded = _mm_max_epi16(folded, _mm_srli_si128(folded, 4));
    folded = _mm_max_epi16(folded, _mm_srli_si128(folded, 2));
    best = std::max(best, _mm_extract_epi16(folded, 0));
    // The last pixels: the plain loops from x - 1, so their first strength is x.
    if (x + 1 < count) {
        int16_t strength[17];
        const int rest = count - (x - 1);
        best = std::max(
                best, EdgeRow(above + x - 1, middle + x - 1, below + x - 1, strength, rest));
        MarkRow(row + x - 1, strength, rest, threshold, colour);
    }
    return best;
}
#pragma GCC pop_options
} // namespace wide
#endif

#undef KALVEX_FOCUS_KERNELS

struct Kernels
{
    void (*greyOfBgr)(const uint8_t*, int16_t*, int);
    void (*greyOfXrgb)(const uint8_t*, int16_t*, int);
    void (*laplace)(const int16_t*, const int16_t*, const int16_t*, int, int64_t&, int64_t&);
    // Strengths and marks of a row together; returns the strongest edge.
    int (*edgeMark)(
            const int16_t*, const int16_t*, const int16_t*, uint32_t*, int, int16_t, uint32_t);
};

// The plain loops one after the other, strengths through a row buffer.
int PlainEdgeMarkRow(const int16_t* above, const int16_t* middle, const int16_t* below,
        uint32_t* row, int count, int16_t threshold, uint32_t colour)
{
    thread_local std::vector<int16_t> strength;
    strength.resize(static_cast<std::size_t>(count));
    const int strongest = plain::EdgeRow(above, middle, below, strength.data(), count);
    if (strongest >= threshold)
        plain::MarkRow(row, strength.data(), count, threshold, colour);
    return strongest;
}

Kernels Choose()
{
#if defined(KALVEX_X86_DISPATCH)
    if (UseWideInstructions())
        return { wide::GreyOfBgrRow, wide::GreyOfXrgbRowWide, wide::LaplaceRow,
            wide::EdgeMarkRowWide };
#endif
    return { plain::GreyOfBgrRow, plain::GreyOfXrgbRow, plain::LaplaceRow, PlainEdgeMarkRow };
}

} // namespace

double CFocusMeasure::VarianceOfLaplacian(
        const uint8_t* frame, int width, int height, CFrameRegion region)
{
    if (!frame || width <= 0 || height <= 0)
        return 0.0;
    if (region.width <= 0 || region.height <= 0)
        region = { 0, 0, width, height };
    const int left = std::max(region.x, 0);
    const int top = std::max(region.y, 0);
    const int right = std::min(region.x + region.width, width);
    const int bottom = std::min(region.y + region.height, height);
    if (right - left < 3 || bottom - top < 3)
        return 0.0;

    const Kernels k = Choose();
    const int count = right - left;
    const std::size_t stride = static_cast<std::size_t>(FrameStride(width));
    // Picture row y (top-down) is frame row height - 1 - y.
    const auto rowAt = [&](int y) {
        return frame + stride * static_cast<std::size_t>(height - 1 - y)
                + static_cast<std::size_t>(left) * 3;
    };
    std::vector<int16_t> lines(static_cast<std::size_t>(count) * 3);
    int16_t* above = lines.data();
    int16_t* middle = above + count;
    int16_t* below = middle + count;
    k.greyOfBgr(rowAt(top), above, count);
    k.greyOfBgr(rowAt(top + 1), middle, count);

    int64_t sum = 0;
    int64_t squares = 0;
    for (int y = top + 1; y + 1 < bottom; ++y) {
        k.greyOfBgr(rowAt(y + 1), below, count);
        k.laplace(above, middle, below, count, sum, squares);
        std::swap(above, middle);
        std::swap(middle, below);
    }
    const double n = static_cast<double>(count - 2) * static_cast<double>(bottom - top - 2);
    const double mean = static_cast<double>(sum) / n;
    return std::max(0.0, static_cast<double>(squares) / n - mean * mean);
}

namespace {

// Sobel |gx| + |gy| reaches 6 x 255 at a corner, so a higher threshold marks nothing.
int16_t ThresholdLimit(int threshold)
{
    return static_cast<int16_t>(std::clamp(threshold, 1, 6 * 255 + 1));
}

} // namespace

int CFocusMeasure::MarkPeaks(uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
        uint32_t colour, int threshold)
{
    if (!pixels || width < 3 || height < 3)
        return 0;
    const int16_t limit = ThresholdLimit(threshold);
    const Kernels k = Choose();
    const std::size_t count = static_cast<std::size_t>(width);
    // Grey rows before marking: a marked pixel must not count as an edge of the next row.
    std::vector<int16_t> lines(count * 3);
    int16_t* above = lines.data();
    int16_t* middle = above + count;
    int16_t* below = middle + count;
    k.greyOfXrgb(pixels, above, width);
    k.greyOfXrgb(pixels + stride, middle, width);
    int strongest = 0;
    for (int y = 1; y + 1 < height; ++y) {
        k.greyOfXrgb(pixels + stride * (y + 1), below, width);
        strongest = std::max(strongest,
                k.edgeMark(above, middle, below, reinterpret_cast<uint32_t*>(pixels + stride * y),
                        width, limit, colour));
        std::swap(above, middle);
        std::swap(middle, below);
    }
    return strongest;
}

int CFocusMeasure::PeakThreshold(int strongestEdge)
{
    return std::max(kMinPeakEdge, static_cast<int>(std::lround(strongestEdge * kPeakShare)));
}

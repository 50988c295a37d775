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

// Two neighbouring 32-bit pixels, stored at once; rows of an odd width start 4 bytes off.
using PixelPair = uint64_t __attribute__((aligned(4)));

// Grey weights in 64ths (blue, green, red) for the 2 x 2 block means: small enough for byte
// multiplies, near enough the eye's weights for finding edges.
constexpr int kBlockBlue = 7;
constexpr int kBlockGreen = 38;
constexpr int kBlockRed = 19;

int BlockGreyPart(const uint8_t* pixel)
{
    return pixel[0] * kBlockBlue + pixel[1] * kBlockGreen + pixel[2] * kBlockRed;
}

// Grey of the mean of each 2 x 2 block of two xRGB rows (blue, green, red, unused in memory):
// grey[i] from pixels 2i and 2i + 1 of both, for blocks from .. count - 1.
void HalfGreyTail(const uint8_t* top, const uint8_t* bottom, int16_t* grey, int from, int count)
{
    for (int i = from; i < count; ++i) {
        const std::size_t at = static_cast<std::size_t>(8) * i;
        grey[i] = static_cast<int16_t>(
                (BlockGreyPart(top + at) + BlockGreyPart(top + at + 4) + BlockGreyPart(bottom + at)
                        + BlockGreyPart(bottom + at + 4))
                >> 8);
    }
}

void HalfGreyOfXrgbRows(const uint8_t* top, const uint8_t* bottom, int16_t* grey, int count)
{
    HalfGreyTail(top, bottom, grey, 0, count);
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
            grey[x] = static_cast<int16_t>(                                                        \
                    CLiveHistogram::Grey(int(p & 0xFF), int(p >> 8 & 0xFF), int(p >> 16 & 0xFF))); \
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
    }                                                                                              \
    /* Paints the 2 x 2 block of every marked half-resolution pixel, two pixels a word.       */   \
    /* Stretches of 64 pixels without a mark are not written; on the half-resolution rows    */    \
    /* that pays, on the full ones the branch costs more than it saves.                       */   \
    void MarkBlockRow(PixelPair* top, PixelPair* bottom, const int16_t* strength, int count,       \
            int16_t threshold, PixelPair colours)                                                  \
    {                                                                                              \
        int i = 1;                                                                                 \
        for (; i + 32 < count; i += 32) {                                                          \
            const int16_t* s = strength + i;                                                       \
            PixelPair* t = top + i;                                                                \
            PixelPair* b = bottom + i;                                                             \
            int16_t strongest = 0;                                                                 \
            for (int j = 0; j < 32; ++j)                                                           \
                strongest = std::max(strongest, s[j]);                                             \
            if (strongest < threshold)                                                             \
                continue;                                                                          \
            for (int j = 0; j < 32; ++j) {                                                         \
                const bool marked = s[j] >= threshold;                                             \
                t[j] = marked ? colours : t[j];                                                    \
                b[j] = marked ? colours : b[j];                                                    \
            }                                                                                      \
        }                                                                                          \
        for (; i + 1 < count; ++i)                                                                 \
            if (strength[i] >= threshold) {                                                        \
                top[i] = colours;                                                                  \
                bottom[i] = colours;                                                               \
            }                                                                                      \
    }

namespace plain {
KALVEX_FOCUS_KERNELS
} // namespace plain

#if defined(KALVEX_X86_DISPATCH)
namespace wide {
#pragma GCC push_options
#pragma GCC target("avx2")
KALVEX_FOCUS_KERNELS

// HalfGreyOfXrgbRows 16 blocks a step: byte multiplies give each pixel's two weighted pairs,
// the rows add, and neighbouring columns add pairwise; the same numbers as HalfGreyTail.
void HalfGreyOfXrgbRowsWide(const uint8_t* top, const uint8_t* bottom, int16_t* grey, int count)
{
    const __m256i weights = _mm256_set1_epi32(kBlockBlue | kBlockGreen << 8 | kBlockRed << 16);
    const __m256i ones = _mm256_set1_epi16(1);
    // The pairwise add and the pack leave the blocks in the order 0 2 4 6 1 3 5 7 by twos.
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const uint8_t* t = top + static_cast<std::size_t>(8) * i;
        const uint8_t* b = bottom + static_cast<std::size_t>(8) * i;
        __m256i columns[4];
        for (int k = 0; k < 4; ++k) {
            const __m256i up = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + 32 * k));
            const __m256i down = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + 32 * k));
            // At most 2 x 255 x 45 a lane: the signed 16-bit sum holds it.
            const __m256i pairs = _mm256_add_epi16(
                    _mm256_maddubs_epi16(up, weights), _mm256_maddubs_epi16(down, weights));
            columns[k] = _mm256_madd_epi16(pairs, ones);
        }
        const __m256i low = _mm256_srli_epi32(_mm256_hadd_epi32(columns[0], columns[1]), 8);
        const __m256i high = _mm256_srli_epi32(_mm256_hadd_epi32(columns[2], columns[3]), 8);
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_packus_epi32(low, high), order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(grey + i), packed);
    }
    HalfGreyTail(top, bottom, grey, i, count);
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
    int (*edge)(const int16_t*, const int16_t*, const int16_t*, int16_t*, int);
    void (*mark)(uint32_t*, const int16_t*, int, int16_t, uint32_t);
    void (*halfGreyOfXrgb)(const uint8_t*, const uint8_t*, int16_t*, int);
    void (*markBlocks)(PixelPair*, PixelPair*, const int16_t*, int, int16_t, PixelPair);
};

Kernels Choose()
{
#if defined(KALVEX_X86_DISPATCH)
    if (UseWideInstructions())
        return { wide::GreyOfBgrRow, wide::GreyOfXrgbRow, wide::LaplaceRow, wide::EdgeRow,
            wide::MarkRow, wide::HalfGreyOfXrgbRowsWide, wide::MarkBlockRow };
#endif
    return { plain::GreyOfBgrRow, plain::GreyOfXrgbRow, plain::LaplaceRow, plain::EdgeRow,
        plain::MarkRow, HalfGreyOfXrgbRows, plain::MarkBlockRow };
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
    if (static_cast<int64_t>(width) * height > kBlockPeakingPixels)
        return MarkBlockPeaks(pixels, width, height, stride, colour, threshold);
    return MarkPixelPeaks(pixels, width, height, stride, colour, threshold);
}

int CFocusMeasure::MarkPixelPeaks(uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
        uint32_t colour, int threshold)
{
    if (!pixels || width < 3 || height < 3)
        return 0;
    const int16_t limit = ThresholdLimit(threshold);
    const Kernels k = Choose();
    const std::size_t count = static_cast<std::size_t>(width);
    // Grey rows before marking: a marked pixel must not count as an edge of the next row.
    std::vector<int16_t> lines(count * 3);
    std::vector<int16_t> strength(count);
    int16_t* above = lines.data();
    int16_t* middle = above + count;
    int16_t* below = middle + count;
    k.greyOfXrgb(pixels, above, width);
    k.greyOfXrgb(pixels + stride, middle, width);
    int strongest = 0;
    for (int y = 1; y + 1 < height; ++y) {
        k.greyOfXrgb(pixels + stride * (y + 1), below, width);
        const int rowStrongest = k.edge(above, middle, below, strength.data(), width);
        strongest = std::max(strongest, rowStrongest);
        if (rowStrongest >= limit)
            k.mark(reinterpret_cast<uint32_t*>(pixels + stride * y), strength.data(), width, limit,
                    colour);
        std::swap(above, middle);
        std::swap(middle, below);
    }
    return strongest;
}

int CFocusMeasure::MarkBlockPeaks(uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
        uint32_t colour, int threshold)
{
    const int columns = width / 2;
    const int rows = height / 2;
    if (!pixels || columns < 3 || rows < 3)
        return 0;
    const int16_t limit = ThresholdLimit(threshold);
    const PixelPair colours = static_cast<PixelPair>(colour) << 32 | colour;
    const Kernels k = Choose();
    const std::size_t count = static_cast<std::size_t>(columns);
    std::vector<int16_t> lines(count * 3);
    std::vector<int16_t> strength(count);
    int16_t* above = lines.data();
    int16_t* middle = above + count;
    int16_t* below = middle + count;
    const auto blockRow = [&](int row) { return pixels + stride * (2 * row); };
    k.halfGreyOfXrgb(blockRow(0), blockRow(0) + stride, above, columns);
    k.halfGreyOfXrgb(blockRow(1), blockRow(1) + stride, middle, columns);
    int strongest = 0;
    for (int row = 1; row + 1 < rows; ++row) {
        // The next block row is read before this one is marked, as on the full picture.
        k.halfGreyOfXrgb(blockRow(row + 1), blockRow(row + 1) + stride, below, columns);
        const int rowStrongest = k.edge(above, middle, below, strength.data(), columns);
        strongest = std::max(strongest, rowStrongest);
        if (rowStrongest >= limit)
            k.markBlocks(reinterpret_cast<PixelPair*>(blockRow(row)),
                    reinterpret_cast<PixelPair*>(blockRow(row) + stride), strength.data(), columns,
                    limit, colours);
        std::swap(above, middle);
        std::swap(middle, below);
    }
    return strongest;
}

int CFocusMeasure::PeakThreshold(int strongestEdge)
{
    return std::max(kMinPeakEdge, static_cast<int>(std::lround(strongestEdge * kPeakShare)));
}

#include "imgproc/FocusMeasure.h"

#include "base/FrameLayout.h"
#include "imgproc/LiveHistogram.h"
#include "imgproc/WideInstructions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// The row loops, written so the compiler turns them into vector code: once for every
// processor and once more for AVX2, chosen at run time.
#define KALVEX_FOCUS_KERNELS                                                                      \
    void GreyOfBgrRow(const uint8_t* row, int16_t* grey, int count)                                \
    {                                                                                              \
        for (int x = 0; x < count; ++x)                                                            \
            grey[x] = static_cast<int16_t>(CLiveHistogram::Grey(                                   \
                    row[3 * x], row[3 * x + 1], row[3 * x + 2]));                                  \
    }                                                                                              \
    void GreyOfXrgbRow(const uint8_t* bytes, int16_t* grey, int count)                             \
    {                                                                                              \
        /* xRGB in memory on a little-endian machine: blue, green, red, unused. */                 \
        const auto* row = reinterpret_cast<const uint32_t*>(bytes);                                \
        for (int x = 0; x < count; ++x) {                                                          \
            const uint32_t p = row[x];                                                             \
            grey[x] = static_cast<int16_t>(CLiveHistogram::Grey(                                   \
                    int(p & 0xFF), int(p >> 8 & 0xFF), int(p >> 16 & 0xFF)));                      \
        }                                                                                          \
    }                                                                                              \
    /* Sum and sum of squares of the Laplacian of the middle row, x = 1 .. count - 2. The    */    \
    /* squares of 2048 pixels fit in 32 bits.                                                  */  \
    void LaplaceRow(const int16_t* above, const int16_t* middle, const int16_t* below,             \
            int count, int64_t& sum, int64_t& squares)                                             \
    {                                                                                              \
        for (int start = 1; start + 1 < count; start += 2048) {                                    \
            const int end = std::min(start + 2048, count - 1);                                     \
            int32_t partSum = 0;                                                                   \
            uint32_t partSquares = 0;                                                              \
            for (int x = start; x < end; ++x) {                                                    \
                const int32_t laplace = above[x] + below[x] + middle[x - 1] + middle[x + 1]        \
                        - 4 * middle[x];                                                           \
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
            const int16_t gx = static_cast<int16_t>((above[x + 1] + 2 * middle[x + 1]              \
                                                            + below[x + 1])                        \
                    - (above[x - 1] + 2 * middle[x - 1] + below[x - 1]));                          \
            const int16_t gy = static_cast<int16_t>((below[x - 1] + 2 * below[x] + below[x + 1])   \
                    - (above[x - 1] + 2 * above[x] + above[x + 1]));                               \
            const int16_t edge = static_cast<int16_t>(std::abs(gx) + std::abs(gy));                \
            strength[x] = edge;                                                                    \
            strongest = std::max(strongest, edge);                                                 \
        }                                                                                          \
        return strongest;                                                                          \
    }                                                                                              \
    void MarkRow(uint32_t* row, const int16_t* strength, int count, int16_t threshold,             \
            uint32_t colour)                                                                       \
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
};

Kernels Choose()
{
#if defined(KALVEX_X86_DISPATCH)
    if (UseWideInstructions())
        return { wide::GreyOfBgrRow, wide::GreyOfXrgbRow, wide::LaplaceRow, wide::EdgeRow,
            wide::MarkRow };
#endif
    return { plain::GreyOfBgrRow, plain::GreyOfXrgbRow, plain::LaplaceRow, plain::EdgeRow,
        plain::MarkRow };
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

int CFocusMeasure::MarkPeaks(uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
        uint32_t colour, int threshold)
{
    if (!pixels || width < 3 || height < 3)
        return 0;
    // Edges reach at most 4 x 255, so a higher threshold marks nothing.
    const auto limit = static_cast<int16_t>(std::clamp(threshold, 1, 4 * 255 + 1));
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

int CFocusMeasure::PeakThreshold(int strongestEdge)
{
    return std::max(kMinPeakEdge, static_cast<int>(std::lround(strongestEdge * kPeakShare)));
}

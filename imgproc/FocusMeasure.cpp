#include "imgproc/FocusMeasure.h"

#include "base/FrameLayout.h"
#include "imgproc/LiveHistogram.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

void GreyOfBgrRow(const uint8_t* row, int16_t* grey, int count)
{
    for (int x = 0; x < count; ++x, row += 3)
        grey[x] = static_cast<int16_t>(CLiveHistogram::Grey(row[0], row[1], row[2]));
}

void GreyOfXrgbRow(const uint8_t* row, int16_t* grey, int count)
{
    // xRGB in memory on a little-endian machine: blue, green, red, unused.
    for (int x = 0; x < count; ++x, row += 4)
        grey[x] = static_cast<int16_t>(CLiveHistogram::Grey(row[0], row[1], row[2]));
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
    GreyOfBgrRow(rowAt(top), above, count);
    GreyOfBgrRow(rowAt(top + 1), middle, count);

    int64_t sum = 0;
    int64_t squares = 0;
    for (int y = top + 1; y + 1 < bottom; ++y) {
        GreyOfBgrRow(rowAt(y + 1), below, count);
        int32_t rowSum = 0;
        int64_t rowSquares = 0;
        for (int x = 1; x + 1 < count; ++x) {
            const int32_t laplace =
                    above[x] + below[x] + middle[x - 1] + middle[x + 1] - 4 * middle[x];
            rowSum += laplace;
            rowSquares += laplace * laplace;
        }
        sum += rowSum;
        squares += rowSquares;
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
    threshold = std::max(threshold, 1);
    const std::size_t count = static_cast<std::size_t>(width);
    // Grey rows before marking: a marked pixel must not count as an edge of the next row.
    std::vector<int16_t> lines(count * 3);
    std::vector<int16_t> strength(count);
    int16_t* above = lines.data();
    int16_t* middle = above + count;
    int16_t* below = middle + count;
    GreyOfXrgbRow(pixels, above, width);
    GreyOfXrgbRow(pixels + stride, middle, width);
    int strongest = 0;
    for (int y = 1; y + 1 < height; ++y) {
        GreyOfXrgbRow(pixels + stride * (y + 1), below, width);
        int rowStrongest = 0;
        for (int x = 1; x + 1 < width; ++x) {
            const int gx = (above[x + 1] + 2 * middle[x + 1] + below[x + 1])
                    - (above[x - 1] + 2 * middle[x - 1] + below[x - 1]);
            const int gy = (below[x - 1] + 2 * below[x] + below[x + 1])
                    - (above[x - 1] + 2 * above[x] + above[x + 1]);
            const int edge = std::abs(gx) + std::abs(gy);
            strength[x] = static_cast<int16_t>(edge);
            rowStrongest = std::max(rowStrongest, edge);
        }
        strongest = std::max(strongest, rowStrongest);
        if (rowStrongest >= threshold) {
            auto* row = reinterpret_cast<uint32_t*>(pixels + stride * y);
            for (int x = 1; x + 1 < width; ++x)
                if (strength[x] >= threshold)
                    row[x] = colour;
        }
        std::swap(above, middle);
        std::swap(middle, below);
    }
    return strongest;
}

int CFocusMeasure::PeakThreshold(int strongestEdge)
{
    return std::max(kMinPeakEdge, static_cast<int>(std::lround(strongestEdge * kPeakShare)));
}

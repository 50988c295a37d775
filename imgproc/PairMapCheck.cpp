#include "imgproc/PairMapCheck.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMaxShiftShare = 0.25;
constexpr double kMaxShear = 0.1;
constexpr double kMaxScaleChange = 0.1;
// A map that moves no corner by more than this is as good as standing still: a fit a pixel
// off on a sharp picture differs more than the unmoved pair without being wrong.
constexpr double kStillPixels = 2.0;
// Grey levels of slack, and a share, before a moving map counts as worse than none.
constexpr double kDifferenceSlack = 1.0;
constexpr double kDifferenceShare = 1.1;
constexpr int kSamplesAcross = 240;

int Grey(const CImageView& view, int x, int y)
{
    const uint8_t* pixel = view.bits + static_cast<std::size_t>(y) * view.stride + 3 * x;
    return (pixel[0] + pixel[1] + pixel[2]) / 3;
}

// Mean |to(map(p)) - from(p)| over a grid of points whose mapped point lies in the picture;
// a map that sends most of the picture outside it scores the worst difference.
double MeanDifference(const CAffineMap& map, const CImageView& from, const CImageView& to)
{
    const int step = std::max(1, std::min(from.width, from.height) / kSamplesAcross);
    double sum = 0.0;
    long inside = 0;
    long total = 0;
    for (int y = step / 2; y < from.height; y += step) {
        for (int x = step / 2; x < from.width; x += step) {
            ++total;
            const long tx = std::lround(map.x.p * x + map.x.q * y + map.x.r);
            const long ty = std::lround(map.y.p * x + map.y.q * y + map.y.r);
            if (tx < 0 || ty < 0 || tx >= to.width || ty >= to.height)
                continue;
            sum += std::abs(
                    Grey(to, static_cast<int>(tx), static_cast<int>(ty)) - Grey(from, x, y));
            ++inside;
        }
    }
    if (inside * 4 < total)
        return 255.0;
    return sum / static_cast<double>(inside);
}

double LargestCornerMove(const CAffineMap& map, int width, int height)
{
    double largest = 0.0;
    for (const double x : { 0.0, width - 1.0 }) {
        for (const double y : { 0.0, height - 1.0 }) {
            const double dx = map.x.p * x + map.x.q * y + map.x.r - x;
            const double dy = map.y.p * x + map.y.q * y + map.y.r - y;
            largest = std::max(largest, std::hypot(dx, dy));
        }
    }
    return largest;
}

} // namespace

CPairMapCheck CPairMapCheck::Judge(
        int first, const CAffineMap& map, const CImageView& from, const CImageView& to)
{
    CPairMapCheck check;
    check.first = first;
    const double cx = from.width / 2.0;
    const double cy = from.height / 2.0;
    check.shiftX = map.x.p * cx + map.x.q * cy + map.x.r - cx;
    check.shiftY = map.y.p * cx + map.y.q * cy + map.y.r - cy;
    check.shear = std::abs(map.x.q) > std::abs(map.y.p) ? map.x.q : map.y.p;
    check.scale = std::abs(map.x.p - 1.0) > std::abs(map.y.q - 1.0) ? map.x.p : map.y.q;
    const bool farShift = std::abs(check.shiftX) > kMaxShiftShare * from.width
            || std::abs(check.shiftY) > kMaxShiftShare * from.height;
    const bool bent =
            std::abs(check.shear) > kMaxShear || std::abs(check.scale - 1.0) > kMaxScaleChange;
    check.mappedDifference = MeanDifference(map, from, to);
    check.unmovedDifference = MeanDifference(CAffineMap {}, from, to);
    const bool worse = LargestCornerMove(map, from.width, from.height) > kStillPixels
            && check.mappedDifference
                    > check.unmovedDifference * kDifferenceShare + kDifferenceSlack;
    check.doubtful = farShift || bent || worse;
    return check;
}

QString CPairMapCheck::Warning() const
{
    return QCoreApplication::translate("CPairMapCheck",
            "The Adjusted Merge moved image %1 against image %2 in an unlikely way (shift %3, %4 "
            "px, shear %5, scale %6; mean difference %7 moved, %8 unmoved), so the result may be "
            "scrambled. Aligned Merge lines up such pictures more reliably.")
            .arg(first + 2)
            .arg(first + 1)
            .arg(shiftX, 0, 'f', 1)
            .arg(shiftY, 0, 'f', 1)
            .arg(shear, 0, 'f', 2)
            .arg(scale, 0, 'f', 2)
            .arg(mappedDifference, 0, 'f', 1)
            .arg(unmovedDifference, 0, 'f', 1);
}

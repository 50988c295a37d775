#include "imgproc/StackAligner.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The finest level is at most about this wide; finer alignment buys nothing the quarter-pixel
// accuracy there does not already give at full size.
constexpr int kFinestSide = 720;
// Coarser levels while the smaller side keeps at least this many pixels.
constexpr int kCoarsestSide = 40;
constexpr int kMaxIterations = 30;
constexpr int kDitherIterations = 3;
// Steps below this many level pixels end a level.
constexpr double kConverged = 1e-2;

cv::Matx33d ToSquare(const cv::Matx23d& m)
{
    return { m(0, 0), m(0, 1), m(0, 2), m(1, 0), m(1, 1), m(1, 2), 0, 0, 1 };
}

cv::Matx23d ToAffine(const cv::Matx33d& m)
{
    return { m(0, 0), m(0, 1), m(0, 2), m(1, 0), m(1, 1), m(1, 2) };
}

// x_fine = f x_coarse + (f - 1) / 2: the pixel centres of a reduction by f.
cv::Matx23d Rescale(const cv::Matx23d& map, double fx, double fy)
{
    const double ox = (fx - 1.0) / 2.0, oy = (fy - 1.0) / 2.0;
    const cv::Matx33d up { fx, 0, ox, 0, fy, oy, 0, 0, 1 };
    const cv::Matx33d down { 1 / fx, 0, -ox / fx, 0, 1 / fy, -oy / fy, 0, 0, 1 };
    return ToAffine(up * ToSquare(map) * down);
}

bool Plausible(const cv::Matx23d& m, int width, int height)
{
    const double det = m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0);
    const double cx = m(0, 0) * width / 2.0 + m(0, 1) * height / 2.0 + m(0, 2) - width / 2.0;
    const double cy = m(1, 0) * width / 2.0 + m(1, 1) * height / 2.0 + m(1, 2) - height / 2.0;
    return std::isfinite(det) && det > 0.7 && det < 1.4 && std::abs(cx) < width / 4.0
            && std::abs(cy) < height / 4.0;
}

CAffineMap ToMap(const cv::Matx23d& m)
{
    return { { m(0, 0), m(0, 1), m(0, 2) }, { m(1, 0), m(1, 1), m(1, 2) } };
}

cv::Mat Wrap(const CImageView& image)
{
    return cv::Mat(
            image.height, image.width, CV_8UC3, const_cast<uint8_t*>(image.bits), image.stride);
}

} // namespace

int CStackAligner::Reduction(int width, int height)
{
    return std::max(1, (std::max(width, height) + kFinestSide - 1) / kFinestSide);
}

void CStackAligner::AddGradients(Level& level)
{
    cv::Sobel(level.image, level.gradX, CV_32F, 1, 0, 3, 1.0 / 8, 0, cv::BORDER_REPLICATE);
    cv::Sobel(level.image, level.gradY, CV_32F, 0, 1, 3, 1.0 / 8, 0, cv::BORDER_REPLICATE);
}

std::vector<CStackAligner::Level> CStackAligner::Pyramid(const CImageView& image)
{
    const int r = Reduction(image.width, image.height);
    cv::Mat small;
    if (r > 1)
        cv::resize(Wrap(image), small, cv::Size(image.width / r, image.height / r), 0, 0,
                cv::INTER_AREA);
    else
        small = Wrap(image);
    cv::Mat grey;
    cv::cvtColor(small, grey, cv::COLOR_BGR2GRAY);
    cv::Mat base;
    grey.convertTo(base, CV_32F);

    std::vector<Level> levels;
    levels.push_back({ base, {}, {} });
    while (std::min(levels.back().image.cols, levels.back().image.rows) >= 2 * kCoarsestSide) {
        cv::Mat coarser;
        cv::pyrDown(levels.back().image, coarser);
        levels.push_back({ coarser, {}, {} });
    }
    for (Level& level : levels) {
        // Smoothed a little so that the linearisation holds over a pixel or two, and scaled
        // to unit spread so that a change of brightness between slices weighs less.
        cv::GaussianBlur(level.image, level.image, cv::Size(5, 5), 1.0, 1.0, cv::BORDER_REPLICATE);
        cv::Scalar mean, spread;
        cv::meanStdDev(level.image, mean, spread);
        if (spread[0] < 0.5)
            level.image.setTo(0.0f);
        else
            level.image = (level.image - mean[0]) / spread[0];
    }
    return levels;
}

double CStackAligner::Difference(const Level& from, const Level& to, const cv::Matx23d& map)
{
    cv::Mat warped;
    cv::warpAffine(to.image, warped, map, from.image.size(),
            cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT,
            cv::Scalar(std::numeric_limits<float>::quiet_NaN()));
    double sum = 0.0;
    int64_t count = 0;
    for (int y = 0; y < warped.rows; ++y) {
        const float* w = warped.ptr<float>(y);
        const float* t = from.image.ptr<float>(y);
        for (int x = 0; x < warped.cols; ++x) {
            if (std::isnan(w[x]))
                continue;
            const double d = w[x] - t[x];
            sum += d * d;
            ++count;
        }
    }
    return count > 0 ? sum / count : std::numeric_limits<double>::infinity();
}

bool CStackAligner::Refine(const Level& from, const Level& to, cv::Matx23d& map, bool symmetric)
{
    // Gauss-Newton on the previous slice's gradients, or, `symmetric`, on the mean of both
    // slices' gradients (efficient second-order minimisation): a slice sharper than its
    // neighbour in one band and blurrier in the next then pulls neither way. The mean only
    // helps near the answer; far from it, on repeating patterns, it can lead astray. The
    // parameters are in centred coordinates scaled to about +-1, so that the linear part and
    // the shift are of one size.
    const int width = from.image.cols, height = from.image.rows;
    const double cx = (width - 1) / 2.0, cy = (height - 1) / 2.0;
    const double s = std::max(width, height) / 2.0;
    const cv::Matx33d toUnit { 1 / s, 0, -cx / s, 0, 1 / s, -cy / s, 0, 0, 1 };
    const cv::Matx33d fromUnit { s, 0, cx, 0, s, cy, 0, 0, 1 };
    // Larger levels are sampled on every other row: the sums stay well conditioned.
    const int rowStep = width * height > 200000 ? 2 : 1;

    cv::Mat warped, warpedX, warpedY;
    double smallestStep = std::numeric_limits<double>::infinity();
    int smallestAt = 0;
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        // Pixels the slice does not cover, and their neighbours, come out NaN and are skipped.
        cv::warpAffine(to.image, warped, map, from.image.size(),
                cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT,
                cv::Scalar(std::numeric_limits<float>::quiet_NaN()));
        if (symmetric) {
            cv::Sobel(warped, warpedX, CV_32F, 1, 0, 3, 1.0 / 8, 0, cv::BORDER_REPLICATE);
            cv::Sobel(warped, warpedY, CV_32F, 0, 1, 3, 1.0 / 8, 0, cv::BORDER_REPLICATE);
        } else {
            warpedX = from.gradX;
            warpedY = from.gradY;
        }
        cv::Matx<double, 6, 6> hessian = cv::Matx<double, 6, 6>::zeros();
        cv::Vec<double, 6> gradient = cv::Vec<double, 6>::all(0.0);
        for (int y = 0; y < height; y += rowStep) {
            const float* w = warped.ptr<float>(y);
            const float* wx = warpedX.ptr<float>(y);
            const float* wy = warpedY.ptr<float>(y);
            const float* t = from.image.ptr<float>(y);
            const float* gx = from.gradX.ptr<float>(y);
            const float* gy = from.gradY.ptr<float>(y);
            const double v = (y - cy) / s;
            double h[21] = {};
            double b[6] = {};
            for (int x = 0; x < width; ++x) {
                if (std::isnan(w[x]) || std::isnan(wx[x]) || std::isnan(wy[x]))
                    continue;
                const double u = (x - cx) / s;
                const double ex = (gx[x] + wx[x]) * 0.5 * s, ey = (gy[x] + wy[x]) * 0.5 * s;
                const double sd[6] = { ex * u, ey * u, ex * v, ey * v, ex, ey };
                const double e = w[x] - t[x];
                int k = 0;
                for (int i = 0; i < 6; ++i) {
                    b[i] += sd[i] * e;
                    for (int j = i; j < 6; ++j)
                        h[k++] += sd[i] * sd[j];
                }
            }
            int k = 0;
            for (int i = 0; i < 6; ++i) {
                gradient[i] += b[i];
                for (int j = i; j < 6; ++j)
                    hessian(i, j) += h[k++];
            }
        }
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < i; ++j)
                hessian(i, j) = hessian(j, i);

        // Directions the picture does not constrain (flat areas, stripes along one axis)
        // are left alone rather than guessed: a pseudo-inverse over the strong eigenvalues.
        cv::Mat values, vectors;
        cv::eigen(cv::Mat(hessian), values, vectors);
        const double largest = values.at<double>(0);
        if (!(largest > 1e-9))
            return true;
        cv::Vec<double, 6> step = cv::Vec<double, 6>::all(0.0);
        for (int i = 0; i < 6; ++i) {
            const double value = values.at<double>(i);
            if (value < largest * 1e-5)
                continue;
            double along = 0.0;
            for (int j = 0; j < 6; ++j)
                along += vectors.at<double>(i, j) * gradient[j];
            for (int j = 0; j < 6; ++j)
                step[j] -= vectors.at<double>(i, j) * along / value;
        }

        const cv::Matx33d delta { 1 + step[0], step[2], step[4], step[1], 1 + step[3], step[5], 0,
            0, 1 };
        map = ToAffine(ToSquare(map) * fromUnit * delta * toUnit);
        if (!Plausible(map, width, height))
            return false;
        const double moved = s
                * (std::abs(step[0]) + std::abs(step[1]) + std::abs(step[2]) + std::abs(step[3])
                        + std::abs(step[4]) + std::abs(step[5]));
        if (moved < kConverged)
            break;
        // Fresh noise (a sensor's, a pattern's snow) keeps the steps dithering about the
        // answer instead of shrinking: once they stop getting smaller, it is as good as it gets.
        if (moved < smallestStep) {
            smallestStep = moved;
            smallestAt = iteration;
        } else if (iteration - smallestAt >= kDitherIterations) {
            break;
        }
    }
    return true;
}

CAffineMap CStackAligner::Add(const CImageView& image)
{
    std::vector<Level> levels = Pyramid(image);
    CAffineMap result;
    m_lastDifference = 0.0;
    if (!m_previous.empty() && m_previous.size() == levels.size()
            && m_previous[0].image.size() == levels[0].image.size()) {
        cv::Matx23d map { 1, 0, 0, 0, 1, 0 };
        bool ok = true;
        for (int l = static_cast<int>(levels.size()) - 1; l >= 0 && ok; --l) {
            ok = Refine(
                    m_previous[static_cast<size_t>(l)], levels[static_cast<size_t>(l)], map, false);
            if (l > 0) {
                const cv::Size fine = levels[static_cast<size_t>(l - 1)].image.size();
                const cv::Size coarse = levels[static_cast<size_t>(l)].image.size();
                map = Rescale(map, double(fine.width) / coarse.width,
                        double(fine.height) / coarse.height);
            }
        }
        ok = ok && Refine(m_previous[0], levels[0], map, true);
        // Kept only when it matches the slices better than not moving at all.
        const cv::Matx23d identity { 1, 0, 0, 0, 1, 0 };
        const double unmoved = Difference(m_previous[0], levels[0], identity);
        const double mapped = ok ? Difference(m_previous[0], levels[0], map) : unmoved;
        const bool moved = ok && mapped < unmoved;
        const cv::Size finest = levels[0].image.size();
        if (moved)
            result = ToMap(Rescale(
                    map, double(image.width) / finest.width, double(image.height) / finest.height));
        // Judged on the coarsest level, where a change of focus leaves the picture much as it
        // was and only another scene differs: fine texture out of focus is nothing like itself
        // in focus, pixel by pixel.
        const cv::Size coarsest = levels.back().image.size();
        m_lastDifference = Difference(m_previous.back(), levels.back(),
                Rescale(moved ? map : identity, double(coarsest.width) / finest.width,
                        double(coarsest.height) / finest.height));
    }
    for (Level& level : levels)
        AddGradients(level);
    m_previous = std::move(levels);
    return result;
}

CAffineMap CStackAligner::Align(const CImageView& from, const CImageView& to)
{
    CStackAligner aligner;
    aligner.Add(from);
    return aligner.Add(to);
}

#include "imgproc/FusionSteps.h"

#include "imgproc/WideInstructions.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <climits>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(KALVEX_X86_DISPATCH)
#include <immintrin.h>
#endif

namespace {

constexpr double kCannyLow = 50.0;
constexpr double kCannyHigh = 100.0;
constexpr int kCannyAperture = 3;
constexpr double kBandFraction = 0.6;
constexpr double kScoreFloor = 0.5;
constexpr double kSingularDeterminant = 1e-6;

// Window mean and variance term from integral images, for the positions whose window the
// integral image covers (h + 1 ... size - h - 1 in both directions); 0 at all others. Worked
// out where asked rather than for every pixel: only feature pixels are ever asked.
class CWindowStats
{
public:
    CWindowStats(const CMatchImage& image, int h)
        : m_h(h), m_n((2 * h + 1) * (2 * h + 1)), m_cols(image.half.cols), m_rows(image.half.rows),
          m_sum(image.sum), m_sqsum(image.sqsum)
    {
    }

    void At(int x, int y, double& mean, int32_t& variance) const
    {
        mean = 0.0;
        variance = 0;
        if (x < m_h + 1 || x > m_cols - m_h - 1 || y < m_h + 1 || y > m_rows - m_h - 1)
            return;
        const int l = x - m_h, r = x + m_h + 1, t = y - m_h, b = y + m_h + 1;
        const double s = m_sum.at<double>(b, r) - m_sum.at<double>(t, r) - m_sum.at<double>(b, l)
                + m_sum.at<double>(t, l);
        const auto sumSquares = static_cast<int32_t>(m_sqsum.at<double>(b, r)
                - m_sqsum.at<double>(t, r) - m_sqsum.at<double>(b, l) + m_sqsum.at<double>(t, l));
        mean = s / m_n;
        variance = static_cast<int32_t>(sumSquares - m_n * mean * mean);
    }

private:
    int m_h;
    int m_n;
    int m_cols;
    int m_rows;
    const cv::Mat& m_sum;
    const cv::Mat& m_sqsum;
};

// The correlation window's product sum: the one cost of a candidate. Whole sixteen-byte
// pieces of every row go into one vector sum, reduced once at the end.
int ProductSum(const cv::Mat& a, int ax, int ay, const cv::Mat& b, int bx, int by, int h)
{
    const int length = 2 * h + 1;
    int sum = 0;
    int wide = 0;
#if defined(__SSE2__)
    wide = length / 16 * 16;
    const __m128i zero = _mm_setzero_si128();
    __m128i acc = zero;
#endif
    for (int j = -h; j <= h; ++j) {
        const uint8_t* pa = a.ptr<uint8_t>(ay + j) + ax - h;
        const uint8_t* pb = b.ptr<uint8_t>(by + j) + bx - h;
#if defined(__SSE2__)
        for (int i = 0; i < wide; i += 16) {
            const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pa + i));
            const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pb + i));
            acc = _mm_add_epi32(
                    acc, _mm_madd_epi16(_mm_unpacklo_epi8(va, zero), _mm_unpacklo_epi8(vb, zero)));
            acc = _mm_add_epi32(
                    acc, _mm_madd_epi16(_mm_unpackhi_epi8(va, zero), _mm_unpackhi_epi8(vb, zero)));
        }
#endif
        for (int i = wide; i < length; ++i)
            sum += pa[i] * pb[i];
    }
#if defined(__SSE2__)
    acc = _mm_add_epi32(acc, _mm_shuffle_epi32(acc, _MM_SHUFFLE(1, 0, 3, 2)));
    acc = _mm_add_epi32(acc, _mm_shuffle_epi32(acc, _MM_SHUFFLE(2, 3, 0, 1)));
    sum += _mm_cvtsi128_si32(acc);
#endif
    return sum;
}

#if defined(KALVEX_X86_DISPATCH)
// A's correlation window widened to 16 bits once per feature point, so that a candidate
// costs one widening of B's window and one multiply-add per sixteen pixels.
class CWideWindow
{
public:
    CWideWindow(const cv::Mat& a, int h)
        : m_a(a), m_h(h), m_length(2 * h + 1), m_chunks(m_length / 16),
          m_widened(static_cast<std::size_t>(m_length) * m_chunks * 16)
    {
    }

    void Load(int ax, int ay)
    {
        m_ax = ax;
        m_ay = ay;
        int16_t* out = m_widened.data();
        for (int j = 0; j < m_length; ++j) {
            const uint8_t* pa = m_a.ptr<uint8_t>(ay - m_h + j) + ax - m_h;
            for (int i = 0; i < m_chunks * 16; ++i)
                *out++ = pa[i];
        }
    }

    __attribute__((target("avx2"))) int ProductSum(const cv::Mat& b, int bx, int by) const
    {
        __m256i acc = _mm256_setzero_si256();
        int sum = 0;
        const int16_t* wa = m_widened.data();
        for (int j = 0; j < m_length; ++j) {
            const uint8_t* pb = b.ptr<uint8_t>(by - m_h + j) + bx - m_h;
            for (int c = 0; c < m_chunks; ++c, wa += 16) {
                const __m256i vb = _mm256_cvtepu8_epi16(
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(pb + 16 * c)));
                const __m256i va = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(wa));
                acc = _mm256_add_epi32(acc, _mm256_madd_epi16(va, vb));
            }
            const uint8_t* pa = m_a.ptr<uint8_t>(m_ay - m_h + j) + m_ax - m_h;
            for (int i = m_chunks * 16; i < m_length; ++i)
                sum += pa[i] * pb[i];
        }
        __m128i folded =
                _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
        folded = _mm_add_epi32(folded, _mm_shuffle_epi32(folded, _MM_SHUFFLE(1, 0, 3, 2)));
        folded = _mm_add_epi32(folded, _mm_shuffle_epi32(folded, _MM_SHUFFLE(2, 3, 0, 1)));
        return sum + _mm_cvtsi128_si32(folded);
    }

private:
    const cv::Mat& m_a;
    int m_h;
    int m_length;
    int m_chunks;
    int m_ax = 0;
    int m_ay = 0;
    std::vector<int16_t> m_widened;
};
#endif

struct CFeaturePoint
{
    int x;
    int y;
};

// B's feature pixels row by row with their window statistics side by side: a search visits
// only these, in row order, without scanning the empty pixels between them.
struct CCandidate
{
    int x;
    int32_t variance;
    double mean;
};

struct CCandidateRows
{
    std::vector<CCandidate> candidates;
    std::vector<int> rowStart; // rows + 1 entries

    CCandidateRows(const cv::Mat& features, const CWindowStats& stats)
        : rowStart(features.rows + 1, 0)
    {
        for (int y = 0; y < features.rows; ++y) {
            rowStart[y] = static_cast<int>(candidates.size());
            const uint8_t* f = features.ptr<uint8_t>(y);
            for (int x = 0; x < features.cols; ++x)
                if (f[x] != 0) {
                    CCandidate c { x, 0, 0.0 };
                    stats.At(x, y, c.mean, c.variance);
                    candidates.push_back(c);
                }
        }
        rowStart[features.rows] = static_cast<int>(candidates.size());
    }

    const CCandidate* First(int row, int x) const
    {
        const CCandidate* begin = candidates.data() + rowStart[row];
        const CCandidate* end = candidates.data() + rowStart[row + 1];
        return std::lower_bound(
                begin, end, x, [](const CCandidate& c, int value) { return c.x < value; });
    }

    const CCandidate* End(int row) const { return candidates.data() + rowStart[row + 1]; }
};

cv::Mat FeatureMap(const cv::Mat& edges, const cv::Mat& strength, int blockSize, bool band)
{
    cv::Mat map = cv::Mat::zeros(edges.size(), CV_8U);
    if (blockSize <= 0)
        return map;
    for (int by = 0; by + blockSize <= edges.rows; by += blockSize) {
        for (int bx = 0; bx + blockSize <= edges.cols; bx += blockSize) {
            int g = strength.at<uint8_t>(by, bx);
            for (int y = by; y < by + blockSize; ++y) {
                const uint8_t* e = edges.ptr<uint8_t>(y);
                const uint8_t* t = strength.ptr<uint8_t>(y);
                for (int x = bx; x < bx + blockSize; ++x)
                    if (e[x] != 0 && t[x] > g)
                        g = t[x];
            }
            bool marked = false;
            for (int y = by; y < by + blockSize && !marked; ++y) {
                const uint8_t* e = edges.ptr<uint8_t>(y);
                const uint8_t* t = strength.ptr<uint8_t>(y);
                uint8_t* m = map.ptr<uint8_t>(y);
                for (int x = bx; x < bx + blockSize; ++x) {
                    if (e[x] == 0)
                        continue;
                    if (band) {
                        if (t[x] >= kBandFraction * g)
                            m[x] = 255;
                    } else if (t[x] >= g) {
                        m[x] = 255;
                        marked = true;
                        break;
                    }
                }
            }
        }
    }
    return map;
}

void EdgesAndStrength(const cv::Mat& grey, cv::Mat& edges, cv::Mat& strength)
{
    cv::Canny(grey, edges, kCannyLow, kCannyHigh, kCannyAperture);
    // The mixed derivative straight into 8 bits: negative responses saturate to 0.
    cv::Sobel(grey, strength, CV_8U, 1, 1, 3, 1.0, 0.0, cv::BORDER_REPLICATE);
}

} // namespace

cv::Mat BuildFeatureMap(const cv::Mat& grey, int blockSize, bool band)
{
    cv::Mat edges, strength;
    EdgesAndStrength(grey, edges, strength);
    return FeatureMap(edges, strength, blockSize, band);
}

CMatchImage PrepareMatchImage(const cv::Mat& grey, const CAdjustedMergeParams& params)
{
    CMatchImage image;
    const double scale = params.matchScale;
    if (!(scale > 0.0 && scale <= 1.0))
        return image;
    const cv::Size size(static_cast<int>(grey.cols * scale), static_cast<int>(grey.rows * scale));
    if (size.width < 1 || size.height < 1)
        return image;
    cv::resize(grey, image.half, size, 0, 0, cv::INTER_LINEAR);
    EdgesAndStrength(image.half, image.edges, image.strength);
    cv::integral(image.half, image.sum, image.sqsum, CV_64F, CV_64F);
    return image;
}

std::vector<CFusionMatch> MatchPair(const cv::Mat& greyA, const cv::Mat& greyB,
        const CSearchCentre& centre, const CAdjustedMergeParams& params,
        const std::atomic<bool>* cancel)
{
    return MatchPair(PrepareMatchImage(greyA, params), PrepareMatchImage(greyB, params), centre,
            params, cancel);
}

std::vector<CFusionMatch> MatchPair(const CMatchImage& imageA, const CMatchImage& imageB,
        const CSearchCentre& centre, const CAdjustedMergeParams& params,
        const std::atomic<bool>* cancel)
{
    const double scale = params.matchScale;
    const cv::Mat& a = imageA.half;
    const cv::Mat& b = imageB.half;
    const cv::Size size = a.size();
    const int h = static_cast<int>(params.correlationRadius * scale);
    const int range = static_cast<int>(params.searchRange * scale);
    const int block = static_cast<int>(params.blockSize * scale);
    const int ox = static_cast<int>(centre.cx * scale);
    const int oy = static_cast<int>(centre.cy * scale);
    const int n = (2 * h + 1) * (2 * h + 1);
    std::vector<CFusionMatch> matches;
    // A window's sum of squares is kept in 32 bits, which bounds the radius.
    if (a.empty() || b.size() != size || h < 1 || n > INT32_MAX / (255 * 255) || range < 1
            || block < 1 || size.width <= 2 * h + 1 || size.height <= 2 * h + 1)
        return matches;

    const cv::Mat featuresA = FeatureMap(imageA.edges, imageA.strength, block, false);
    const cv::Mat featuresB = FeatureMap(imageB.edges, imageB.strength, block, true);
    const CWindowStats statsA(imageA, h);
    const CCandidateRows rowsB(featuresB, CWindowStats(imageB, h));

    // Feature points of A in search order: x outer, y inner.
    std::vector<CFeaturePoint> points;
    for (int y = h + 1; y < size.height - h; ++y) {
        const uint8_t* f = featuresA.ptr<uint8_t>(y);
        for (int x = h + 1; x < size.width - h; ++x)
            if (f[x] != 0)
                points.push_back({ x, y });
    }
    std::stable_sort(
            points.begin(), points.end(), [](const CFeaturePoint& l, const CFeaturePoint& r) {
                return l.x < r.x || (l.x == r.x && l.y < r.y);
            });

    // Each point is searched on its own; results are kept in point order, so the match list
    // does not depend on how the points are shared out between threads.
    std::vector<CFusionMatch> found(points.size());
    std::vector<uint8_t> hit(points.size(), 0);
    const bool wide = UseWideInstructions();
    cv::parallel_for_(cv::Range(0, static_cast<int>(points.size())), [&](const cv::Range& part) {
#if defined(KALVEX_X86_DISPATCH)
        CWideWindow window(a, h);
#endif
        for (int k = part.start; k < part.end; ++k) {
            if (cancel != nullptr && cancel->load(std::memory_order_relaxed))
                return;
            const int x = points[k].x, y = points[k].y;
            double meanA;
            int32_t varianceA;
            statsA.At(x, y, meanA, varianceA);
            if (varianceA <= 0)
                continue; // a flat window scores 0 against everything
#if defined(KALVEX_X86_DISPATCH)
            if (wide)
                window.Load(x, y);
#endif
            double best = 0.0;
            int bestX = 0, bestY = 0;
            const int y0 = std::max(h, y + oy - range),
                      y1 = std::min(size.height - h, y + oy + range);
            const int x0 = std::max(h, x + ox - range),
                      x1 = std::min(size.width - h, x + ox + range);
            for (int yb = y0; yb < y1; ++yb) {
                const CCandidate* end = rowsB.End(yb);
                for (const CCandidate* c = rowsB.First(yb, x0); c != end && c->x < x1; ++c) {
                    const int xb = c->x;
                    double score = 0.0;
                    if (c->variance > 0) {
#if defined(KALVEX_X86_DISPATCH)
                        const int products = wide ? window.ProductSum(b, xb, yb)
                                                  : ProductSum(a, x, y, b, xb, yb, h);
#else
                        const int products = ProductSum(a, x, y, b, xb, yb, h);
#endif
                        const auto sum = static_cast<int64_t>(products - n * meanA * c->mean);
                        if (sum > 0)
                            score = sum / std::sqrt(static_cast<double>(varianceA) * c->variance);
                    }
                    if (score > best) {
                        best = score;
                        bestX = xb;
                        bestY = yb;
                    }
                }
            }
            if (best >= kScoreFloor) {
                found[k] = { x, y, bestX - x, bestY - y, 1 };
                hit[k] = 1;
            }
        }
    });
    if (cancel != nullptr && cancel->load())
        return matches;

    for (std::size_t k = 0; k < points.size(); ++k) {
        if (!hit[k])
            continue;
        CFusionMatch m = found[k];
        m.x = static_cast<int>(m.x / scale + 0.5);
        m.y = static_cast<int>(m.y / scale + 0.5);
        m.dx = static_cast<int>(m.dx / scale);
        m.dy = static_cast<int>(m.dy / scale);
        matches.push_back(m);
    }
    return matches;
}

void VoteDisplacements(
        std::vector<CFusionMatch>& matches, int rowStride, int height, int searchRange)
{
    if (matches.empty() || rowStride <= 0 || height <= 0)
        return;
    const auto modal = [&](int offset, auto displacement) {
        std::vector<int> histogram(2 * static_cast<std::size_t>(offset), 0);
        for (const auto& m : matches) {
            const int bin = offset + displacement(m);
            if (bin >= 0 && bin < static_cast<int>(histogram.size()))
                ++histogram[bin];
        }
        std::vector<int> smooth = histogram;
        for (std::size_t i = 1; i + 1 < histogram.size(); ++i)
            smooth[i] = histogram[i - 1] + histogram[i] + histogram[i + 1];
        const auto peak = std::max_element(smooth.begin(), smooth.end()) - smooth.begin();
        return static_cast<int>(peak) - offset;
    };
    const int modalX = modal(rowStride, [](const CFusionMatch& m) { return m.dx; });
    const int modalY = modal(height, [](const CFusionMatch& m) { return m.dy; });
    // 100^2 / 16 = 625: more than 25 pixels off the mode in either coordinate.
    const int64_t limit = static_cast<int64_t>(searchRange) * searchRange / 16;
    for (auto& m : matches) {
        const int64_t ex = m.dx - modalX, ey = m.dy - modalY;
        if (ex * ex > limit || ey * ey > limit)
            m.kept = 0;
    }
}

CAffineRow FitAffineRow(const std::vector<CFusionMatch>& matches, bool forX)
{
    double sxx = 0, sxy = 0, sx = 0, syy = 0, sy = 0, n = 0, sxt = 0, syt = 0, st = 0;
    for (const auto& m : matches) {
        if (!m.kept)
            continue;
        const double x = m.x, y = m.y;
        const double t = forX ? m.x + m.dx : m.y + m.dy;
        sxx += x * x;
        sxy += x * y;
        sx += x;
        syy += y * y;
        sy += y;
        n += 1;
        sxt += x * t;
        syt += y * t;
        st += t;
    }
    const auto det3 = [](double a, double b, double c, double d, double e, double f, double g,
                              double h, double i) {
        return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    };
    const double det = det3(sxx, sxy, sx, sxy, syy, sy, sx, sy, n);
    if (n == 0 || !(std::fabs(det) >= kSingularDeterminant))
        return forX ? CAffineRow { 1.0, 0.0, 0.0 } : CAffineRow { 0.0, 1.0, 0.0 };
    return { det3(sxt, sxy, sx, syt, syy, sy, st, sy, n) / det,
        det3(sxx, sxt, sx, sxy, syt, sy, sx, st, n) / det,
        det3(sxx, sxy, sxt, sxy, syy, syt, sx, sy, st) / det };
}

CAffineMap ChainMaps(const CAffineMap& pair, const CAffineMap& map)
{
    const auto combine = [&](const CAffineRow& row) {
        return CAffineRow { row.p * map.x.p + row.q * map.y.p, row.p * map.x.q + row.q * map.y.q,
            row.p * map.x.r + row.q * map.y.r + row.r };
    };
    return { combine(pair.x), combine(pair.y) };
}

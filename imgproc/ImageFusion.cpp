#include "imgproc/ImageFusion.h"

#include "base/FrameLayout.h"
#include "imgproc/FusionSteps.h"
#include "imgproc/SharpestSoFar.h"
#include "imgproc/StackAligner.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

constexpr int kFocusBlur = 21;
constexpr int kFocusSmoothing = 51;

FusionStatus CheckImages(std::span<const CImageView> images)
{
    if (images.size() < 2)
        return FusionStatus::TooFewImages;
    if (images.size() > static_cast<std::size_t>(kMaxFusionImages))
        return FusionStatus::TooManyImages;
    for (const auto& image : images)
        if (image.bits == nullptr || image.width <= 0 || image.height <= 0
                || image.stride < static_cast<std::size_t>(image.width) * 3)
            return FusionStatus::InvalidImage;
    for (const auto& image : images)
        if (image.width != images[0].width || image.height != images[0].height)
            return FusionStatus::SizeMismatch;
    return FusionStatus::Done;
}

cv::Mat Wrap(const CImageView& image)
{
    // Read only: the header is never used to write.
    return cv::Mat(
            image.height, image.width, CV_8UC3, const_cast<uint8_t*>(image.bits), image.stride);
}

cv::Mat Grey(const CImageView& image)
{
    cv::Mat grey;
    cv::cvtColor(Wrap(image), grey, cv::COLOR_BGR2GRAY);
    return grey;
}

CFusedImage NewResult(int width, int height)
{
    CFusedImage result;
    result.width = width;
    result.height = height;
    result.stride = static_cast<std::size_t>(FrameStride(width));
    result.bits.assign(result.stride * height, 0);
    return result;
}

cv::Mat Wrap(CFusedImage& image)
{
    return cv::Mat(image.height, image.width, CV_8UC3, image.bits.data(), image.stride);
}

bool Cancelled(const CFusionObserver& observer)
{
    return observer.cancel != nullptr && observer.cancel->load();
}

void Report(const CFusionObserver& observer, CFusionProgress::Stage stage, int index, int done,
        int total)
{
    if (observer.progress)
        observer.progress({ stage, index, done, total });
}

// The old box smoothing replicated the border pixels.
cv::Mat FocusMeasure(const cv::Mat& grey)
{
    cv::Mat blurred, focus;
    cv::blur(grey, blurred, cv::Size(kFocusBlur, kFocusBlur), cv::Point(-1, -1),
            cv::BORDER_REPLICATE);
    cv::absdiff(grey, blurred, focus);
    cv::blur(focus, focus, cv::Size(kFocusSmoothing, kFocusSmoothing), cv::Point(-1, -1),
            cv::BORDER_REPLICATE);
    return focus;
}

// Per reference pixel sums of the Adjusted Merge, flat over the reference grey image.
class CFusionAccumulator
{
public:
    CFusionAccumulator(int width, int height)
        : m_width(width), m_height(height), m_detail(Count(), 0), m_base(Count(), 0),
          m_blue(Count(), 0), m_green(Count(), 0), m_red(Count(), 0), m_coverage(Count(), 0)
    {
    }

    void Add(const CImageView& image, const cv::Mat& grey, const CAffineMap& map)
    {
        cv::Mat& g3 = m_g3;
        cv::Mat& g7 = m_g7;
        cv::Mat& g15 = m_g15;
        cv::GaussianBlur(grey, g3, cv::Size(3, 3), 0, 0, cv::BORDER_REPLICATE);
        cv::GaussianBlur(grey, g7, cv::Size(7, 7), 0, 0, cv::BORDER_REPLICATE);
        cv::GaussianBlur(grey, g15, cv::Size(15, 15), 0, 0, cv::BORDER_REPLICATE);
        const cv::Mat colour = Wrap(image);
        std::size_t at = 0;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x, ++at) {
                // Rounded by truncation toward zero, so -0.9 still lands on column 0.
                const double fu = map.x.p * x + map.x.q * y + map.x.r + 0.5;
                const double fv = map.y.p * x + map.y.q * y + map.y.r + 0.5;
                if (!(fu > -1.0 && fu < m_width && fv > -1.0 && fv < m_height))
                    continue;
                const int u = static_cast<int>(fu), v = static_cast<int>(fv);
                const int i = grey.at<uint8_t>(v, u);
                const int b3 = g3.at<uint8_t>(v, u);
                const int b7 = g7.at<uint8_t>(v, u);
                const int b15 = g15.at<uint8_t>(v, u);
                m_detail[at] += 6 * i - b3 - 2 * b7 - 3 * b15;
                m_base[at] += (b3 + b7 + b15) / 3;
                ++m_coverage[at];
                const uint8_t* p = colour.ptr<uint8_t>(v) + 3 * u;
                m_blue[at] += p[0];
                m_green[at] += p[1];
                m_red[at] += p[2];
            }
        }
    }

    // Fused grey brightness with the inputs' averaged chromaticity.
    void Restore(CFusedImage& result) const
    {
        std::size_t at = 0;
        for (int y = 0; y < m_height; ++y) {
            uint8_t* out = result.bits.data() + result.stride * y;
            for (int x = 0; x < m_width; ++x, ++at, out += 3) {
                const int n = m_coverage[at];
                const int fused = std::clamp((m_detail[at] + m_base[at]) / n, 0, 255);
                const int b = m_blue[at] / n, g = m_green[at] / n, r = m_red[at] / n;
                const int s = b + g + r;
                if (s == 0) {
                    out[0] = out[1] = out[2] = 0;
                    continue;
                }
                const auto channel = [&](int c) {
                    const double v = static_cast<double>(fused) * c * 3 / s + 0.5;
                    return static_cast<uint8_t>(std::min(255, static_cast<int>(v)));
                };
                out[0] = channel(b);
                out[1] = channel(g);
                out[2] = channel(r);
            }
        }
    }

private:
    std::size_t Count() const { return static_cast<std::size_t>(m_width) * m_height; }

    int m_width;
    int m_height;
    std::vector<int32_t> m_detail;
    std::vector<int32_t> m_base;
    std::vector<int32_t> m_blue;
    std::vector<int32_t> m_green;
    std::vector<int32_t> m_red;
    std::vector<uint8_t> m_coverage;
    // Kept from image to image so that each blur reuses its buffer.
    cv::Mat m_g3;
    cv::Mat m_g7;
    cv::Mat m_g15;
};

FusionStatus DirectMerge(
        std::span<const CImageView> images, CFusedImage& result, const CFusionObserver& observer)
{
    if (const FusionStatus status = CheckImages(images); status != FusionStatus::Done)
        return status;
    const int total = static_cast<int>(images.size());
    CFusedImage fused = NewResult(images[0].width, images[0].height);
    cv::Mat out = Wrap(fused);
    cv::Mat sharpest;
    // Keeping only the sharpest focus so far: a later input wins only where it is strictly
    // sharper, which is the lowest index among equals.
    for (int k = 0; k < total; ++k) {
        if (Cancelled(observer))
            return FusionStatus::Cancelled;
        cv::Mat focus = FocusMeasure(Grey(images[k]));
        if (k == 0) {
            Wrap(images[0]).copyTo(out);
            sharpest = focus;
        } else {
            cv::Mat sharper;
            cv::compare(focus, sharpest, sharper, cv::CMP_GT);
            Wrap(images[k]).copyTo(out, sharper);
            focus.copyTo(sharpest, sharper);
        }
        Report(observer, CFusionProgress::Stage::Image, k, k + 1, total);
    }
    result = std::move(fused);
    return FusionStatus::Done;
}

FusionStatus AdjustedMerge(std::span<const CImageView> images, CSearchCentre& centre,
        CFusedImage& result, const CFusionObserver& observer, const CAdjustedMergeParams& params)
{
    if (const FusionStatus status = CheckImages(images); status != FusionStatus::Done)
        return status;
    const int count = static_cast<int>(images.size());
    const int total = 2 * count - 1;
    const int width = images[0].width, height = images[0].height;
    const int rowStride = (width + 3) / 4 * 4;
    int done = 0;

    // A cancelled run leaves no trace, the search centre included.
    const CSearchCentre startCentre = centre;
    const auto cancelled = [&] {
        centre = startCentre;
        return FusionStatus::Cancelled;
    };

    CFusionAccumulator sums(width, height);
    cv::Mat grey = Grey(images[0]);
    sums.Add(images[0], grey, CAffineMap {});
    CMatchImage earlier = PrepareMatchImage(grey, params);
    Report(observer, CFusionProgress::Stage::Image, 0, ++done, total);

    CAffineMap cumulative;
    for (int k = 0; k + 1 < count; ++k) {
        if (Cancelled(observer))
            return cancelled();
        grey = Grey(images[k + 1]);
        CMatchImage later = PrepareMatchImage(grey, params);
        CFusionPairReport report;
        report.first = k;
        report.searchedAround = centre;
        std::vector<CFusionMatch> matches =
                MatchPair(earlier, later, centre, params, observer.cancel);
        if (Cancelled(observer))
            return cancelled();
        VoteDisplacements(matches, rowStride, height, params.searchRange);

        int64_t sumX = 0, sumY = 0, kept = 0;
        for (const auto& m : matches)
            if (m.kept) {
                sumX += m.dx;
                sumY += m.dy;
                ++kept;
            }
        if (kept > 0)
            centre = { static_cast<int>(sumX / kept), static_cast<int>(sumY / kept) };

        report.matches = static_cast<int>(matches.size());
        report.keptMatches = static_cast<int>(kept);
        report.pairMap = { FitAffineRow(matches, true), FitAffineRow(matches, false) };
        cumulative = ChainMaps(report.pairMap, cumulative);
        report.cumulativeMap = cumulative;
        if (observer.pairDone)
            observer.pairDone(report);
        Report(observer, CFusionProgress::Stage::Pair, k, ++done, total);

        if (Cancelled(observer))
            return cancelled();
        sums.Add(images[k + 1], grey, cumulative);
        Report(observer, CFusionProgress::Stage::Image, k + 1, ++done, total);
        earlier = std::move(later);
    }

    CFusedImage fused = NewResult(width, height);
    sums.Restore(fused);
    result = std::move(fused);
    return FusionStatus::Done;
}

FusionStatus AlignedMerge(std::span<const CImageView> images, CFusedImage& result,
        const CFusionObserver& observer, CDepthMap* depth)
{
    if (const FusionStatus status = CheckImages(images); status != FusionStatus::Done)
        return status;
    const int count = static_cast<int>(images.size());
    const int total = 2 * count - 1;
    const int width = images[0].width, height = images[0].height;
    int done = 0;

    CStackAligner aligner;
    CSharpestSoFar sharpest(width, height);
    CAffineMap cumulative;
    for (int k = 0; k < count; ++k) {
        if (Cancelled(observer))
            return FusionStatus::Cancelled;
        const CAffineMap pair = aligner.Add(images[k]);
        if (k > 0) {
            cumulative = ChainMaps(pair, cumulative);
            CFusionPairReport report;
            report.first = k - 1;
            report.pairMap = pair;
            report.cumulativeMap = cumulative;
            if (observer.pairDone)
                observer.pairDone(report);
            Report(observer, CFusionProgress::Stage::Pair, k - 1, ++done, total);
            if (Cancelled(observer))
                return FusionStatus::Cancelled;
        }
        sharpest.AddAligned(k, images[k], cumulative);
        Report(observer, CFusionProgress::Stage::Image, k, ++done, total);
    }
    if (depth != nullptr)
        *depth = sharpest.Depth();
    result = sharpest.TakeResult();
    return FusionStatus::Done;
}

} // namespace

FusionStatus FuseDirect(
        std::span<const CImageView> images, CFusedImage& result, const CFusionObserver& observer)
{
    // Nothing thrown inside (memory, OpenCV) leaves the fusion: it is run off the
    // user-interface thread.
    try {
        return DirectMerge(images, result, observer);
    } catch (const std::exception&) {
        return FusionStatus::Failed;
    }
}

FusionStatus FuseAdjusted(std::span<const CImageView> images, CSearchCentre& centre,
        CFusedImage& result, const CFusionObserver& observer, const CAdjustedMergeParams& params)
{
    const CSearchCentre startCentre = centre;
    try {
        return AdjustedMerge(images, centre, result, observer, params);
    } catch (const std::exception&) {
        centre = startCentre;
        return FusionStatus::Failed;
    }
}

FusionStatus FuseAligned(std::span<const CImageView> images, CFusedImage& result,
        const CFusionObserver& observer, CDepthMap* depth)
{
    try {
        return AlignedMerge(images, result, observer, depth);
    } catch (const std::exception&) {
        return FusionStatus::Failed;
    }
}

FusionStatus Fuse(FusionMode mode, std::span<const CImageView> images, CSearchCentre& centre,
        CFusedImage& result, const CFusionObserver& observer, CDepthMap* depth)
{
    switch (mode) {
    case FusionMode::Direct:
        return FuseDirect(images, result, observer);
    case FusionMode::Adjusted:
        return FuseAdjusted(images, centre, result, observer);
    case FusionMode::Aligned:
        return FuseAligned(images, result, observer, depth);
    }
    return FusionStatus::Failed;
}

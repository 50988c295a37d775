#include "imgproc/ImageFusion.h"
#include "imgproc/StackAligner.h"
#include "imgproc/StackResampler.h"

#include "FocusSweep.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

using namespace sweep;

namespace {

cv::Mat ToMat(const CFusedImage& image)
{
    return cv::Mat(image.height, image.width, CV_8UC3, const_cast<uint8_t*>(image.bits.data()),
            image.stride)
            .clone();
}

// Every point of the picture lands within `tolerance` pixels of where `motion` puts it.
void ExpectMap(
        const CAffineMap& map, const cv::Matx23d& motion, int width, int height, double tolerance)
{
    for (const auto [x, y] : { std::pair { 0, 0 }, { width - 1, 0 }, { 0, height - 1 },
                 { width - 1, height - 1 }, { width / 2, height / 2 } }) {
        const double ex = motion(0, 0) * x + motion(0, 1) * y + motion(0, 2);
        const double ey = motion(1, 0) * x + motion(1, 1) * y + motion(1, 2);
        EXPECT_NEAR(map.x.p * x + map.x.q * y + map.x.r, ex, tolerance) << x << "," << y;
        EXPECT_NEAR(map.y.p * x + map.y.q * y + map.y.r, ey, tolerance) << x << "," << y;
    }
}

struct CAlignedRun
{
    FusionStatus status = FusionStatus::Done;
    CFusedImage result;
    CDepthMap depth;
    std::vector<CFusionPairReport> pairs;
};

CAlignedRun Aligned(const std::vector<cv::Mat>& images)
{
    std::vector<CImageView> views;
    for (const auto& image : images)
        views.push_back(View(image));
    CAlignedRun run;
    CFusionObserver observer;
    observer.pairDone = [&](const CFusionPairReport& report) { run.pairs.push_back(report); };
    run.status = FuseAligned(views, run.result, observer, &run.depth);
    return run;
}

// A focus series of `slices` horizontal bands: slice k is sharp in band k and the more blurred
// the farther a band is from it.
std::vector<cv::Mat> BandedStack(const cv::Mat& sharp, int slices)
{
    std::vector<cv::Mat> levels { sharp };
    for (int d = 1; d <= 3; ++d) {
        cv::Mat blurred;
        cv::GaussianBlur(sharp, blurred, cv::Size(0, 0), 1.5 * d);
        levels.push_back(blurred);
    }
    std::vector<cv::Mat> stack;
    for (int k = 0; k < slices; ++k) {
        cv::Mat slice(sharp.size(), CV_8UC3);
        for (int band = 0; band < slices; ++band) {
            const int top = band * sharp.rows / slices, bottom = (band + 1) * sharp.rows / slices;
            const cv::Rect rows(0, top, sharp.cols, bottom - top);
            levels[static_cast<size_t>(std::min(std::abs(band - k), 3))](rows).copyTo(slice(rows));
        }
        stack.push_back(slice);
    }
    return stack;
}

// Colour bars over a fine grid of squares: flat areas, stripes and an exact period.
cv::Mat BarsAndGrid(int width, int height)
{
    cv::Mat image(height, width, CV_8UC3, cv::Scalar(16, 16, 16));
    const cv::Scalar bars[] = { { 192, 192, 192 }, { 0, 192, 192 }, { 192, 192, 0 }, { 0, 192, 0 },
        { 192, 0, 192 }, { 0, 0, 192 }, { 192, 0, 0 } };
    for (int i = 0; i < 7; ++i)
        cv::rectangle(image, cv::Rect(i * width / 7, 0, width / 7 + 1, height * 2 / 3), bars[i],
                cv::FILLED);
    for (int y = height * 2 / 3; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (((x / 8) + (y / 8)) % 2 == 0)
                image.at<cv::Vec3b>(y, x) = { 235, 235, 235 };
    return image;
}

} // namespace

TEST(AlignedMerge_Identity, IdenticalSlicesGiveTheReferenceUnchanged)
{
    const cv::Mat image = Texture(320, 240, 1);
    const std::vector<cv::Mat> stack(4, image);
    const CAlignedRun run = Aligned(stack);
    ASSERT_EQ(run.status, FusionStatus::Done);
    EXPECT_EQ(cv::norm(ToMat(run.result), image, cv::NORM_INF), 0.0);
    EXPECT_EQ(run.result.stride, 960u);
    ASSERT_EQ(run.pairs.size(), 3u);
    for (const auto& pair : run.pairs)
        ExpectMap(pair.cumulativeMap, Motion(320, 240, 1.0, 0, 0), 320, 240, 1e-9);
    ASSERT_EQ(run.depth.index.size(), 320u * 240u);
    EXPECT_EQ(*std::max_element(run.depth.index.begin(), run.depth.index.end()), 0);

    // A flat grey set has nothing to align on, and nothing to choose between.
    const cv::Mat grey(100, 80, CV_8UC3, cv::Scalar(90, 90, 90));
    const CAlignedRun flat = Aligned({ grey, grey.clone() });
    ASSERT_EQ(flat.status, FusionStatus::Done);
    EXPECT_EQ(cv::norm(ToMat(flat.result), grey, cv::NORM_INF), 0.0);
}

TEST(AlignedMerge_Alignment, KnownTranslationAndScaleAreRecovered)
{
    // One pair, at full size and on a picture large enough to be aligned reduced.
    for (const auto [width, height] : { std::pair { 480, 360 }, { 1200, 900 } }) {
        const cv::Mat first = Texture(width, height, 2);
        const cv::Matx23d motion = Motion(width, height, 1.02, 7.3, -4.6);
        const cv::Mat second = Move(first, motion);
        ExpectMap(CStackAligner::Align(View(first), View(second)), motion, width, height, 0.5);
    }

    // A focus series that breathes and drifts: the chained maps stay within half a pixel.
    const int width = 640, height = 480, slices = 6;
    const std::vector<cv::Mat> still = BandedStack(Texture(width, height, 3), slices);
    std::vector<cv::Mat> moving;
    for (int k = 0; k < slices; ++k)
        moving.push_back(Move(still[k], Motion(width, height, 1 + 0.003 * k, 2.0 * k, -1.0 * k)));
    const CAlignedRun run = Aligned(moving);
    ASSERT_EQ(run.status, FusionStatus::Done);
    ASSERT_EQ(run.pairs.size(), static_cast<size_t>(slices - 1));
    for (int k = 1; k < slices; ++k)
        ExpectMap(run.pairs[k - 1].cumulativeMap,
                Motion(width, height, 1 + 0.003 * k, 2.0 * k, -1.0 * k), width, height, 0.5);
}

TEST(AlignedMerge_Alignment, PeriodicPatternGivesNoFalseScale)
{
    const int width = 640, height = 480;
    const cv::Mat pattern = BarsAndGrid(width, height);
    const CAffineMap same = CStackAligner::Align(View(pattern), View(pattern.clone()));
    ExpectMap(same, Motion(width, height, 1.0, 0, 0), width, height, 1e-6);

    // Moved by less than half the grid's period: the true shift, not a neighbouring period.
    const cv::Matx23d shift = Motion(width, height, 1.0, 3.0, 2.0);
    const CAffineMap moved = CStackAligner::Align(View(pattern), View(Move(pattern, shift)));
    ExpectMap(moved, shift, width, height, 0.5);
    EXPECT_NEAR(moved.x.p, 1.0, 1e-3);
    EXPECT_NEAR(moved.y.q, 1.0, 1e-3);
}

TEST(AlignedMerge_Fusion, MovingStackIsCloserToTheTruthThanEverySliceAndDirectMerge)
{
    const int width = 640, height = 480, slices = 6;
    const cv::Mat truth = Texture(width, height, 4);
    const std::vector<cv::Mat> still = BandedStack(truth, slices);
    std::vector<cv::Mat> moving;
    for (int k = 0; k < slices; ++k)
        moving.push_back(Move(still[k], Motion(width, height, 1 + 0.003 * k, 2.0 * k, -1.0 * k)));

    const CAlignedRun run = Aligned(moving);
    ASSERT_EQ(run.status, FusionStatus::Done);
    const cv::Mat fused = ToMat(run.result);
    std::vector<CImageView> views;
    for (const auto& slice : moving)
        views.push_back(View(slice));
    CFusedImage direct;
    ASSERT_EQ(FuseDirect(views, direct), FusionStatus::Done);

    // Judged inside the part every slice sees.
    const cv::Rect inner(24, 24, width - 48, height - 48);
    const double error = MeanSquaredError(fused, truth, inner);
    EXPECT_LT(error * 2, MeanSquaredError(ToMat(direct), truth, inner));
    for (const auto& slice : moving)
        EXPECT_LT(error * 2, MeanSquaredError(slice, truth, inner));

    // The borders later slices do not cover come from earlier ones, never black.
    double lowest = 0;
    cv::Mat grey;
    cv::cvtColor(fused, grey, cv::COLOR_BGR2GRAY);
    cv::minMaxLoc(grey, &lowest);
    EXPECT_GT(lowest, 10.0);

    // The depth map names the sharp slice of each band away from the band edges.
    ASSERT_EQ(run.depth.width, width);
    for (int band = 0; band < slices; ++band) {
        const int y = (2 * band + 1) * height / (2 * slices);
        int agree = 0;
        for (int x = 40; x < width - 40; ++x)
            agree += run.depth.index[static_cast<size_t>(y) * width + x] == band;
        EXPECT_GT(agree, (width - 80) * 9 / 10) << "band " << band;
    }
}

TEST(AlignedMerge_Fusion, StillStackTakesEachBandFromItsSharpSlice)
{
    const int width = 480, height = 360, slices = 4;
    const cv::Mat truth = Texture(width, height, 5);
    const CAlignedRun run = Aligned(BandedStack(truth, slices));
    ASSERT_EQ(run.status, FusionStatus::Done);
    // Slices that differ in focus band by band pull the fit a few hundredths of a pixel.
    for (const auto& pair : run.pairs)
        ExpectMap(pair.cumulativeMap, Motion(width, height, 1.0, 0, 0), width, height, 0.1);
    // Close to the truth away from the band edges, where the choice may be off by a pixel
    // or two.
    const cv::Mat fused = ToMat(run.result);
    for (int band = 0; band < slices; ++band) {
        const cv::Rect inside(0, band * height / slices + 8, width, height / slices - 16);
        EXPECT_LT(MeanSquaredError(fused, truth, inside), 10.0) << "band " << band;
    }
}

TEST(AlignedMerge_Observer, ProgressRefusalAndCancel)
{
    const cv::Mat image = Texture(120, 90, 6);
    const std::vector<CImageView> views(3, View(image));
    std::vector<CFusionProgress> steps;
    CFusionObserver observer;
    observer.progress = [&](const CFusionProgress& p) { steps.push_back(p); };
    CFusedImage result;
    CDepthMap depth;
    ASSERT_EQ(FuseAligned(views, result, observer, &depth), FusionStatus::Done);
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[1].stage, CFusionProgress::Stage::Pair);
    EXPECT_EQ(steps.back().done, 5);
    EXPECT_EQ(steps.back().total, 5);

    const auto before = result.bits;
    std::atomic<bool> cancel { false };
    observer.cancel = &cancel;
    observer.progress = [&](const CFusionProgress&) { cancel = true; };
    EXPECT_EQ(FuseAligned(views, result, observer, &depth), FusionStatus::Cancelled);
    EXPECT_EQ(result.bits, before);
    EXPECT_EQ(depth.index.size(), 120u * 90u);

    const cv::Mat other(90, 121, CV_8UC3, cv::Scalar::all(0));
    EXPECT_EQ(FuseAligned(std::vector<CImageView> { View(image), View(other) }, result),
            FusionStatus::SizeMismatch);
    EXPECT_EQ(FuseAligned(std::vector<CImageView> { View(image) }, result),
            FusionStatus::TooFewImages);
    EXPECT_EQ(FuseAligned(std::vector<CImageView>(21, View(image)), result),
            FusionStatus::TooManyImages);
}

TEST(AlignedMerge_Resample, ScaleAndShiftMatchTheGeneralWarp)
{
    const int width = 300, height = 200;
    const cv::Mat slice = Texture(width, height, 7);
    const auto general = [&](const CAffineMap& map) {
        const cv::Matx23d m { map.x.p, map.x.q, map.x.r, map.y.p, map.y.q, map.y.r };
        cv::Mat out;
        cv::warpAffine(slice, out, m, slice.size(), cv::INTER_CUBIC | cv::WARP_INVERSE_MAP,
                cv::BORDER_REPLICATE);
        return out;
    };
    // Magnified, shrunk and moved by fractions, out over the edges too.
    for (const CAffineMap& map : { CAffineMap { { 1.013, 0, -3.37 }, { 0, 1.013, 2.81 } },
                 CAffineMap { { 0.97, 0, 5.5 }, { 0, 0.99, -0.25 } } }) {
        ASSERT_TRUE(CStackResampler::Separable(map, width, height));
        cv::Mat fast;
        CStackResampler::Resample(View(slice), map, fast);
        // OpenCV rounds the fractions to 1/32 pixel; the separable passes do not.
        EXPECT_LE(cv::norm(fast, general(map), cv::NORM_INF), 3.0);
    }
    // A turn is not separable and goes the general way, exactly.
    const CAffineMap turned { { 0.9998, -0.02, 2.0 }, { 0.02, 0.9998, -2.0 } };
    EXPECT_FALSE(CStackResampler::Separable(turned, width, height));
    cv::Mat out;
    CStackResampler::Resample(View(slice), turned, out);
    EXPECT_EQ(cv::norm(out, general(turned), cv::NORM_INF), 0.0);
}

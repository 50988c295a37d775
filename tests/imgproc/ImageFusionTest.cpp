#include "imgproc/FusionSteps.h"
#include "imgproc/ImageFusion.h"
#include "imgproc/WideInstructions.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <atomic>
#include <cmath>
#include <vector>

namespace {

CImageView View(const cv::Mat& image)
{
    return { image.cols, image.rows, image.step, image.data };
}

// Smooth random blobs with plenty of edges and corners; values kept in 20-235.
cv::Mat Texture(int width, int height, uint64_t seed, bool colour = false)
{
    cv::RNG rng(seed);
    cv::Mat coarse((height + 5) / 6, (width + 5) / 6, colour ? CV_8UC3 : CV_8UC1);
    rng.fill(coarse, cv::RNG::UNIFORM, 20, 236);
    cv::Mat fine;
    cv::resize(coarse, fine, cv::Size(width, height), 0, 0, cv::INTER_CUBIC);
    cv::Mat out;
    fine.convertTo(out, CV_8U);
    if (!colour)
        cv::cvtColor(out, out, cv::COLOR_GRAY2BGR);
    return out;
}

cv::Mat Flat(int width, int height, cv::Scalar colour)
{
    return cv::Mat(height, width, CV_8UC3, colour);
}

cv::Mat ToMat(const CFusedImage& image)
{
    return cv::Mat(image.height, image.width, CV_8UC3, const_cast<uint8_t*>(image.bits.data()),
            image.stride)
            .clone();
}

double MeanSquaredError(const cv::Mat& a, const cv::Mat& b)
{
    cv::Mat diff;
    cv::absdiff(a, b, diff);
    diff.convertTo(diff, CV_64F);
    return cv::mean(diff.mul(diff))[0];
}

struct CRun
{
    FusionStatus status = FusionStatus::Done;
    CFusedImage result;
    std::vector<CFusionPairReport> pairs;
};

CRun Adjusted(const std::vector<cv::Mat>& images, CSearchCentre& centre)
{
    std::vector<CImageView> views;
    for (const auto& image : images)
        views.push_back(View(image));
    CRun run;
    CFusionObserver observer;
    observer.pairDone = [&](const CFusionPairReport& report) { run.pairs.push_back(report); };
    run.status = FuseAdjusted(views, centre, run.result, observer);
    return run;
}

void ExpectIdentity(const CAffineMap& map)
{
    EXPECT_NEAR(map.x.p, 1.0, 1e-9);
    EXPECT_NEAR(map.x.q, 0.0, 1e-9);
    EXPECT_NEAR(map.x.r, 0.0, 1e-6);
    EXPECT_NEAR(map.y.p, 0.0, 1e-9);
    EXPECT_NEAR(map.y.q, 1.0, 1e-9);
    EXPECT_NEAR(map.y.r, 0.0, 1e-6);
}

// The pair map moves every point of the picture by (dx, dy) within one pixel.
void ExpectTranslation(const CAffineMap& map, int width, int height, int dx, int dy)
{
    for (const auto [x, y] : { std::pair { 0, 0 }, { width - 1, 0 }, { 0, height - 1 },
                 { width - 1, height - 1 }, { width / 2, height / 2 } }) {
        EXPECT_NEAR(map.x.p * x + map.x.q * y + map.x.r, x + dx, 1.0) << x << "," << y;
        EXPECT_NEAR(map.y.p * x + map.y.q * y + map.y.r, y + dy, 1.0) << x << "," << y;
    }
}

// A (width + 2 margin) texture seen through two windows: the second shows the first's
// content moved by (dx, dy).
std::pair<cv::Mat, cv::Mat> ShiftedPair(int width, int height, int dx, int dy, uint64_t seed)
{
    const int margin = 200;
    const cv::Mat big = Texture(width + 2 * margin, height + 2 * margin, seed);
    return { big(cv::Rect(margin, margin, width, height)).clone(),
        big(cv::Rect(margin - dx, margin - dy, width, height)).clone() };
}

} // namespace

TEST(ImageFusion_Refusal, CountsAndSizes)
{
    const cv::Mat a = Flat(640, 480, { 1, 2, 3 }), b = Flat(641, 480, { 1, 2, 3 });
    CFusedImage result;
    CSearchCentre centre;
    const std::vector<CImageView> mismatch { View(a), View(b) };
    EXPECT_EQ(FuseDirect(mismatch, result), FusionStatus::SizeMismatch);
    EXPECT_EQ(FuseAdjusted(mismatch, centre, result), FusionStatus::SizeMismatch);

    const std::vector<CImageView> one { View(a) };
    EXPECT_EQ(FuseDirect(one, result), FusionStatus::TooFewImages);
    EXPECT_EQ(FuseAdjusted(one, centre, result), FusionStatus::TooFewImages);

    const std::vector<CImageView> many(21, View(a));
    EXPECT_EQ(FuseDirect(many, result), FusionStatus::TooManyImages);

    std::vector<CImageView> broken { View(a), View(a) };
    broken[1].stride = 100;
    EXPECT_EQ(FuseDirect(broken, result), FusionStatus::InvalidImage);
    broken[1] = {};
    EXPECT_EQ(FuseAdjusted(broken, centre, result), FusionStatus::InvalidImage);
    EXPECT_TRUE(result.bits.empty());
}

TEST(ImageFusion_Direct, TiesGoToTheFirstImage)
{
    const cv::Mat texture = Texture(200, 150, 1, true);
    CFusedImage result;
    const cv::Mat copy = texture.clone();
    const std::vector<CImageView> same { View(texture), View(copy) };
    ASSERT_EQ(FuseDirect(same, result), FusionStatus::Done);
    EXPECT_EQ(cv::norm(ToMat(result), texture, cv::NORM_INF), 0.0);
    EXPECT_EQ(result.stride, 600u);

    // Flat pictures have no focus anywhere: every pixel is a tie.
    const cv::Mat red = Flat(101, 50, { 0, 0, 200 }), blue = Flat(101, 50, { 200, 0, 0 });
    const std::vector<CImageView> flat { View(red), View(blue) };
    ASSERT_EQ(FuseDirect(flat, result), FusionStatus::Done);
    EXPECT_EQ(result.stride, 304u);
    EXPECT_EQ(cv::norm(ToMat(result), red, cv::NORM_INF), 0.0);
}

TEST(ImageFusion_Direct, FocusStackIsSharperThanEverySlice)
{
    const int width = 480, height = 360, slices = 4;
    const cv::Mat sharp = Texture(width, height, 5, true);
    cv::Mat blurred;
    cv::GaussianBlur(sharp, blurred, cv::Size(0, 0), 4.0);
    std::vector<cv::Mat> stack;
    std::vector<CImageView> views;
    for (int k = 0; k < slices; ++k) {
        cv::Mat slice = blurred.clone();
        const cv::Rect band(0, k * height / slices, width, height / slices);
        sharp(band).copyTo(slice(band));
        stack.push_back(slice);
    }
    for (const auto& slice : stack)
        views.push_back(View(slice));
    CFusedImage result;
    ASSERT_EQ(FuseDirect(views, result), FusionStatus::Done);
    const double fused = MeanSquaredError(ToMat(result), sharp);
    for (const auto& slice : stack)
        EXPECT_LT(fused * 4, MeanSquaredError(slice, sharp));
}

TEST(ImageFusion_Adjusted, IdenticalImagesGiveDetailGreyAndIdentity)
{
    const cv::Mat image = Texture(320, 240, 2);
    CSearchCentre centre;
    const CRun run = Adjusted({ image, image.clone() }, centre);
    ASSERT_EQ(run.status, FusionStatus::Done);
    ASSERT_EQ(run.pairs.size(), 1u);
    EXPECT_GT(run.pairs[0].keptMatches, 20);
    EXPECT_EQ(run.pairs[0].keptMatches, run.pairs[0].matches);
    ExpectIdentity(run.pairs[0].pairMap);
    EXPECT_EQ(centre.cx, 0);
    EXPECT_EQ(centre.cy, 0);

    cv::Mat grey, g3, g7, g15;
    cv::cvtColor(image, grey, cv::COLOR_BGR2GRAY);
    cv::GaussianBlur(grey, g3, { 3, 3 }, 0, 0, cv::BORDER_REPLICATE);
    cv::GaussianBlur(grey, g7, { 7, 7 }, 0, 0, cv::BORDER_REPLICATE);
    cv::GaussianBlur(grey, g15, { 15, 15 }, 0, 0, cv::BORDER_REPLICATE);
    const cv::Mat out = ToMat(run.result);
    int wrong = 0;
    for (int y = 0; y < image.rows; ++y)
        for (int x = 0; x < image.cols; ++x) {
            const int i = grey.at<uint8_t>(y, x), b3 = g3.at<uint8_t>(y, x),
                      b7 = g7.at<uint8_t>(y, x), b15 = g15.at<uint8_t>(y, x);
            const int f = std::clamp(6 * i - b3 - 2 * b7 - 3 * b15 + (b3 + b7 + b15) / 3, 0, 255);
            const cv::Vec3b p = out.at<cv::Vec3b>(y, x);
            wrong += p[0] != f || p[1] != f || p[2] != f;
        }
    EXPECT_EQ(wrong, 0);
}

TEST(ImageFusion_Adjusted, FlatGreyGivesIdentity)
{
    const cv::Mat flat = Flat(320, 240, { 128, 128, 128 });
    const cv::Mat texture = Texture(320, 240, 3);
    for (const auto& order : { std::vector { flat, texture }, std::vector { texture, flat } }) {
        CSearchCentre centre { 6, -4 };
        const CRun run = Adjusted(order, centre);
        ASSERT_EQ(run.status, FusionStatus::Done);
        EXPECT_EQ(run.pairs[0].matches, 0);
        ExpectIdentity(run.pairs[0].pairMap);
        EXPECT_EQ(centre.cx, 6); // no kept match: the centre stays
        EXPECT_EQ(centre.cy, -4);
    }
}

TEST(ImageFusion_Adjusted, SmallImagesGiveIdentity)
{
    const cv::Mat image = Texture(35, 120, 4);
    CSearchCentre centre;
    const CRun run = Adjusted({ image, image.clone(), image.clone() }, centre);
    ASSERT_EQ(run.status, FusionStatus::Done);
    ASSERT_EQ(run.pairs.size(), 2u);
    for (const auto& pair : run.pairs) {
        EXPECT_EQ(pair.matches, 0);
        ExpectIdentity(pair.cumulativeMap);
    }
}

TEST(ImageFusion_Adjusted, WholePixelTranslationIsAligned)
{
    const int width = 400, height = 300;
    for (const auto [dx, dy] : { std::pair { 14, -8 }, { -7, 5 } }) {
        const auto [a, b] = ShiftedPair(width, height, dx, dy, 11);
        CSearchCentre centre;
        const CRun run = Adjusted({ a, b }, centre);
        ASSERT_EQ(run.status, FusionStatus::Done);
        EXPECT_GT(run.pairs[0].keptMatches, 20);
        ExpectTranslation(run.pairs[0].pairMap, width, height, dx, dy);
        EXPECT_NEAR(centre.cx, dx, 1);
        EXPECT_NEAR(centre.cy, dy, 1);
        // Aligned, the picture keeps the texture: the fused grey of the overlap stays close
        // to the fused grey of the first image alone with itself.
        const CRun self = Adjusted({ a, a }, centre = {});
        const cv::Rect overlap(20, 20, width - 40, height - 40);
        EXPECT_LT(MeanSquaredError(ToMat(run.result)(overlap), ToMat(self.result)(overlap)), 60.0);
    }
}

TEST(ImageFusion_Adjusted, SecondRunStartsAtPreviousMeanDisplacement)
{
    const int width = 480, height = 240;
    CSearchCentre centre;
    const auto [a1, b1] = ShiftedPair(width, height, 60, 0, 21);
    const CRun first = Adjusted({ a1, b1 }, centre);
    ASSERT_EQ(first.status, FusionStatus::Done);
    EXPECT_EQ(first.pairs[0].searchedAround.cx, 0);
    EXPECT_EQ(centre.cx, 60);
    EXPECT_EQ(centre.cy, 0);

    // 150 pixels is beyond the search range around 0 but within it around 60.
    const auto [a2, b2] = ShiftedPair(width, height, 150, 0, 22);
    const CRun second = Adjusted({ a2, b2 }, centre);
    EXPECT_EQ(second.pairs[0].searchedAround.cx, 60);
    ExpectTranslation(second.pairs[0].pairMap, width, height, 150, 0);

    CSearchCentre fresh;
    const CRun fromZero = Adjusted({ a2, b2 }, fresh);
    const CAffineMap& map = fromZero.pairs[0].pairMap;
    EXPECT_GT(std::fabs(map.x.p * width / 2 + map.x.q * height / 2 + map.x.r - (width / 2 + 150)),
            1.0);
}

TEST(ImageFusion_Vote, QuarterOfSearchRangeAroundMode)
{
    // Displacements 3, 4 x 5, 5 in x and -3, -2 x 5, -1 in y: modes 4 and -2.
    std::vector<CFusionMatch> matches;
    for (int i = 0; i < 7; ++i) {
        const int spread = i == 0 ? -1 : (i == 6 ? 1 : 0);
        matches.push_back({ 10 * i, 5 * i, 4 + spread, -2 + spread, 1 });
    }
    matches.push_back({ 1, 1, 4 + 25, -2, 1 });
    matches.push_back({ 2, 2, 4 - 26, -2, 1 });
    matches.push_back({ 3, 3, 4, -2 - 25, 1 });
    matches.push_back({ 4, 4, 4, -2 + 26, 1 });
    VoteDisplacements(matches, 640, 480, 100);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(matches[i].kept, 1);
    EXPECT_EQ(matches[7].kept, 1);
    EXPECT_EQ(matches[8].kept, 0);
    EXPECT_EQ(matches[9].kept, 1);
    EXPECT_EQ(matches[10].kept, 0);
}

TEST(ImageFusion_Vote, OutOfRangeDisplacementIsRejectedNotCounted)
{
    std::vector<CFusionMatch> matches { { 0, 0, 3, 3, 1 }, { 0, 0, 3, 3, 1 },
        { 0, 0, 5000, 3, 1 } };
    VoteDisplacements(matches, 64, 48, 100);
    EXPECT_EQ(matches[0].kept, 1);
    EXPECT_EQ(matches[2].kept, 0);
}

TEST(ImageFusion_Fit, SolvesAffineRowsAndFallsBackToIdentity)
{
    // Targets x' = 2x + 3y + 5, y' = -x + 0.5y + 7 on a grid.
    std::vector<CFusionMatch> matches;
    for (int y = 0; y < 100; y += 10)
        for (int x = 0; x < 100; x += 10)
            matches.push_back({ x, y, x + 3 * y + 5, -x - y / 2 + 7, 1 });
    const CAffineRow rx = FitAffineRow(matches, true), ry = FitAffineRow(matches, false);
    EXPECT_NEAR(rx.p, 2.0, 1e-9);
    EXPECT_NEAR(rx.q, 3.0, 1e-9);
    EXPECT_NEAR(rx.r, 5.0, 1e-7);
    EXPECT_NEAR(ry.p, -1.0, 1e-9);
    EXPECT_NEAR(ry.q, 0.5, 1e-9);
    EXPECT_NEAR(ry.r, 7.0, 1e-7);

    // Rejected matches do not count; points on one line fit no plane.
    for (auto& m : matches)
        m.kept = 0;
    matches.push_back({ 10, 10, 1, 1, 1 });
    matches.push_back({ 20, 20, 1, 1, 1 });
    const CAffineRow fx = FitAffineRow(matches, true), fy = FitAffineRow(matches, false);
    EXPECT_EQ(fx.p, 1.0);
    EXPECT_EQ(fx.r, 0.0);
    EXPECT_EQ(fy.q, 1.0);
    EXPECT_EQ(FitAffineRow({}, true).p, 1.0);
}

TEST(ImageFusion_Chain, PairAppliedAfterMap)
{
    const CAffineMap shift { { 1, 0, 10 }, { 0, 1, -4 } };
    const CAffineMap swap { { 0, 1, 0 }, { 1, 0, 0 } };
    const CAffineMap chained = ChainMaps(swap, shift); // swap(shift(p))
    EXPECT_DOUBLE_EQ(chained.x.q, 1.0);
    EXPECT_DOUBLE_EQ(chained.x.r, -4.0);
    EXPECT_DOUBLE_EQ(chained.y.p, 1.0);
    EXPECT_DOUBLE_EQ(chained.y.r, 10.0);
}

TEST(ImageFusion_Observer, ProgressPerImageAndPairAndCancel)
{
    const cv::Mat image = Texture(120, 90, 9);
    const std::vector<CImageView> views(3, View(image));
    std::vector<CFusionProgress> steps;
    CFusionObserver observer;
    observer.progress = [&](const CFusionProgress& p) { steps.push_back(p); };
    CFusedImage result;
    CSearchCentre centre;
    ASSERT_EQ(FuseAdjusted(views, centre, result, observer), FusionStatus::Done);
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[1].stage, CFusionProgress::Stage::Pair);
    EXPECT_EQ(steps.back().done, 5);
    EXPECT_EQ(steps.back().total, 5);
    steps.clear();
    ASSERT_EQ(FuseDirect(views, result, observer), FusionStatus::Done);
    EXPECT_EQ(steps.size(), 3u);

    // A cancelled run leaves the previous result alone.
    const auto before = result.bits;
    std::atomic<bool> cancel { false };
    observer.cancel = &cancel;
    // Cancelled after the first pair moved the centre: it comes back as it was.
    observer.progress = [&](const CFusionProgress& p) {
        cancel = p.stage == CFusionProgress::Stage::Pair;
    };
    observer.pairDone = [&](const CFusionPairReport& report) {
        EXPECT_GT(report.keptMatches, 0);
        EXPECT_EQ(centre.cx, 0);
    };
    centre = { 8, -6 };
    EXPECT_EQ(FuseAdjusted(views, centre, result, observer), FusionStatus::Cancelled);
    EXPECT_EQ(centre.cx, 8);
    EXPECT_EQ(centre.cy, -6);
    observer.progress = [&](const CFusionProgress&) { cancel = true; };
    EXPECT_EQ(FuseDirect(views, result, observer), FusionStatus::Cancelled);
    EXPECT_EQ(result.bits, before);
}

TEST(ImageFusion_Match, WideAndPortablePathsFindTheSameMatches)
{
    const auto [a, b] = ShiftedPair(300, 200, 9, -4, 31);
    cv::Mat greyA, greyB;
    cv::cvtColor(a, greyA, cv::COLOR_BGR2GRAY);
    cv::cvtColor(b, greyB, cv::COLOR_BGR2GRAY);
    const auto fingerprint = [](const std::vector<CFusionMatch>& matches) {
        std::vector<int> out;
        for (const auto& m : matches)
            out.insert(out.end(), { m.x, m.y, m.dx, m.dy });
        return out;
    };
    AllowWideInstructions(false);
    const auto portable = fingerprint(MatchPair(greyA, greyB, {}, {}));
    AllowWideInstructions(true);
    const auto wide = fingerprint(MatchPair(greyA, greyB, {}, {}));
    EXPECT_GT(portable.size(), 40u);
    EXPECT_EQ(portable, wide);
}

#include "imgproc/LiveStacker.h"

#include "FocusSweep.h"

#include <gtest/gtest.h>

#include <malloc.h>

using namespace sweep;

namespace {

cv::Mat ResultMat(const CLiveStacker& stacker)
{
    const CImageView r = stacker.Result();
    return cv::Mat(r.height, r.width, CV_8UC3, const_cast<uint8_t*>(r.bits), r.stride).clone();
}

} // namespace

TEST(LiveStacker, SweepGetsCloserToTheTruthWithEveryFrameAndMatchesTheAlignedMerge)
{
    const CFocusSweep sweep(Texture(320, 240, 11), 12, 6);
    const cv::Rect inner = sweep.Inner();
    CLiveStacker stacker;
    std::vector<cv::Mat> frames;
    double previous = 1e9;
    for (int k = 0; k < sweep.Frames(); ++k) {
        frames.push_back(sweep.Frame(k));
        EXPECT_EQ(stacker.Add(View(frames.back())),
                k == 0 ? CLiveStacker::EAdded::Started : CLiveStacker::EAdded::Merged);
        const double error = MeanSquaredError(ResultMat(stacker), sweep.Truth(), inner);
        // Resampling may cost a little where nothing sharper came.
        EXPECT_LT(error, previous * 1.02 + 0.5) << "frame " << k;
        previous = std::min(previous, error);
    }
    EXPECT_EQ(stacker.MergedCount(), sweep.Frames());
    for (const cv::Mat& frame : frames)
        EXPECT_LT(previous * 2, MeanSquaredError(frame, sweep.Truth(), inner));

    std::vector<CImageView> views;
    for (const cv::Mat& frame : frames)
        views.push_back(View(frame));
    CFusedImage aligned;
    ASSERT_EQ(FuseAligned(views, aligned), FusionStatus::Done);
    const cv::Mat alignedMat(
            aligned.height, aligned.width, CV_8UC3, aligned.bits.data(), aligned.stride);
    EXPECT_GT(Psnr(ResultMat(stacker), sweep.Truth(), inner) + 1.0,
            Psnr(alignedMat, sweep.Truth(), inner));
}

TEST(LiveStacker, MovedStageIsSkippedResetAndNewSizeStartAgain)
{
    const CFocusSweep sweep(Texture(200, 150, 12), 4, 4);
    CLiveStacker stacker;
    const cv::Mat first = sweep.Frame(0), second = sweep.Frame(1);
    ASSERT_EQ(stacker.Add(View(first)), CLiveStacker::EAdded::Started);
    ASSERT_EQ(stacker.Add(View(second)), CLiveStacker::EAdded::Merged);
    const cv::Mat before = ResultMat(stacker);

    // Another part of the specimen: left out, the stack unchanged, and the next frame of the
    // old view still lines up.
    const cv::Mat elsewhere = Texture(200, 150, 99);
    EXPECT_EQ(stacker.Add(View(elsewhere)), CLiveStacker::EAdded::Skipped);
    EXPECT_EQ(stacker.SkippedCount(), 1);
    EXPECT_EQ(cv::norm(before, ResultMat(stacker), cv::NORM_INF), 0.0);
    const cv::Mat third = sweep.Frame(2);
    EXPECT_EQ(stacker.Add(View(third)), CLiveStacker::EAdded::Merged);
    EXPECT_EQ(stacker.MergedCount(), 3);

    EXPECT_EQ(stacker.Add(CImageView {}), CLiveStacker::EAdded::Invalid);
    EXPECT_EQ(stacker.Add({ 10, 10, 20, first.data }), CLiveStacker::EAdded::Invalid);

    stacker.Reset();
    EXPECT_TRUE(stacker.Empty());
    EXPECT_EQ(stacker.Add(View(elsewhere)), CLiveStacker::EAdded::Started);
    EXPECT_EQ(cv::norm(elsewhere, ResultMat(stacker), cv::NORM_INF), 0.0);
    EXPECT_EQ(stacker.MergedCount(), 1);
    EXPECT_EQ(stacker.SkippedCount(), 0);

    const cv::Mat smaller = Texture(100, 80, 13);
    EXPECT_EQ(stacker.Add(View(smaller)), CLiveStacker::EAdded::Started);
    EXPECT_EQ(stacker.Result().width, 100);
}

TEST(LiveStacker, MemoryStaysFlatOver200Frames)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer owns malloc";
#endif
    const CFocusSweep sweep(Texture(160, 120, 14), 20, 5);
    std::vector<cv::Mat> frames;
    for (int k = 0; k < sweep.Frames(); ++k)
        frames.push_back(sweep.Frame(k));
    CLiveStacker stacker;
    const auto inUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return info.uordblks + info.hblkhd;
    };
    size_t after20 = 0;
    for (int n = 0; n < 200; ++n) {
        // Back and forth through the sweep, the way a hand turns the knob.
        const int k = (n / 20) % 2 == 0 ? n % 20 : 19 - n % 20;
        EXPECT_NE(stacker.Add(View(frames[static_cast<size_t>(k)])), CLiveStacker::EAdded::Invalid);
        if (n == 19)
            after20 = inUse();
    }
    EXPECT_EQ(stacker.MergedCount() + stacker.SkippedCount(), 200);
    EXPECT_LT(inUse(), after20 + 64 * 1024);
}

// Fine texture far out of focus is nothing like itself in focus pixel by pixel, yet the same
// scene: it is merged. Another field of the same kind of texture is not.
TEST(LiveStacker, FarDefocusOfFineTextureMergesAnotherFieldIsSkipped)
{
    cv::RNG rng(3);
    cv::Mat grain(480, 640, CV_8UC3), otherGrain(480, 640, CV_8UC3);
    rng.fill(grain, cv::RNG::UNIFORM, 0, 256);
    rng.fill(otherGrain, cv::RNG::UNIFORM, 0, 256);
    cv::Mat defocused, otherDefocused;
    cv::GaussianBlur(grain, defocused, cv::Size(0, 0), 4);
    cv::GaussianBlur(otherGrain, otherDefocused, cv::Size(0, 0), 4);
    CLiveStacker stacker;
    ASSERT_EQ(stacker.Add(View(defocused)), CLiveStacker::EAdded::Started);
    EXPECT_EQ(stacker.Add(View(grain)), CLiveStacker::EAdded::Merged);
    EXPECT_EQ(stacker.Add(View(otherDefocused)), CLiveStacker::EAdded::Skipped);
    EXPECT_EQ(stacker.Add(View(otherGrain)), CLiveStacker::EAdded::Skipped);
}

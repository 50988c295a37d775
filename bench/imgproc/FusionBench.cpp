// Direct and Adjusted Merge of a synthetic focus stack of five 2592 x 1944 pictures.
#include "imgproc/ImageFusion.h"

#include <benchmark/benchmark.h>

#include <opencv2/imgproc.hpp>

#include <vector>

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr int kSlices = 5;

// Each slice is sharp in one horizontal band, blurred elsewhere, and moved a few pixels
// against the previous one, as a hand-held focus series would be.
const std::vector<cv::Mat>& Stack()
{
    static const std::vector<cv::Mat> stack = [] {
        const int margin = 64;
        cv::RNG rng(2026);
        cv::Mat coarse((kHeight + 2 * margin) / 8, (kWidth + 2 * margin) / 8, CV_8UC3);
        rng.fill(coarse, cv::RNG::UNIFORM, 0, 256);
        cv::Mat sharp, blurred;
        cv::resize(coarse, sharp, cv::Size(kWidth + 2 * margin, kHeight + 2 * margin), 0, 0,
                cv::INTER_CUBIC);
        cv::GaussianBlur(sharp, blurred, cv::Size(0, 0), 5.0);
        std::vector<cv::Mat> slices;
        for (int k = 0; k < kSlices; ++k) {
            cv::Mat slice = blurred.clone();
            const cv::Rect band(0, margin + k * kHeight / kSlices, sharp.cols, kHeight / kSlices);
            sharp(band).copyTo(slice(band));
            slices.push_back(
                    slice(cv::Rect(margin - 3 * k, margin - 2 * k, kWidth, kHeight)).clone());
        }
        return slices;
    }();
    return stack;
}

std::vector<CImageView> Views()
{
    std::vector<CImageView> views;
    for (const auto& slice : Stack())
        views.push_back({ slice.cols, slice.rows, slice.step, slice.data });
    return views;
}

void BM_FuseDirect(benchmark::State& state)
{
    const auto views = Views();
    CFusedImage result;
    for (auto _ : state)
        benchmark::DoNotOptimize(FuseDirect(views, result));
}

void BM_FuseAdjusted(benchmark::State& state)
{
    const auto views = Views();
    CFusedImage result;
    int kept = 0;
    CFusionObserver observer;
    observer.pairDone = [&](const CFusionPairReport& report) { kept += report.keptMatches; };
    for (auto _ : state) {
        CSearchCentre centre;
        kept = 0;
        benchmark::DoNotOptimize(FuseAdjusted(views, centre, result, observer));
    }
    state.counters["kept_matches"] = kept;
}

BENCHMARK(BM_FuseDirect)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_FuseAdjusted)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

BENCHMARK_MAIN();

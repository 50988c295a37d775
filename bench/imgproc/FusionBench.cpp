// Direct, Adjusted and Aligned Merge of a synthetic focus stack of five 2592 x 1944 pictures,
// with the ratio of each to the Direct Merge measured in the same run.
#include "imgproc/ImageFusion.h"

#include <benchmark/benchmark.h>

#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <map>
#include <string>
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

void BM_FuseAligned(benchmark::State& state)
{
    const auto views = Views();
    CFusedImage result;
    CDepthMap depth;
    for (auto _ : state)
        benchmark::DoNotOptimize(FuseAligned(views, result, {}, &depth));
}

BENCHMARK(BM_FuseDirect)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_FuseAdjusted)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_FuseAligned)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Keeps each benchmark's wall time per iteration beside the console output.
class CWallTimes : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CWallTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double direct = reporter.times["BM_FuseDirect"];
    if (direct <= 0)
        return 0;
    std::printf("\nWall time against the Direct Merge of the same %d slices:\n", kSlices);
    for (const auto& [name, time] : reporter.times)
        std::printf("  %-18s %6.2f\n", name.c_str(), time / direct);
    return 0;
}

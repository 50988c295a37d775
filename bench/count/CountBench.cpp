// Counting a 2592 x 1944 picture of about 2,000 objects against OpenCV's
// connectedComponentsWithStats on the same mask (goal: under 150 ms without splitting).
#include "imgproc/ParticleCounter.h"

#include "RunTimes.h"

#include <benchmark/benchmark.h>

#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <map>
#include <random>
#include <string>

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr int kLevel = 128;

// 50 x 40 dark discs of 6 to 18 pixels' radius, shifted about their cells, on a noisy light
// ground; some touch.
const cv::Mat& Picture()
{
    static const cv::Mat picture = [] {
        std::mt19937 random(2000);
        std::uniform_int_distribution<int> radius(6, 18);
        std::uniform_int_distribution<int> shift(-12, 12);
        cv::Mat grey(kHeight, kWidth, CV_8UC1, cv::Scalar(200));
        const double cellW = double(kWidth) / 50;
        const double cellH = double(kHeight) / 40;
        for (int row = 0; row < 40; ++row) {
            for (int column = 0; column < 50; ++column) {
                const cv::Point centre(int((column + 0.5) * cellW) + shift(random),
                        int((row + 0.5) * cellH) + shift(random));
                cv::circle(grey, centre, radius(random), cv::Scalar(50), cv::FILLED, cv::LINE_8);
            }
        }
        std::normal_distribution<double> noise(0.0, 8.0);
        for (auto it = grey.begin<uint8_t>(); it != grey.end<uint8_t>(); ++it)
            *it = cv::saturate_cast<uint8_t>(*it + noise(random));
        return grey;
    }();
    return picture;
}

void BM_ConnectedComponentsWithStats(benchmark::State& state)
{
    const cv::Mat mask = CParticleCounter::Mask(Picture(), kLevel, CParticleCounter::Objects::Dark);
    cv::Mat labels, stats, centroids;
    int objects = 0;
    for (auto _ : state) {
        objects = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S) - 1;
        benchmark::DoNotOptimize(objects);
    }
    state.counters["objects"] = objects;
}

void Count(benchmark::State& state, bool automatic, bool split)
{
    CParticleCounter::Options options;
    options.automatic = automatic;
    options.level = kLevel;
    options.split = split;
    size_t objects = 0;
    for (auto _ : state) {
        const CParticleCounter::Result result = CParticleCounter::Count(Picture(), options);
        objects = result.particles.size();
        benchmark::DoNotOptimize(objects);
    }
    state.counters["objects"] = double(objects);
}

void BM_CountAtLevel(benchmark::State& state)
{
    Count(state, false, false);
}
void BM_CountByOtsu(benchmark::State& state)
{
    Count(state, true, false);
}
void BM_CountSplit(benchmark::State& state)
{
    Count(state, false, true);
}

BENCHMARK(BM_ConnectedComponentsWithStats)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountAtLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountByOtsu)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountSplit)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRunTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const char* base = "BM_ConnectedComponentsWithStats";
    if (!reporter.real.contains(base) || reporter.real[base] <= 0 || reporter.cpu[base] <= 0)
        return 0;
    std::printf("\nAgainst connectedComponentsWithStats on the same %d x %d mask "
                "(goal: counting under 150 ms):\n",
            kWidth, kHeight);
    std::printf("  %-18s %9s %8s %8s\n", "", "wall ms", "cpu", "wall");
    for (const auto& [name, time] : reporter.real) {
        if (name != base)
            std::printf("  %-18s %9.1f %8.2f %8.2f\n", name.c_str(), time,
                    reporter.cpu[name] / reporter.cpu[base], time / reporter.real[base]);
    }
    return 0;
}

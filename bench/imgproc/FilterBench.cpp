// Frame filters on a 2592 x 1944 frame against memcpy of the same buffer.
#include "imgproc/FrameFilters.h"
#include "video/WhiteBalance.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;

std::vector<uint8_t> NoiseFrame()
{
    std::vector<uint8_t> frame(FrameStride(kWidth) * kHeight);
    std::mt19937 rng(7);
    for (auto& b : frame)
        b = static_cast<uint8_t>(rng());
    return frame;
}

void BM_Memcpy(benchmark::State& state)
{
    const auto src = NoiseFrame();
    std::vector<uint8_t> dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::ClobberMemory();
    }
}

void BM_WhiteBalance(benchmark::State& state)
{
    auto frame = NoiseFrame();
    for (auto _ : state) {
        ApplyWhiteBalance(frame.data(), kWidth, kHeight, 5, -7);
        benchmark::ClobberMemory();
    }
}

void BM_ContrastCurve(benchmark::State& state)
{
    auto frame = NoiseFrame();
    for (auto _ : state) {
        ApplyContrastCurve(frame.data(), kWidth, kHeight);
        benchmark::ClobberMemory();
    }
}

void BM_Binarization(benchmark::State& state)
{
    const auto noise = NoiseFrame();
    auto frame = noise;
    for (auto _ : state) {
        ApplyBinarization(frame.data(), kWidth, kHeight, 128);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WhiteBalance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContrastCurve)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Binarization)->Unit(benchmark::kMillisecond);

class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto base = reporter.times.find("BM_Memcpy");
    if (base == reporter.times.end() || base->second <= 0)
        return 0;
    std::printf("\nRatio to memcpy of the same %d x %d frame (goal <= 1.5):\n", kWidth, kHeight);
    for (const auto& [name, time] : reporter.times)
        if (name != "BM_Memcpy")
            std::printf("  %-20s %.2f\n", name.c_str(), time / base->second);
    return 0;
}

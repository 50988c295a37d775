// Frame filters on a 2592 x 1944 frame against memcpy of the same buffer.
#include "imgproc/FrameFilters.h"
#include "imgproc/WhiteBalance.h"

#include "RunTimes.h"

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

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRunTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const char* base = "BM_Memcpy";
    if (!reporter.real.contains(base) || reporter.real[base] <= 0 || reporter.cpu[base] <= 0)
        return 0;
    // CPU time is the fairer figure on a loaded machine; wall time is printed beside it.
    std::printf("\nRatio to memcpy of the same %d x %d frame (goal <= 1.5):\n", kWidth, kHeight);
    std::printf("  %-20s %8s %8s\n", "", "cpu", "wall");
    for (const auto& [name, time] : reporter.real)
        if (name != base)
            std::printf("  %-20s %8.2f %8.2f\n", name.c_str(),
                    reporter.cpu[name] / reporter.cpu[base], time / reporter.real[base]);
    return 0;
}

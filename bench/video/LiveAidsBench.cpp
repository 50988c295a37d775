#include "base/FrameLayout.h"
#include "imgproc/FocusMeasure.h"
#include "imgproc/LiveHistogram.h"
#include "video/FramePump.h"
#include "video/FrameSource.h"
#include "video/LiveAids.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A textured full-HD frame: blocks of noise, so peaking has edges everywhere to look at.
const std::vector<uint8_t>& Frame()
{
    static const std::vector<uint8_t> frame = [] {
        std::vector<uint8_t> bytes(FrameBytes(kWidth, kHeight));
        std::mt19937 random(11);
        for (std::size_t i = 0; i < bytes.size(); i += 3) {
            const auto v = static_cast<uint8_t>((i / 3 / 8 % 2 ? 200 : 40) + random() % 16);
            bytes[i] = bytes[i + 1] = bytes[i + 2] = v;
        }
        return bytes;
    }();
    return frame;
}

QImage View()
{
    QImage view(kWidth, kHeight, QImage::Format_RGB32);
    const std::vector<uint8_t>& frame = Frame();
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* src = frame.data() + static_cast<std::size_t>(FrameStride(kWidth)) * y;
        auto* dst = reinterpret_cast<uint32_t*>(view.scanLine(y));
        for (int x = 0; x < kWidth; ++x, src += 3)
            dst[x] = 0xFF000000u | src[2] << 16 | src[1] << 8 | src[0];
    }
    return view;
}

void BM_FrameCopy(benchmark::State& state)
{
    const std::vector<uint8_t>& frame = Frame();
    std::vector<uint8_t> copy(frame.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), frame.data(), frame.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameCopy)->Unit(benchmark::kMillisecond);

// The same copy from a frame not in any cache, as a camera frame the pump copies is: each
// pass reads the next of frames that together are larger than a large last-level cache.
void BM_FrameCopyCold(benchmark::State& state)
{
    constexpr std::size_t kFrames = 12;
    const std::vector<uint8_t>& frame = Frame();
    std::vector<std::vector<uint8_t>> sources(kFrames, frame);
    std::vector<uint8_t> copy(frame.size());
    std::size_t next = 0;
    for (auto _ : state) {
        std::memcpy(copy.data(), sources[next].data(), frame.size());
        next = (next + 1) % kFrames;
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameCopyCold)->Unit(benchmark::kMillisecond);

// Marks the peaks of a fresh copy of source each time, as the pump composes a view per frame:
// marks left from the last pass would make edges of their own and pile up.
void MarkPeaksOf(benchmark::State& state, const QImage& source)
{
    QImage view = source;
    view.detach();
    int threshold = CFocusMeasure::PeakThreshold(0);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(
                view.bits(), source.constBits(), static_cast<std::size_t>(source.sizeInBytes()));
        state.ResumeTiming();
        threshold = CFocusMeasure::PeakThreshold(CFocusMeasure::MarkPeaks(
                view.bits(), kWidth, kHeight, view.bytesPerLine(), 0xFFFF0000u, threshold));
    }
}

void BM_Peaking(benchmark::State& state)
{
    MarkPeaksOf(state, View());
}
BENCHMARK(BM_Peaking)->Unit(benchmark::kMillisecond);

// The same on a picture more like a specimen's: a smooth ramp crossed by a 1-pixel line every
// 64 pixels, so most 16-pixel steps mark nothing.
void BM_PeakingSparse(benchmark::State& state)
{
    QImage source(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(source.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t v = x % 64 == 0 || y % 64 == 0 ? 250u : 40u + (x + y) / 40u;
            row[x] = 0xFF000000u | v << 16 | v << 8 | v;
        }
    }
    MarkPeaksOf(state, source);
}
BENCHMARK(BM_PeakingSparse)->Unit(benchmark::kMillisecond);

void BM_Sharpness(benchmark::State& state)
{
    const std::vector<uint8_t>& frame = Frame();
    for (auto _ : state)
        benchmark::DoNotOptimize(CFocusMeasure::VarianceOfLaplacian(frame.data(), kWidth, kHeight));
}
BENCHMARK(BM_Sharpness)->Unit(benchmark::kMillisecond);

// Arg: the step; 0 for the grid the live view counts of a full-HD frame.
void BM_Histogram(benchmark::State& state)
{
    const std::vector<uint8_t>& frame = Frame();
    CLiveHistogram histogram;
    const int step = state.range(0) > 0
            ? static_cast<int>(state.range(0))
            : CLiveHistogram::GridStep(kWidth, kHeight, CLiveAids::kHistogramSamples);
    for (auto _ : state) {
        histogram.Compute(frame.data(), kWidth, kHeight, step);
        benchmark::DoNotOptimize(histogram.Pixels());
    }
    state.counters["step"] = step;
}
BENCHMARK(BM_Histogram)->Arg(1)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond);

// The live view's count of a dark frame (a capped lens): every pixel is near an end, so
// the clipped shares take their slow way everywhere.
void BM_DarkHistogram(benchmark::State& state)
{
    std::vector<uint8_t> frame = Frame();
    for (uint8_t& byte : frame)
        byte = static_cast<uint8_t>(byte % 9);
    CLiveHistogram histogram;
    const int step = CLiveHistogram::GridStep(kWidth, kHeight, CLiveAids::kHistogramSamples);
    for (auto _ : state) {
        histogram.Compute(frame.data(), kWidth, kHeight, step);
        benchmark::DoNotOptimize(histogram.Pixels());
    }
}
BENCHMARK(BM_DarkHistogram)->Unit(benchmark::kMillisecond);

class StillCamera : public IFrameSource
{
public:
    int32_t GetCaptureSize(int& w, int& h) override
    {
        w = kWidth;
        h = kHeight;
        return 0;
    }
    int32_t CaptureToBuf(int32_t* size, uint8_t* buffer) override
    {
        if (!buffer) {
            *size = static_cast<int32_t>(Frame().size());
            return 0;
        }
        std::memcpy(buffer, Frame().data(), Frame().size());
        return 0;
    }
    // As the graph lends it: top-down BGRx.
    bool HoldNewest(TavoHeldFrame& frame) override
    {
        static const std::vector<uint8_t> rows = [] {
            std::vector<uint8_t> bytes(static_cast<std::size_t>(kWidth) * kHeight * 4);
            const std::size_t stride = FrameStride(kWidth);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    std::memcpy(&bytes[(static_cast<std::size_t>(y) * kWidth + x) * 4],
                            &Frame()[stride * (kHeight - 1 - y) + x * 3], 3);
            return bytes;
        }();
        frame = { rows.data(), kWidth * 4, kWidth, kHeight, 4, 0, 0, nullptr };
        return true;
    }
};

// One pump iteration at fit into a 1280 x 720 view, a new frame each time. Arg 0: aids off;
// 1: peaking, meter and histogram on, the readings due on every frame (the worst case);
// 2: the same as paced live at 15 fps, a reading every third frame.
void BM_PumpIteration(benchmark::State& state)
{
    StillCamera camera;
    CFramePump pump;
    pump.SetSource(&camera);
    CPumpState s;
    s.captureWidth = kWidth;
    s.captureHeight = kHeight;
    s.displayScale = 0;
    s.displayWidth = s.viewWidth = s.parentWidth = 1280;
    s.displayHeight = s.viewHeight = s.parentHeight = 720;
    pump.SetState(s);
    int64_t now = 0;
    CLiveAids aids([&now] { return now; });
    aids.Attach(pump);
    pump.SetFrameTap([&aids](const uint8_t* frame, int w, int h,
                             const CPumpState& st) { aids.OnFrame(frame, w, h, st); },
            [&aids] { return aids.WantsFrame(); });
    const bool on = state.range(0) != 0;
    aids.SetPeaking(on);
    aids.SetMeter(on);
    aids.SetHistogram(on);
    const int64_t pace = state.range(0) == 2 ? 1000 / 15 : CLiveAids::kReadingIntervalMs;
    for (auto _ : state) {
        now += pace;
        pump.RunIteration();
    }
}
BENCHMARK(BM_PumpIteration)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times[run.benchmark_name()] = run.GetAdjustedRealTime()
                        * benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond)
                        / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
    std::map<std::string, double> times; // milliseconds
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::map<std::string, double>& t = reporter.times;
    const double copy = t["BM_FrameCopy"];
    if (copy <= 0)
        return 0;
    const double cold = t["BM_FrameCopyCold"];
    std::printf("frame copy %.3f ms, from a frame in no cache %.3f ms (%.2fx); the ratios below "
                "are to the first, [to the second]\n",
            copy, cold, cold / copy);
    const auto both = [&](double ms) { return ms / copy; };
    const auto toCold = [&](double ms) { return cold > 0 ? ms / cold : 0.0; };
    const auto ratio = [&](const char* name) {
        if (t.count(name))
            std::printf("%s: %.2f ms, %.2fx the frame copy (%.2f ms)\n", name, t[name],
                    t[name] / copy, copy);
    };
    for (const char* name : { "BM_Peaking", "BM_PeakingSparse", "BM_Sharpness", "BM_Histogram/1",
                 "BM_Histogram/2", "BM_Histogram/0", "BM_DarkHistogram" })
        ratio(name);
    // The live aids' goal: peaking and histogram together at most twice a frame copy.
    // Peaking runs on every view; meter and histogram five times a second, a third of the
    // frames of a 15 fps camera.
    const double peaking = t["BM_Peaking"];
    const double histogram = t["BM_Histogram/0"];
    std::printf("peaking + histogram, both on every frame: %.2fx the frame copy [%.2fx]\n",
            both(peaking + histogram), toCold(peaking + histogram));
    std::printf("peaking + histogram, as paced live at 15 fps: %.2fx the frame copy [%.2fx]\n",
            both(peaking + histogram / 3.0), toCold(peaking + histogram / 3.0));
    const double everyFrame = peaking + t["BM_Sharpness"] + histogram;
    const double paced = peaking + (t["BM_Sharpness"] + histogram) / 3.0;
    std::printf("peaking + sharpness + histogram, all on every frame: %.2fx the frame copy\n",
            everyFrame / copy);
    std::printf("peaking + sharpness + histogram, as paced live at 15 fps: %.2fx the frame copy "
                "[%.2fx]\n",
            both(paced), toCold(paced));
    std::printf("sharpness meter as paced live at 15 fps: %.2fx the frame copy [%.2fx]\n",
            both(t["BM_Sharpness"] / 3.0), toCold(t["BM_Sharpness"] / 3.0));
    if (t["BM_PumpIteration/0"] > 0) {
        std::printf("pump iteration with everything on: %.2fx the one with the aids off "
                    "(%.2f ms against %.2f ms)\n",
                t["BM_PumpIteration/1"] / t["BM_PumpIteration/0"], t["BM_PumpIteration/1"],
                t["BM_PumpIteration/0"]);
        // What the aids add to the live view as it runs: peaking on the view's pixels, the
        // frame copied for the meter and the histogram only when a reading is due.
        const double added = t["BM_PumpIteration/2"] - t["BM_PumpIteration/0"];
        std::printf("live aids in the pump as paced live at 15 fps (fit into 1280 x 720): "
                    "+%.2f ms a frame, %.2fx the frame copy [%.2fx]\n",
                added, both(added), toCold(added));
    }
    return 0;
}

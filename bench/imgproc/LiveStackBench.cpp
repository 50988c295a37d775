// The live stack on a synthetic 1920 x 1080 focus sweep of 30 frames (a known sharp scene, the
// focus moving through it, with breathing): the cost of one merge against a frame copy, then a
// paced run at the camera's 15 frames a second through the stack's own worker (frames merged a
// second, CPU share, peak memory), and the PSNR against the truth beside the Aligned Merge of
// the same frames.
#include "RunTimes.h"

#include "FocusSweep.h"
#include "SweepCamera.h"

#include "base/FrameLayout.h"
#include "imgproc/LiveStacker.h"
#include "video/LiveStackSource.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <ctime>

using namespace sweep;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFrames = 30;
constexpr int kFps = 15;

const CFocusSweep& Sweep()
{
    static const CFocusSweep sweep(Texture(kWidth, kHeight, 2026), kFrames, 10);
    return sweep;
}

const std::vector<cv::Mat>& Frames()
{
    static const std::vector<cv::Mat> frames = [] {
        std::vector<cv::Mat> out;
        for (int k = 0; k < kFrames; ++k)
            out.push_back(Sweep().Frame(k));
        return out;
    }();
    return frames;
}

void BM_FrameCopy(benchmark::State& state)
{
    const cv::Mat& frame = Frames()[0];
    std::vector<uint8_t> copy(frame.total() * 3);
    for (auto _ : state) {
        std::memcpy(copy.data(), frame.data, copy.size());
        benchmark::ClobberMemory();
    }
}

// One merge, the sweep played over and over.
void BM_LiveStackAdd(benchmark::State& state)
{
    CLiveStacker stacker;
    size_t k = 0;
    for (auto _ : state) {
        if (k % kFrames == 0)
            stacker.Reset();
        benchmark::DoNotOptimize(stacker.Add(View(Frames()[k++ % kFrames])));
    }
}

BENCHMARK(BM_FrameCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveStackAdd)->Unit(benchmark::kMillisecond)->MinTime(3.0);

double ProcessCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec * 1e-9;
}

// VmHWM or VmRSS of /proc/self/status, in MiB.
double StatusMiB(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0)
            return std::stod(line.substr(key.size() + 1)) / 1024.0;
    return 0.0;
}

cv::Mat FromFrame(const std::vector<uint8_t>& frame)
{
    cv::Mat out(kHeight, kWidth, CV_8UC3);
    for (int y = 0; y < kHeight; ++y)
        std::memcpy(out.ptr(y), frame.data() + y * FrameStride(kWidth), size_t(kWidth) * 3);
    return out;
}

struct CPacedRun
{
    double seconds = 0;
    double cpuShare = 0;
    double peakMiB = 0;
    double grownMiB = 0; // resident memory after the last pass against after the first
    CLiveStackSource::CStatus status;
    cv::Mat result;
};

// Plays the sweep `passes` times (forth and back, as a hand turns the knob) at the camera's
// pace; the pump's side looks for a new stack every 5 ms, as the pump does.
CPacedRun Paced(int passes, bool resetEachPass)
{
    CPacedRun run;
    CSweepCamera camera(true); // told of each frame, as the grabber tells
    std::ofstream("/proc/self/clear_refs") << "5"; // peak resident memory starts again here
    const double rssBefore = StatusMiB("VmRSS");
    double rssAfterFirst = 0;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    {
        CLiveStackSource stack(camera);
        std::vector<uint8_t> shown(FrameBytes(kWidth, kHeight));
        std::atomic<bool> playing { true };
        std::thread pump([&] {
            while (playing) {
                stack.NewestSequence();
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        const auto period = std::chrono::microseconds(1000000 / kFps);
        auto next = start;
        for (int pass = 0; pass < passes; ++pass) {
            if (resetEachPass && pass > 0)
                stack.Reset();
            for (int i = 0; i < kFrames; ++i) {
                const int k = pass % 2 == 0 ? i : kFrames - 1 - i;
                camera.Show(Frames()[static_cast<size_t>(k)]);
                next += period;
                std::this_thread::sleep_until(next);
            }
            if (pass == 0)
                rssAfterFirst = StatusMiB("VmRSS");
        }
        // The last merge ends before the stack is read.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        playing = false;
        pump.join();
        run.status = stack.Status();
        int32_t size = static_cast<int32_t>(shown.size());
        CFrameStamp stamp;
        if (stack.CaptureStamped(&size, shown.data(), stamp) == 0)
            run.result = FromFrame(shown);
        run.grownMiB = StatusMiB("VmRSS") - rssAfterFirst;
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuShare = (ProcessCpuSeconds() - cpuStart) / run.seconds;
    run.peakMiB = StatusMiB("VmHWM") - rssBefore;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Frames(); // made before anything is timed
    CRunTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    const double copy = times.cpu["BM_FrameCopy"];
    const double add = times.cpu["BM_LiveStackAdd/min_time:3.000"];
    if (copy > 0 && add > 0)
        std::printf("\none merge: %.1f ms = %.0fx a frame copy; at most %.1f merges/s of CPU\n",
                add, add / copy, 1000.0 / add);

    const CPacedRun one = Paced(1, false);
    const CPacedRun many = Paced(6, false);
    std::printf("\npaced at %d frames/s (a frame is %.1f MiB):\n", kFps,
            FrameBytes(kWidth, kHeight) / 1048576.0);
    std::printf("  frames  merged  skipped  dropped  merged/s  CPU (%% of a core)  peak MiB\n");
    for (const auto* run : { &one, &many }) {
        const int offered =
                run->status.merged + run->status.skipped + static_cast<int>(run->status.dropped);
        std::printf("  %6d  %6d  %7d  %7llu  %8.1f  %17.0f  %8.0f\n", offered, run->status.merged,
                run->status.skipped, static_cast<unsigned long long>(run->status.dropped),
                run->status.merged * double(kFps) / std::max(offered, 1), 100.0 * run->cpuShare,
                run->peakMiB);
    }
    std::printf(
            "  resident memory after 6 passes against after the first: %+.1f MiB\n", many.grownMiB);

    // Against the truth: the paced stack, the stack of every frame, and the stack and the
    // Aligned Merge of the same 20 frames (the merge takes at most 20).
    const cv::Rect inner = Sweep().Inner(48);
    CLiveStacker every;
    for (const cv::Mat& frame : Frames())
        every.Add(View(frame));
    const CImageView e = every.Result();
    const cv::Mat everyMat(e.height, e.width, CV_8UC3, const_cast<uint8_t*>(e.bits), e.stride);
    std::vector<CImageView> twenty;
    CLiveStacker same;
    for (int i = 0; i < 20; ++i) {
        const cv::Mat& frame = Frames()[static_cast<size_t>(i * (kFrames - 1) / 19)];
        twenty.push_back(View(frame));
        same.Add(twenty.back());
    }
    const CImageView s = same.Result();
    const cv::Mat sameMat(s.height, s.width, CV_8UC3, const_cast<uint8_t*>(s.bits), s.stride);
    CFusedImage aligned;
    const auto alignStart = std::chrono::steady_clock::now();
    const FusionStatus status = FuseAligned(twenty, aligned);
    const double alignSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - alignStart).count();
    double best = 0;
    for (const cv::Mat& frame : Frames())
        best = std::max(best, Psnr(frame, Sweep().Truth(), inner));
    std::printf("\nPSNR against the truth (dB), inside a 48-pixel margin:\n");
    std::printf("  best single frame            %6.2f\n", best);
    if (!one.result.empty())
        std::printf("  live stack, paced            %6.2f (%d frames)\n",
                Psnr(one.result, Sweep().Truth(), inner), one.status.merged);
    std::printf("  live stack, all 30 frames    %6.2f\n", Psnr(everyMat, Sweep().Truth(), inner));
    std::printf("  live stack, 20 frames        %6.2f\n", Psnr(sameMat, Sweep().Truth(), inner));
    if (status == FusionStatus::Done) {
        const cv::Mat alignedMat(
                aligned.height, aligned.width, CV_8UC3, aligned.bits.data(), aligned.stride);
        std::printf("  Aligned Merge, same 20       %6.2f (%.1f s)\n",
                Psnr(alignedMat, Sweep().Truth(), inner), alignSeconds);
    }
    benchmark::Shutdown();
    return 0;
}

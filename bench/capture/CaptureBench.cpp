#include "capture/CaptureDeviceSource.h"
#include "capture/FrameGrabber.h"
#include "capture/TavoGraphDll.h"

#include "PatternSource.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr int kStride = (kWidth * 3 + 3) / 4 * 4;
constexpr size_t kFrameBytes = static_cast<size_t>(kStride) * kHeight;

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// CaptureToBuf of a full 2592 x 1944 frame, timed against memcpy of the same byte count in the
// same loop; the counter "ratio" is the copy's time over memcpy's.
void BM_CaptureToBufVsMemcpy(benchmark::State& state)
{
    CTavoGraphDll graph;
    graph.SetDeviceSource(std::make_shared<CPatternSource>(QStringLiteral("red"), kWidth, kHeight));
    graph.SetErrorSink([](const QString&, const QString&) {});
    graph.InitGraph();
    graph.SpecifyCapDevice(QStringLiteral("Bench"));
    graph.SetCaptureSize(kWidth, kHeight);
    graph.MakeGraph();
    int32_t bytes = 0;
    for (int i = 0; i < 400 && graph.CaptureToBuf(&bytes, nullptr) != TavoStatus::Ok; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (bytes != static_cast<int32_t>(kFrameBytes)) {
        state.SkipWithError("no frame from the pattern camera");
        return;
    }
    std::vector<uint8_t> frame(kFrameBytes);
    std::vector<uint8_t> source(kFrameBytes, 7);
    std::vector<uint8_t> copy(kFrameBytes);
    double captureTime = 0.0;
    double memcpyTime = 0.0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        int32_t n = static_cast<int32_t>(kFrameBytes);
        graph.CaptureToBuf(&n, frame.data());
        auto t1 = std::chrono::steady_clock::now();
        std::memcpy(copy.data(), source.data(), kFrameBytes);
        auto t2 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(frame.data());
        benchmark::DoNotOptimize(copy.data());
        captureTime += Seconds(t1 - t0);
        memcpyTime += Seconds(t2 - t1);
        state.SetIterationTime(Seconds(t1 - t0));
    }
    state.counters["ratio_vs_memcpy"] = memcpyTime > 0 ? captureTime / memcpyTime : 0.0;
    state.counters["memcpy_ms"] = memcpyTime * 1e3 / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFrameBytes));
}
BENCHMARK(BM_CaptureToBufVsMemcpy)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);

GstSample* MakeSample()
{
    GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", "width",
            G_TYPE_INT, kWidth, "height", G_TYPE_INT, kHeight, "framerate", GST_TYPE_FRACTION, 30,
            1, nullptr);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, kFrameBytes, nullptr);
    gst_buffer_memset(buffer, 0, 0x40, kFrameBytes);
    GstSample* sample = gst_sample_new(buffer, caps, nullptr, nullptr);
    gst_buffer_unref(buffer);
    gst_caps_unref(caps);
    return sample;
}

// From a sample's hand-over by the sink to the moment a waiting copier sees it: the grabber's
// publish step plus the cross-thread visibility. Baseline: the 33 ms frame period of 30 fps.
void BM_ArrivalToAvailable(benchmark::State& state)
{
    CFrameGrabber grabber;
    GstSample* sample = MakeSample();
    std::atomic<bool> stop { false };
    std::atomic<int64_t> lastDelay { 0 };
    std::atomic<uint64_t> seen { 0 };
    std::thread copier([&] {
        uint64_t frames = 0;
        while (!stop.load(std::memory_order_relaxed)) {
            const uint64_t now = grabber.Frames();
            if (now == frames)
                continue;
            frames = now;
            int32_t bytes = 0;
            grabber.FrameBytes(bytes);
            lastDelay.store(CFrameGrabber::NowNs() - grabber.LastArrivalNs());
            seen.store(frames, std::memory_order_release);
        }
    });
    double total = 0.0;
    double publishOnly = 0.0;
    uint64_t published = 0;
    for (auto _ : state) {
        const int64_t arrival = CFrameGrabber::NowNs();
        grabber.Publish(gst_sample_ref(sample), arrival);
        ++published;
        while (seen.load(std::memory_order_acquire) < published) { }
        total += static_cast<double>(lastDelay.load());
        publishOnly += static_cast<double>(grabber.LastPublishNs() - arrival);
        state.SetIterationTime(static_cast<double>(lastDelay.load()) * 1e-9);
    }
    stop = true;
    copier.join();
    gst_sample_unref(sample);
    const double meanNs = total / static_cast<double>(state.iterations());
    state.counters["delay_us"] = meanNs * 1e-3;
    state.counters["publish_us"] = publishOnly * 1e-3 / static_cast<double>(state.iterations());
    state.counters["ratio_vs_frame_period"] = meanNs / (1e9 / 30.0);
}
BENCHMARK(BM_ArrivalToAvailable)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

// The same measured on a running appsink: from the new-sample callback's entry to the frame
// being published, over real 2592 x 1944 frames.
void BM_AppSinkHandOver(benchmark::State& state)
{
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(
            "videotestsrc is-live=true pattern=red ! video/x-raw,format=BGR,width=2592,"
            "height=1944,framerate=30/1 ! appsink name=sink max-buffers=1 drop=true sync=false",
            &error);
    if (!pipeline) {
        state.SkipWithError("no pipeline");
        g_clear_error(&error);
        return;
    }
    CFrameGrabber grabber;
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
    grabber.Attach(sink);
    gst_object_unref(sink);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    double total = 0.0;
    uint64_t frames = grabber.Frames();
    for (auto _ : state) {
        while (grabber.Frames() == frames)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        frames = grabber.Frames();
        const double ns = static_cast<double>(grabber.LastPublishNs() - grabber.LastArrivalNs());
        total += ns;
        state.SetIterationTime(ns * 1e-9);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    state.counters["handover_us"] = total * 1e-3 / static_cast<double>(state.iterations());
    state.counters["fps"] = grabber.AverageRate();
}
BENCHMARK(BM_AppSinkHandOver)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(30);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    gst_init(&argc, &argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

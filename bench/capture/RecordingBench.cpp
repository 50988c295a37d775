// Recording's extra processor time: a 1280 x 720 camera at 15 frames a second, copied as the
// pump copies it, first alone, then recording the camera's frames through the tee, then
// recording frames handed in. Prints the process's CPU time per second of each and the ratio
// to the camera alone.
#include "capture/CaptureDeviceSource.h"
#include "capture/TavoGraphDll.h"

#include "PatternSource.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr double kSeconds = 6.0;

double CpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// CPU seconds per wall second while the pump-like copier runs; push: hand each new frame
// to a recording of own frames.
double Measure(CTavoGraphDll& graph, bool push)
{
    std::vector<uint8_t> frame(static_cast<size_t>((kWidth * 3 + 3) / 4 * 4) * kHeight);
    const double cpu0 = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    uint64_t last = 0;
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
            < kSeconds) {
        TavoFrameStamp stamp;
        if (graph.GetNewestFrameStamp(&stamp) >= 0 && stamp.sequence != last) {
            int32_t n = static_cast<int32_t>(frame.size());
            if (graph.CaptureToBuf(&n, frame.data(), &stamp) >= 0) {
                last = stamp.sequence;
                if (push)
                    graph.PushRecordingFrame(frame.data(), kWidth, kHeight);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(15)); // the pump's pace at 1280
    }
    const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return (CpuSeconds() - cpu0) / wall;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    CTavoGraphDll graph;
    // A moving picture: the encoder has work on every frame.
    graph.SetDeviceSource(std::make_shared<CPatternSource>(
            QStringLiteral("ball framerate=15/1"), kWidth, kHeight));
    graph.SetErrorSink([](const QString&, const QString& text) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    });
    graph.InitGraph();
    graph.SpecifyCapDevice(QStringLiteral("Bench"));
    graph.SetCaptureSize(kWidth, kHeight);
    if (graph.MakeGraph() < 0)
        return 1;
    std::this_thread::sleep_for(std::chrono::seconds(1));

    const double alone = Measure(graph, false);
    const QString suffix = QLatin1Char('.') + CTavoGraphDll::RecordingSuffix();
    QString reason;
    if (graph.StartRecording(dir.filePath(QStringLiteral("camera") + suffix), false, 15, &reason)
            < 0) {
        std::fprintf(stderr, "no recording: %s\n", reason.toLocal8Bit().constData());
        return 1;
    }
    const double tee = Measure(graph, false);
    graph.StopRecording();
    graph.StartRecording(dir.filePath(QStringLiteral("frames") + suffix), true, 15, &reason);
    const double frames = Measure(graph, true);
    graph.StopRecording();

    std::printf("encoder: %s, %d x %d at 15 fps\n", qPrintable(CTavoGraphDll::RecordingSuffix()),
            kWidth, kHeight);
    std::printf("camera alone: %.1f%% of one core\n", alone * 100);
    std::printf("recording the camera (tee): %.1f%% of one core, %.1f%% extra, %.2fx the camera "
                "alone\n",
            tee * 100, (tee - alone) * 100, tee / alone);
    std::printf("recording frames handed in: %.1f%% of one core, %.1f%% extra, %.2fx the camera "
                "alone\n",
            frames * 100, (frames - alone) * 100, frames / alone);
    return 0;
}

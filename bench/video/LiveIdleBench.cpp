// What an idle live view costs: the real main window on the Test Pattern camera, nobody
// touching it. Prints the CPU share of the whole process (getrusage over the window), the
// views presented per camera frame and the latency from a frame's arrival at the grabber to the
// first paint of the view that shows it.
//
// live_idle_bench WIDTH HEIGHT FPS [SHAPES [GRID [SECONDS]]]
//
// The same source builds against older trees (run-live-idle-bench.sh builds it on main as
// well): what such a tree lacks is detected at compile time and printed as "n/a". Where the
// pump has a change probe, a second window of the same length runs in the same process with a
// probe that changes at every wake-up, the pump's old habit, and the ratio is printed.

#include "app/TavoMeasureDlg.h"
#include "capture/TavoGraphDll.h"
#include "measure/MeasureCanvas.h"
#include "measure/CircleTool.h"
#include "measure/LineTool.h"
#include "measure/SelectTool.h"
#include "measure/ShapeManager.h"
#include "video/FramePump.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct CSample
{
    double cpuSeconds = 0.0;
    double wallSeconds = 0.0;
    uint64_t presented = 0;
    int32_t arrived = 0;
    uint64_t latencyFrames = 0;
    double latencySumMs = 0.0;
    double latencyMaxMs = 0.0;
};

double CpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double WallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
}

template <class Pump> void ReadLatency(Pump& pump, CSample& sample, bool reset)
{
    if constexpr (requires { pump.Latency(); }) {
        if (reset)
            pump.ResetLatency();
        const auto latency = pump.Latency();
        sample.latencyFrames = latency.frames;
        sample.latencySumMs = latency.meanMs * static_cast<double>(latency.frames);
        sample.latencyMaxMs = latency.maxMs;
    }
}

template <class Pump> constexpr bool HasLatency()
{
    return requires(const Pump& pump)
    {
        pump.Latency();
    };
}

// The pump's old habit: something changed at every wake-up. Returns false where the pump has
// no change probe.
template <class Pump, class Manager> bool RedrawAtEveryWakeUp(Pump& pump, bool on, Manager& manager)
{
    if constexpr (requires { pump.SetChangeProbe([] { return uint64_t(0); }); }) {
        if (on) {
            // The pump calls a copy of the probe: the count must live outside it.
            auto count = std::make_shared<std::atomic<uint64_t>>(0);
            pump.SetChangeProbe([count] { return ++*count; });
        } else {
            pump.SetChangeProbe([&manager] { return manager.ChangeCount(); });
        }
        return true;
    } else {
        (void)pump;
        (void)on;
        (void)manager;
        return false;
    }
}

// The start of a window resets the latency, so its maximum is the window's own.
CSample Sample(CTavoMeasureDlg& window, bool start)
{
    CSample sample;
    sample.cpuSeconds = CpuSeconds();
    sample.wallSeconds = WallSeconds();
    sample.presented = window.Pump()->FramesPresented();
    window.Graph().GetNumNotDropped(&sample.arrived);
    ReadLatency(*window.Pump(), sample, start);
    return sample;
}

void Wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Ten lines and ten circles over the visible picture, drawn as the mouse would.
void AddShapes(CShapeManager& manager, int count, QSize area)
{
    for (int i = 0; i < count; ++i) {
        const int x = 20 + (i % 5) * (area.width() - 80) / 5;
        const int y = 20 + (i / 5) * (area.height() - 80) / 4;
        if (i % 2 == 0) {
            manager.Tools().Use(&MakeTool<CLineTool>);
            manager.OnLButtonDown(x, y);
            manager.OnMouseMove(x + 50, y + 30);
            manager.OnLButtonUp(x + 50, y + 30);
        } else {
            manager.Tools().Use(&MakeTool<CCircleTool>);
            for (QPoint p : { QPoint(x, y + 30), QPoint(x + 30, y), QPoint(x + 60, y + 30) }) {
                manager.OnLButtonDown(p.x(), p.y());
                manager.OnLButtonUp(p.x(), p.y());
            }
        }
    }
    manager.Tools().Use(&MakeTool<CSelectTool>);
}

void Report(const char* label, const CSample& a, const CSample& b, int fps, bool latencyKnown)
{
    const double wall = b.wallSeconds - a.wallSeconds;
    const double cpu = 100.0 * (b.cpuSeconds - a.cpuSeconds) / wall;
    const int32_t arrived = b.arrived - a.arrived;
    const uint64_t presented = b.presented - a.presented;
    std::printf("%-22s cpu %5.1f %% of a core  camera %5.1f fps  presented/arrived %5.2f"
                " (%llu/%d)",
            label, cpu, arrived / wall, arrived > 0 ? double(presented) / arrived : 0.0,
            static_cast<unsigned long long>(presented), arrived);
    const uint64_t frames = b.latencyFrames - a.latencyFrames;
    if (latencyKnown && frames > 0)
        std::printf("  latency mean %5.1f ms max %5.1f ms (frame period %.1f ms)",
                (b.latencySumMs - a.latencySumMs) / static_cast<double>(frames), b.latencyMaxMs,
                1000.0 / fps);
    else
        std::printf("  latency n/a");
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT FPS [SHAPES [GRID [SECONDS]]]\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    const int fps = std::atoi(argv[3]);
    const int shapes = argc > 4 ? std::atoi(argv[4]) : 0;
    const bool grid = argc > 5 && std::atoi(argv[5]) != 0;
    const int seconds = argc > 6 ? std::atoi(argv[6]) : 10;

    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    for (const char* name : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME" })
        qunsetenv(name);
    qputenv("KALVEX_TEST_CAMERA", "1");
    qputenv("KALVEX_TEST_PATTERN",
            QByteArray("smpte horizontal-speed=6 framerate=") + QByteArray::number(fps) + "/1");
    const QString settings = home.filePath(QStringLiteral("Setting.ini"));
    {
        QDir(home.path()).mkdir(QStringLiteral("image"));
        QFile file(settings);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QTextStream out(&file);
        out << "[GENERAL]\nm_nVideoWidth=" << width << "\nm_nVideoHeight=" << height
            << "\nm_nDisp=1\nm_strImagePath=" << home.filePath(QStringLiteral("image"))
            << "\n[COLORSETTING]\nGridShow=" << (grid ? 1 : 0) << "\n";
    }

    QApplication app(argc, argv);
    CTavoMeasureDlg window(settings);
    window.Initialise();
    Wait(3000);
    CShapeManager& manager = window.Canvas()->Manager();
    AddShapes(manager, shapes, window.Canvas()->size().boundedTo(QSize(width, height)));
    Wait(1000);

    char label[64];
    std::snprintf(label, sizeof label, "%dx%d@%d%s", width, height, fps,
            shapes || grid ? " grid+shapes" : "");
    const CSample before = Sample(window, true);
    Wait(seconds * 1000);
    const CSample after = Sample(window, false);
    Report(label, before, after, fps, HasLatency<CFramePump>());

    if (RedrawAtEveryWakeUp(*window.Pump(), true, manager)) {
        Wait(500);
        const CSample busyBefore = Sample(window, true);
        Wait(seconds * 1000);
        const CSample busyAfter = Sample(window, false);
        RedrawAtEveryWakeUp(*window.Pump(), false, manager);
        Report("  redraw every wake-up", busyBefore, busyAfter, fps, true);
        const double idle =
                (after.cpuSeconds - before.cpuSeconds) / (after.wallSeconds - before.wallSeconds);
        const double busy = (busyAfter.cpuSeconds - busyBefore.cpuSeconds)
                / (busyAfter.wallSeconds - busyBefore.wallSeconds);
        if (busy > 0)
            std::printf("  idle / redraw-every-wake-up cpu ratio %.2f\n", idle / busy);
    }
    window.close();
    return 0;
}

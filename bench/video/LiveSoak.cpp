// A soak of the real main window on the Test Pattern camera: memory (RSS), file descriptors
// and threads over a live view, a time-lapse, a recording with the drawing and a run of
// Video/Still switches with a resolution change every tenth. Prints one line per phase with the
// growth per hour, and per switch for the switches. Goals: under 1 MB/h live, no growth per
// switch, the descriptors back where they started.
//
// live_soak [LIVE_SECONDS [SWITCHES]]   (defaults 180 and 300; run it under xvfb-run)

#include "app/LiveAidsPanel.h"
#include "app/TavoMeasureDlg.h"
#include "base/UserMessages.h"
#include "measure/MeasureCanvas.h"
#include "measure/CircleTool.h"
#include "measure/LineTool.h"
#include "measure/SelectTool.h"
#include "measure/ShapeManager.h"
#include "video/FramePump.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

// What the window would show is counted and printed instead: a box would stop the soak.
class CCountedMessages final : public IUserMessages
{
public:
    void Inform(const CUserMessage& message) override { Count(message); }
    void Error(const CUserMessage& message) override { Count(message); }
    bool Ask(const CUserMessage& message) override
    {
        Count(message);
        return false;
    }
    int Shown() const { return m_shown; }

private:
    void Count(const CUserMessage& message)
    {
        ++m_shown;
        std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
    }

    int m_shown = 0;
    CUserMessagesScope m_scope { *this };
};

struct CUsage
{
    double seconds = 0.0;
    double rssMb = 0.0;
    int fds = 0;
    int threads = 0;
};

int Entries(const char* folder)
{
    return static_cast<int>(QDir(QString::fromLatin1(folder))
                                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                                    .size());
}

CUsage Measure(const QElapsedTimer& clock)
{
    CUsage usage;
    usage.seconds = clock.elapsed() / 1000.0;
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> fields = statm.readAll().split(' ');
        if (fields.size() > 1)
            usage.rssMb =
                    fields[1].toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
    }
    usage.fds = Entries("/proc/self/fd");
    usage.threads = Entries("/proc/self/task");
    return usage;
}

void Wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WaitFor(const std::function<bool()>& done, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        Wait(10);
    }
    return true;
}

void Row(const char* phase, const CUsage& a, const CUsage& b, int switches = 0)
{
    const double hours = (b.seconds - a.seconds) / 3600.0;
    std::printf("%-16s %8.0f %9.1f %9.1f %10.2f %5d %5d %5d %5d", phase, b.seconds - a.seconds,
            a.rssMb, b.rssMb, hours > 0 ? (b.rssMb - a.rssMb) / hours : 0.0, a.fds, b.fds,
            a.threads, b.threads);
    if (switches > 0)
        std::printf("   per switch: %+.1f KB, %+.3f fds, %+.3f threads",
                (b.rssMb - a.rssMb) * 1024.0 / switches, double(b.fds - a.fds) / switches,
                double(b.threads - a.threads) / switches);
    std::printf("\n");
    std::fflush(stdout);
}

// Lines, whose length labels are burnt into the recording, and a circle.
void AddShapes(CShapeManager& manager)
{
    for (int i = 0; i < 6; ++i) {
        manager.Tools().Use(&MakeTool<CLineTool>);
        manager.OnLButtonDown(20 + i * 60, 30);
        manager.OnMouseMove(60 + i * 60, 200);
        manager.OnLButtonUp(60 + i * 60, 200);
    }
    manager.Tools().Use(&MakeTool<CCircleTool>);
    for (QPoint p : { QPoint(300, 300), QPoint(350, 250), QPoint(400, 300) }) {
        manager.OnLButtonDown(p.x(), p.y());
        manager.OnLButtonUp(p.x(), p.y());
    }
    manager.Tools().Use(&MakeTool<CSelectTool>);
}

} // namespace

int main(int argc, char** argv)
{
    const int liveSeconds = argc > 1 ? std::atoi(argv[1]) : 180;
    const int switches = argc > 2 ? std::atoi(argv[2]) : 300;

    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    for (const char* name : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME" })
        qunsetenv(name);
    qputenv("KALVEX_TEST_CAMERA", "1");
    const QString settings = home.filePath(QStringLiteral("Setting.ini"));
    {
        QDir(home.path()).mkdir(QStringLiteral("image"));
        QFile file(settings);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QTextStream out(&file);
        out << "[GENERAL]\nm_strDeviceName=Test Pattern\nm_nVideoWidth=640\nm_nVideoHeight=480\n"
               "m_nDisp=1\nm_bMeasure=1\nm_strSaveFormat=jpg\nm_strImagePath="
            << home.filePath(QStringLiteral("image")) << "\n";
    }

    QApplication app(argc, argv);
    CCountedMessages messages;
    auto window = std::make_unique<CTavoMeasureDlg>(settings);
    window->resize(1000, 720);
    window->Initialise(/*showWindow=*/false);
    window->show();
    window->RestartVideo();
    CLiveAidsPanel* panel = window->LiveAidsPanel();
    panel->Header()->click();
    AddShapes(window->Canvas()->Manager());
    const auto framesAfter = [&](uint64_t seen) {
        return WaitFor([&] { return window->Pump()->FramesCopied() > seen; }, 10000);
    };
    if (!framesAfter(2)) {
        std::fprintf(stderr, "no frame from the Test Pattern camera\n");
        return 1;
    }

    QElapsedTimer clock;
    clock.start();
    std::printf("%-16s %8s %9s %9s %10s %5s %5s %5s %5s\n", "phase", "seconds", "RSS MB", "RSS MB",
            "MB/h", "fds", "fds", "thr", "thr");
    std::printf("%-16s %8s %9s %9s %10s %5s %5s %5s %5s\n", "", "", "start", "end", "", "start",
            "end", "start", "end");
    Wait(10000); // caches, pools and the first paints settle
    const CUsage start = Measure(clock);

    Wait(liveSeconds * 1000);
    const CUsage live = Measure(clock);
    Row("live", start, live);

    panel->IntervalSpin()->setValue(1);
    panel->EndCombo()->setCurrentIndex(0);
    panel->CountSpin()->setValue(panel->CountSpin()->maximum());
    panel->TimeLapseButton()->click();
    Wait(liveSeconds * 1000 / 3);
    panel->TimeLapseButton()->click();
    const CUsage timeLapse = Measure(clock);
    Row("time-lapse", live, timeLapse);

    panel->WithDrawingCheck()->setChecked(true);
    panel->RecordButton()->click();
    Wait(liveSeconds * 1000 / 3);
    panel->RecordButton()->click();
    WaitFor([&] { return panel->RecordButton()->isEnabled(); }, 30000);
    const CUsage recording = Measure(clock);
    Row("recording", timeLapse, recording);

    // A few rounds first: pools keep what the next pipeline takes again.
    const QSize sizes[] = { QSize(800, 600), QSize(640, 480) };
    const auto toggle = [&](int i) {
        window->RequestStill();
        window->RequestLive();
        if (i % 10 == 9)
            window->ChangeCaptureSize(sizes[(i / 10) % 2], 1);
        framesAfter(window->Pump()->FramesCopied());
    };
    for (int i = 0; i < 20; ++i)
        toggle(i);
    const CUsage before = Measure(clock);
    for (int i = 0; i < switches; ++i)
        toggle(i);
    Wait(2000);
    const CUsage after = Measure(clock);
    Row("switches", before, after, switches);
    Row("whole run", start, after);
    std::printf("messages shown: %d\n", messages.Shown());
    std::fflush(stdout);
    // For a heap profiler: what is still held after the switches counts as not freed.
    if (qEnvironmentVariableIsSet("KALVEX_SOAK_QUICK_EXIT"))
        std::_Exit(0);
    window->close();
    window.reset();
    return 0;
}

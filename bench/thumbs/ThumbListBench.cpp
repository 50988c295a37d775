// A folder of camera-sized JPEGs in the thumbnail list: how soon the items are laid out, how soon
// every thumbnail shows, and how long the user-interface thread is ever blocked meanwhile, next
// to decoding the same files serially at full size.
#include "image/ImageListItem.h"
#include "image/ImageListWnd.h"
#include "image/ThumbnailLoader.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImageReader>
#include <QPainter>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <thread>

#include <time.h>

namespace {

constexpr QSize kPictureSize(2592, 1944);

qint64 ThreadCpuNs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int FileCount()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("KALVEX_BENCH_THUMBS", &ok);
    return ok && n > 0 ? n : 200;
}

QString Folder()
{
    return QDir::temp().filePath(QStringLiteral("kalvex_thumbs_bench_v2_%1").arg(FileCount()));
}

// Something like a microscope still: smooth shading, sharp-edged structures, a little sensor
// noise (pure noise would make every decoder spend its time on entropy decoding alone).
QImage MakePicture(int seed)
{
    QImage picture(kPictureSize, QImage::Format_RGB888);
    quint32 noise = 2463534242u + static_cast<quint32>(seed);
    for (int y = 0; y < picture.height(); ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int n = static_cast<int>(noise & 7) - 3;
            row[3 * x] = static_cast<uchar>(std::clamp(60 + x / 16 + n, 0, 255));
            row[3 * x + 1] = static_cast<uchar>(std::clamp(80 + y / 12 + n, 0, 255));
            row[3 * x + 2] = static_cast<uchar>(
                    std::clamp(140 + ((x + y + seed * 37) / 40) % 60 + n, 0, 255));
        }
    }
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
        const int cx = (seed * 131 + i * 977) % kPictureSize.width();
        const int cy = (seed * 71 + i * 613) % kPictureSize.height();
        painter.setPen(QPen(QColor(20 + i * 5, 40, 90), 6));
        painter.setBrush(QColor(200 - i * 3, 180, 120 + i * 2));
        painter.drawEllipse(QPoint(cx, cy), 60 + i * 4, 40 + i * 3);
    }
    painter.setFont(QFont(QStringLiteral("Sans"), 200));
    painter.drawText(picture.rect(), Qt::AlignCenter, QString::number(seed));
    return picture;
}

// Written once and kept in the temp folder for later runs.
void EnsurePictures()
{
    QDir dir(Folder());
    dir.mkpath(QStringLiteral("."));
    const int n = FileCount();
    std::vector<int> missing;
    for (int i = 0; i < n; ++i) {
        if (!dir.exists(QStringLiteral("%1.jpg").arg(i, 4, 10, QLatin1Char('0'))))
            missing.push_back(i);
    }
    if (missing.empty())
        return;
    std::fprintf(stderr, "writing %zu pictures of %dx%d to %s\n", missing.size(),
            kPictureSize.width(), kPictureSize.height(), qPrintable(dir.path()));
    std::vector<std::thread> writers;
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned t = 0; t < threads; ++t) {
        writers.emplace_back([&, t] {
            for (size_t k = t; k < missing.size(); k += threads) {
                const QString name =
                        QStringLiteral("%1.jpg").arg(missing[k], 4, 10, QLatin1Char('0'));
                MakePicture(missing[k])
                        .save(dir.filePath(name + QStringLiteral(".tmp")), "JPG", 90);
                QDir(dir).rename(name + QStringLiteral(".tmp"), name);
            }
        });
    }
    for (std::thread& w : writers)
        w.join();
}

QStringList Files()
{
    const QDir dir(Folder());
    QStringList files;
    for (const QString& name : dir.entryList({ QStringLiteral("*.jpg") }, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

double g_serialFullMs = 0;
double g_serialThumbMs = 0;
double g_listShownMs = 0;
double g_listLaidOutMs = 0;
double g_listBlockedMs = 0;
double g_reopenMs = 0;
double g_listBusyMs = 0;

void BM_SerialFullSizeDecode(benchmark::State& state)
{
    const QStringList files = Files();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        for (const QString& file : files) {
            QImageReader reader(file);
            const QImage picture = reader.read();
            benchmark::DoNotOptimize(picture.constBits());
        }
        g_serialFullMs = clock.nsecsElapsed() / 1e6;
        state.SetIterationTime(g_serialFullMs / 1e3);
    }
    state.counters["files"] = files.size();
}

void BM_SerialThumbnailDecode(benchmark::State& state)
{
    const QStringList files = Files();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        for (const QString& file : files)
            benchmark::DoNotOptimize(CThumbnailLoader::Load(file).constBits());
        g_serialThumbMs = clock.nsecsElapsed() / 1e6;
        state.SetIterationTime(g_serialThumbMs / 1e3);
    }
}

void BM_ThumbnailList(benchmark::State& state)
{
    const int count = static_cast<int>(Files().size());
    for (auto _ : state) {
        CImageListWnd list;
        list.resize(1200, 145);
        list.show();
        QApplication::processEvents();

        // A fast timer on the user-interface thread: the longest gap between its ticks is the
        // longest time the thread could not answer the user.
        QElapsedTimer clock;
        qint64 lastTick = 0;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setInterval(1);
        // On a loaded machine a gap may be the scheduler's; the thread's own CPU time within the
        // gap tells how much of it our code kept the thread busy.
        qint64 lastCpu = ThreadCpuNs();
        qint64 longestBusy = 0;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            const qint64 cpu = ThreadCpuNs();
            longestGap = std::max(longestGap, now - lastTick);
            longestBusy = std::max(longestBusy, cpu - lastCpu);
            lastTick = now;
            lastCpu = cpu;
        });
        QEventLoop loop;
        QObject::connect(&list, &CImageListWnd::thumbnailsReady, &loop, &QEventLoop::quit);

        const qint64 cpuStart = ThreadCpuNs();
        clock.start();
        list.SetFolder(Folder());
        const qint64 laidOut = clock.nsecsElapsed();
        lastTick = laidOut;
        longestGap = laidOut;
        lastCpu = ThreadCpuNs();
        longestBusy = lastCpu - cpuStart;
        ticker.start();
        if (list.PendingThumbnails() > 0)
            loop.exec();
        QApplication::processEvents(); // the last repaints
        const qint64 shown = clock.nsecsElapsed();
        ticker.stop();

        int withPicture = 0;
        for (int i = 0; i < list.Count(); ++i)
            withPicture += list.Item(i)->Thumbnail().isNull() ? 0 : 1;
        if (list.Count() != count || withPicture != count)
            state.SkipWithError("not every thumbnail arrived");

        // The ThumbView grid opened on the same folder afterwards.
        CImageListWnd grid;
        grid.SetSingleRow(false);
        grid.resize(1200, 800);
        grid.show();
        QElapsedTimer reopen;
        reopen.start();
        grid.SetFolder(Folder());
        if (grid.PendingThumbnails() != 0)
            state.SkipWithError("the grid decoded again");
        g_reopenMs = reopen.nsecsElapsed() / 1e6;

        g_listLaidOutMs = laidOut / 1e6;
        g_listShownMs = shown / 1e6;
        g_listBlockedMs = longestGap / 1e6;
        g_listBusyMs = longestBusy / 1e6;
        state.SetIterationTime(shown / 1e9);
    }
    state.counters["laid_out_ms"] = g_listLaidOutMs;
    state.counters["all_shown_ms"] = g_listShownMs;
    state.counters["ui_blocked_max_ms"] = g_listBlockedMs;
    state.counters["reopen_ms"] = g_reopenMs;
    state.counters["ui_busy_max_ms"] = g_listBusyMs;
}

BENCHMARK(BM_SerialFullSizeDecode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerialThumbnailDecode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThumbnailList)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    EnsurePictures();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_listShownMs > 0) {
        std::printf("\n%d JPEGs of %dx%d, %u cores\n", FileCount(), kPictureSize.width(),
                kPictureSize.height(), std::thread::hardware_concurrency());
        std::printf("items laid out:              %8.1f ms\n", g_listLaidOutMs);
        std::printf("every thumbnail shown:       %8.1f ms\n", g_listShownMs);
        std::printf("longest UI-thread block:     %8.1f ms\n", g_listBlockedMs);
        std::printf("  of it busy in our code:    %8.1f ms (thread CPU time)\n", g_listBusyMs);
        std::printf("same folder opened again:    %8.1f ms\n", g_reopenMs);
        std::printf("serial full-size decode:     %8.1f ms  (%.1fx the list)\n", g_serialFullMs,
                g_serialFullMs / g_listShownMs);
        std::printf("serial scaled decode:        %8.1f ms  (%.1fx the list)\n", g_serialThumbMs,
                g_serialThumbMs / g_listShownMs);
    }
    return 0;
}

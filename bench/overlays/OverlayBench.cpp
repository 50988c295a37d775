#include "measure/OverlayPainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kStride = (kWidth * 24 + 31) / 32 * 4;

std::map<std::string, double> g_seconds;

// The heaviest overlay set a user can choose: smallest grid, a ruler tick on every pixel, the
// scale bar and four cross lines, drawn over a live frame at zoom 1.
COverlayPainter HeavyOverlays()
{
    CColorSetting s;
    s.GridShow = s.RulerShow = s.ScaleShow = true;
    s.GridSize = 10;
    s.RulerSize = 0;
    s.LineSize = 1;
    s.GridColor = 0x00C0C0C0;
    s.RulerColor = 0x0000FFFF;
    s.ScaleXLen = 100;
    s.ScaleType = 1;
    return COverlayPainter(s, 1.0f, 0.5, 0.5, QStringLiteral("um"), QFont());
}

std::vector<CCrossLine> CrossLines()
{
    std::vector<CCrossLine> lines(4);
    for (int i = 0; i < 4; ++i) {
        lines[i].x = 300 + i * 300;
        lines[i].y = 200 + i * 200;
        lines[i].type = i % 2;
        lines[i].size = i % 2 ? 1 : 3;
    }
    return lines;
}

void BM_FrameCopy(benchmark::State& state)
{
    std::vector<uint8_t> src(static_cast<size_t>(kStride) * kHeight, 7);
    std::vector<uint8_t> dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::DoNotOptimize(dst.data());
    }
}

void BM_HeavyOverlays(benchmark::State& state)
{
    std::vector<uint8_t> frame(static_cast<size_t>(kStride) * kHeight, 90);
    const COverlayPainter overlays = HeavyOverlays();
    const std::vector<CCrossLine> lines = CrossLines();
    for (auto _ : state) {
        QImage view(frame.data(), kWidth, kHeight, kStride, QImage::Format_BGR888);
        QPainter painter(&view);
        overlays.DrawRuler(painter, COverlayPainter::Target::Frame, kWidth, kHeight);
        overlays.DrawGrid(painter, COverlayPainter::Target::Frame, kWidth, kHeight);
        overlays.DrawScaleBar(painter, COverlayPainter::Target::Frame, QSize(kWidth, kHeight));
        COverlayPainter::DrawCrossLines(painter, lines, {}, kWidth, kHeight);
        benchmark::DoNotOptimize(frame.data());
    }
}

class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            g_seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
};
} // namespace

BENCHMARK(BM_FrameCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeavyOverlays)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts need a GUI application
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double copy = g_seconds["BM_FrameCopy"];
    if (copy > 0)
        std::printf("overlays / frame copy (1920x1080, heaviest settings): %.1f\n",
                g_seconds["BM_HeavyOverlays"] / copy);
    return 0;
}

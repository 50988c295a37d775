#include "measure/Angle3Tool.h"
#include "measure/Angle4Tool.h"
#include "measure/AreaTool.h"
#include "measure/CircleTool.h"
#include "measure/DistanceTool.h"
#include "measure/LineTool.h"
#include "measure/SelectTool.h"
#include "measure/ShapeManager.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

void Click(CShapeManager& m, int x, int y)
{
    m.OnLButtonDown(x, y);
    m.OnLButtonUp(x, y);
}

// 200 finished measurements of every kind, spread over a 1920 x 1080 picture.
std::unique_ptr<CShapeManager> MakeManager()
{
    auto m = std::make_unique<CShapeManager>();
    CColorSetting colours;
    colours.LineSize = 2;
    colours.LineColor = 0x0000FF00;
    colours.TextColor = 0x00FFFFFF;
    m->ApplyColourSettings(colours);
    m->SetClientSize(QSize(1920, 1080));
    for (int i = 0; i < 200; ++i) {
        const int x = 60 + (i % 20) * 90;
        const int y = 60 + (i / 20) * 100;
        switch (i % 6) {
        case 0:
            m->Tools().Use(&MakeTool<CLineTool>);
            m->OnLButtonDown(x, y);
            m->OnMouseMove(x + 70, y + 40);
            m->OnLButtonUp(x + 70, y + 40);
            break;
        case 1:
            m->Tools().Use(&MakeTool<CAngle3Tool>);
            Click(*m, x, y);
            Click(*m, x + 30, y + 50);
            Click(*m, x + 70, y + 10);
            break;
        case 2:
            m->Tools().Use(&MakeTool<CCircleTool>);
            Click(*m, x + 60, y + 30);
            Click(*m, x + 30, y + 60);
            Click(*m, x, y + 30);
            break;
        case 3:
            m->Tools().Use(&MakeTool<CAreaTool>);
            Click(*m, x, y);
            Click(*m, x + 70, y);
            Click(*m, x + 60, y + 60);
            Click(*m, x + 10, y + 70);
            m->OnLButtonDblClk(x + 10, y + 70);
            break;
        case 4:
            m->Tools().Use(&MakeTool<CAngle4Tool>);
            Click(*m, x, y);
            Click(*m, x + 70, y + 10);
            Click(*m, x, y + 60);
            Click(*m, x + 70, y + 40);
            break;
        default:
            m->Tools().Use(&MakeTool<CDistanceTool>);
            for (QPoint p : { QPoint(20, 0), QPoint(0, 20), QPoint(-20, 0), QPoint(80, 40),
                         QPoint(60, 60), QPoint(40, 40) })
                Click(*m, x + 20 + p.x(), y + 20 + p.y());
            break;
        }
    }
    m->Tools().Use(&MakeTool<CSelectTool>);
    return m;
}

struct Frame
{
    Frame(int w, int h)
        : width(w), height(h), bytes(static_cast<size_t>(FrameStride(w)) * h, 40),
          copy(bytes.size())
    {
    }
    int width;
    int height;
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> copy;
};

void BM_MemcpyFrame(benchmark::State& state)
{
    Frame f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        std::memcpy(f.copy.data(), f.bytes.data(), f.bytes.size());
        benchmark::DoNotOptimize(f.copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFrame)
        ->Args({ 1920, 1080 })
        ->Args({ 2592, 1944 })
        ->Unit(benchmark::kMicrosecond);

void BM_DrawOnFrame200(benchmark::State& state)
{
    auto m = MakeManager();
    Frame f(1920, 1080);
    for (auto _ : state) {
        m->DrawOnFrame(f.bytes.data(), f.width, f.height, 0, 0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawOnFrame200)->Unit(benchmark::kMicrosecond);

// The same drawing on an upright 32-bit picture, Qt's native layout, for comparison.
void BM_DrawOnUprightRgb32(benchmark::State& state)
{
    auto m = MakeManager();
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (auto _ : state) {
        QPainter painter(&image);
        m->DrawOnFrame(painter, image.width(), image.height(), 0, 0);
    }
}
BENCHMARK(BM_DrawOnUprightRgb32)->Unit(benchmark::kMicrosecond);

void BM_RenderAndMerge200(benchmark::State& state)
{
    auto m = MakeManager();
    Frame f(2592, 1944);
    std::vector<uint8_t> scratch(f.bytes.size());
    for (auto _ : state) {
        m->RenderOnto(scratch.data(), f.width, f.height);
        CShapeManager::MergeRendered(f.bytes.data(), scratch.data(), f.width, f.height);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RenderAndMerge200)->Unit(benchmark::kMicrosecond);

// One step of the history with 200 shapes: a nudge of a selected line copies the drawing.
void BM_RecordStep200(benchmark::State& state)
{
    auto m = MakeManager();
    Click(*m, 95, 80); // the first line's label
    int dx = 1;
    for (auto _ : state) {
        m->MoveSelected(dx, 0);
        dx = -dx;
    }
}
BENCHMARK(BM_RecordStep200)->Unit(benchmark::kMicrosecond);

// Undo and redo of one step with 200 shapes: the drawing is replaced twice.
void BM_UndoRedo200(benchmark::State& state)
{
    auto m = MakeManager();
    m->AddText(QStringLiteral("step"), 10, 10);
    for (auto _ : state) {
        m->Undo();
        m->Redo();
    }
}
BENCHMARK(BM_UndoRedo200)->Unit(benchmark::kMicrosecond);

// Prints every result as usual and keeps the time per iteration for the ratios.
class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    std::map<std::string, double> times; // in the benchmark's unit (microseconds)
};

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the labels
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    auto ratio = [&reporter](const char* name, const char* baseline,
                         const char* what = "memcpy of the frame") {
        const auto a = reporter.times.find(name);
        const auto b = reporter.times.find(baseline);
        if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0)
            return;
        std::printf("%-28s %10.1f us = %6.2f x %s (%.1f us)\n", name, a->second,
                a->second / b->second, what, b->second);
    };
    ratio("BM_DrawOnFrame200", "BM_MemcpyFrame/1920/1080");
    ratio("BM_DrawOnUprightRgb32", "BM_MemcpyFrame/1920/1080");
    ratio("BM_RenderAndMerge200", "BM_MemcpyFrame/2592/1944");
    // The history's cost next to drawing the same 200 shapes on one live frame.
    ratio("BM_RecordStep200", "BM_DrawOnFrame200", "drawing one frame");
    ratio("BM_UndoRedo200", "BM_DrawOnFrame200", "drawing one frame");
    benchmark::Shutdown();
    return 0;
}

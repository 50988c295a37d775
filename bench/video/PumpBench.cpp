#include "measure/CircleTool.h"
#include "measure/LineTool.h"
#include "measure/SelectTool.h"
#include "measure/ShapeManager.h"
#include "video/FramePump.h"
#include "video/FrameSource.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;

// A camera that always holds the same full-size frame.
class StillCamera : public IFrameSource
{
public:
    StillCamera() : m_frame(static_cast<size_t>(CFramePump::FrameBytes(kWidth, kHeight)))
    {
        for (size_t i = 0; i < m_frame.size(); ++i)
            m_frame[i] = static_cast<uint8_t>(i * 7 + i / 4096);
    }
    int32_t GetCaptureSize(int& width, int& height) override
    {
        width = kWidth;
        height = kHeight;
        return 0;
    }
    int32_t CaptureToBuf(int32_t* size, uint8_t* buffer) override
    {
        if (!buffer) {
            *size = static_cast<int32_t>(m_frame.size());
            return 0;
        }
        std::memcpy(buffer, m_frame.data(), m_frame.size());
        return 0;
    }

private:
    std::vector<uint8_t> m_frame;
};

// Fifty finished lines, circles and angles spread over the view.
void AddShapes(CShapeManager& manager)
{
    CColorSetting colours;
    colours.LineSize = 2;
    colours.LineColor = 0x0000FF00;
    colours.TextColor = 0x00FFFFFF;
    manager.ApplyColourSettings(colours);
    manager.SetClientSize(QSize(1280, 960));
    manager.SetZoom(1280.0f / kWidth);
    for (int i = 0; i < 50; ++i) {
        const int x = 40 + (i % 10) * 120;
        const int y = 40 + (i / 10) * 180;
        if (i % 2 == 0) {
            manager.Tools().Use(&MakeTool<CLineTool>);
            manager.OnLButtonDown(x, y);
            manager.OnMouseMove(x + 80, y + 40);
            manager.OnLButtonUp(x + 80, y + 40);
        } else {
            manager.Tools().Use(&MakeTool<CCircleTool>);
            for (QPoint p : { QPoint(x, y + 40), QPoint(x + 40, y), QPoint(x + 80, y + 40) }) {
                manager.OnLButtonDown(p.x(), p.y());
                manager.OnLButtonUp(p.x(), p.y());
            }
        }
    }
    manager.Tools().Use(&MakeTool<CSelectTool>);
}

void BM_MemcpyFrame(benchmark::State& state)
{
    std::vector<uint8_t> from(static_cast<size_t>(CFramePump::FrameBytes(kWidth, kHeight)), 1);
    std::vector<uint8_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

// One whole iteration: copy, white balance, contrast curve, binarization, compose into a
// 1280 x 960 view, fifty shapes drawn over it.
void BM_PumpIteration(benchmark::State& state)
{
    StillCamera camera;
    CShapeManager manager;
    AddShapes(manager);
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetOverlayPainter([&manager](QPainter& painter, const CPumpState& s) {
        manager.DrawOnFrame(painter, s.displayWidth, s.displayHeight, -s.originX, -s.originY);
    });
    CPumpState s;
    s.captureWidth = kWidth;
    s.captureHeight = kHeight;
    s.displayScale = 0;
    s.displayWidth = s.viewWidth = s.parentWidth = 1280;
    s.displayHeight = s.viewHeight = s.parentHeight = 960;
    s.filters.whiteBalance = true;
    s.filters.redGain = 5;
    s.filters.blueGain = -5;
    s.filters.equalize = true;
    s.filters.binarize = state.range(0) != 0;
    pump.SetState(s);
    for (auto _ : state)
        pump.RunIteration();
}
BENCHMARK(BM_PumpIteration)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

class CRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times[run.benchmark_name()] = run.GetAdjustedRealTime()
                        * benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond)
                        / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
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
    const double baseline = reporter.times["BM_MemcpyFrame"];
    for (const char* name : { "BM_PumpIteration/0", "BM_PumpIteration/1" }) {
        if (reporter.times.count(name) && baseline > 0)
            std::printf("%s: %.2f ms, %.1fx memcpy of the frame (%.2f ms)\n", name,
                    reporter.times[name], reporter.times[name] / baseline, baseline);
    }
    return 0;
}

#include "measure/MeasureShape.h"
#include "measure/ShapeManager.h"

#include "ShapeDrivers.h"

#include <QImage>
#include <QPainter>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

// The frame pump draws over every frame from its own thread while the user edits.
TEST(ShapeManagerThread, DrawOnFrameWhileEditing)
{
    CShapeManager m;
    CColorSetting colours;
    colours.LineSize = 2;
    colours.LineColor = 0x0000FF00;
    colours.TextColor = 0x00FFFFFF;
    m.ApplyColourSettings(colours);
    m.SetClientSize(QSize(320, 240));
    m.AppendCrossLine(CCrossLine());

    std::atomic<bool> stop { false };
    std::atomic<int> frames { 0 };
    std::thread pump([&] {
        constexpr int w = 320;
        constexpr int h = 240;
        std::vector<uint8_t> frame(FrameStride(w) * h, 0);
        while (!stop.load()) {
            m.DrawOnFrame(frame.data(), w, h, 0, 0);
            frames.fetch_add(1);
        }
    });

    // Each round starts after the pump has drawn another frame, so drawing and editing interleave.
    auto awaitFrame = [&frames] {
        const int seen = frames.load();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (frames.load() == seen && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    };
    for (int round = 0; round < 40; ++round) {
        awaitFrame();
        DrawLine(m, QPoint(10, 10 + round), QPoint(200, 40 + round));
        DrawCircle(m, QPoint(60, 50), QPoint(50, 60), QPoint(40, 50));
        m.AddText(QStringLiteral("text %1").arg(round), 5, 5);

        // Drag the line's end, then remove shapes by their rows.
        UseTool(m, 13);
        Drag(m, QPoint(200, 40 + round), QPoint(150, 120));
        m.SetZoom(round % 2 ? 2.0f : 1.0f);
        m.SetPan(round % 3, 0);
        const auto rows = m.ResultRows();
        ASSERT_FALSE(rows.empty());
        m.RemoveByRowId(rows.front().rowId);
        if (round % 5 == 4) {
            m.RemoveAll();
            m.DeleteAllTexts();
        }
    }
    stop.store(true);
    pump.join();
    EXPECT_GE(frames.load(), 40);
}

// A recording "With the drawing" burns the length labels in on the pump's thread; that thread
// ends with the recording (Video/Still), and the window then repaints the same labels. Each
// side must lay the texts out with its own fonts: the pump's are gone with its thread.
TEST(ShapeManagerThread, RecordingWithTheDrawingThenRepaintOnTheGuiThread)
{
    CShapeManager m;
    CColorSetting colours;
    colours.TextColor = 0x00FFFFFF;
    m.ApplyColourSettings(colours);
    m.SetClientSize(QSize(320, 240));
    QImage canvas(320, 240, QImage::Format_RGB32);
    for (int round = 0; round < 3; ++round) {
        // New labels, laid out first by the recording.
        DrawLine(m, QPoint(10, 20 + round * 30), QPoint(250, 40 + round * 30));
        m.AddText(QStringLiteral("note %1").arg(round), 30, 200);
        std::unique_ptr<QThread> pump(QThread::create([&m] {
            constexpr int w = 320;
            constexpr int h = 240;
            std::vector<uint8_t> frame(FrameStride(w) * h, 0);
            std::vector<uint8_t> scratch(frame.size());
            for (int i = 0; i < 5; ++i) {
                m.RenderOnto(scratch.data(), w, h);
                CShapeManager::MergeRendered(frame.data(), scratch.data(), w, h);
                m.DrawOnFrame(frame.data(), w, h, 0, 0);
            }
        }));
        pump->start();
        ASSERT_TRUE(pump->wait(QDeadlineTimer(30000)));
        pump.reset();
        for (int i = 0; i < 3; ++i) {
            canvas.fill(Qt::black);
            QPainter painter(&canvas);
            m.DrawAll(painter);
        }
    }
    EXPECT_NE(canvas.pixel(40, 205), QColor(Qt::black).rgb());
}

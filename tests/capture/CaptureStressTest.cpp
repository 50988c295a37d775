#include "FakeCamera.h"

#include "capture/TavoGraphDll.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

// A frame pump copies while the user-interface thread stops, tears down, rebuilds and
// resizes: every copy either succeeds whole or reports a status, and nothing races.
TEST(CaptureStressTest, CopiesWhileTheGraphIsRebuilt)
{
    auto source = std::make_shared<CFakeDeviceSource>();
    source->devices = { CFakeDeviceSource::Pattern(QStringLiteral("Pattern"), QStringLiteral("red"),
            { { 320, 240, QStringLiteral("BGR") }, { 322, 240, QStringLiteral("BGR") } }) };
    CTavoGraphDll graph;
    graph.SetDeviceSource(source);
    graph.SetErrorSink([](const QString&, const QString&) {});
    ASSERT_EQ(graph.InitGraph(), TavoStatus::Ok);
    ASSERT_EQ(graph.SpecifyCapDevice(QStringLiteral("Pattern")), TavoStatus::Ok);
    graph.SetCaptureSize(320, 240);
    ASSERT_GE(graph.MakeGraph(), 0);

    std::atomic<bool> stop { false };
    std::atomic<int> copies { 0 };
    std::atomic<int> badPixels { 0 };
    std::thread pump([&] {
        std::vector<uint8_t> buffer(324 * 3 * 240);
        while (!stop.load()) {
            int32_t bytes = 0;
            if (graph.CaptureToBuf(&bytes, nullptr) < 0)
                continue;
            bytes = static_cast<int32_t>(buffer.size());
            if (graph.CaptureToBuf(&bytes, buffer.data()) == TavoStatus::Ok) {
                copies.fetch_add(1);
                if (buffer[0] != 0 || buffer[2] != 255 || buffer[bytes - 2] != 0)
                    badPixels.fetch_add(1);
            }
        }
    });
    for (int i = 0; i < 12; ++i) {
        graph.Stop();
        graph.TearDownGraph();
        graph.MakeGraph();
        graph.ChangeVideoSize(i % 2 ? 320 : 322, 240);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    stop = true;
    pump.join();
    EXPECT_GT(copies.load(), 0);
    EXPECT_EQ(badPixels.load(), 0);
    EXPECT_EQ(graph.ClearGraph(), TavoStatus::Ok);
}

#include "video/LiveStackSource.h"

#include "base/FrameLayout.h"

#include "FocusSweep.h"
#include "SweepCamera.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

using namespace sweep;

namespace {

// Polls the stack the way the pump does until `done` holds or two seconds pass.
template <typename Done> bool PollUntil(CLiveStackSource& stack, Done done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
        stack.NewestSequence();
        if (done(stack.Status()))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

} // namespace

TEST(LiveStackSource, ServesTheStackDropsWhatComesWhileMergingAndResets)
{
    const CFocusSweep sweep(Texture(160, 120, 21), 8, 4);
    CSweepCamera camera;
    CLiveStackSource stack(camera);
    int width = 0, height = 0;
    EXPECT_EQ(stack.NewestSequence(), 0u);
    EXPECT_LT(stack.GetCaptureSize(width, height), 0);

    camera.Show(sweep.Frame(0));
    ASSERT_TRUE(PollUntil(stack, [](auto s) { return s.results == 1; }));
    ASSERT_EQ(stack.GetCaptureSize(width, height), 0);
    EXPECT_EQ(width, 160);
    std::vector<uint8_t> out(FrameBytes(width, height));
    int32_t size = static_cast<int32_t>(out.size());
    CFrameStamp stamp;
    ASSERT_EQ(stack.CaptureStamped(&size, out.data(), stamp), 0);
    EXPECT_EQ(stamp.sequence, 1u);
    const cv::Mat first = sweep.Frame(0);
    EXPECT_EQ(std::memcmp(out.data() + FrameStride(160) * 5, first.ptr(5), 160 * 3), 0);

    // Every frame is either merged or dropped, none waits in a queue.
    for (int k = 1; k < sweep.Frames(); ++k) {
        camera.Show(sweep.Frame(k));
        stack.NewestSequence();
    }
    ASSERT_TRUE(PollUntil(stack, [&](auto s) {
        return s.merged + s.skipped + static_cast<int>(s.dropped) == sweep.Frames();
    }));
    EXPECT_EQ(stack.Status().skipped, 0);

    stack.Reset();
    EXPECT_EQ(stack.Status().merged, 0);
    camera.Show(Texture(160, 120, 22));
    EXPECT_TRUE(PollUntil(stack, [](auto s) { return s.merged == 1; }));
}

TEST(LiveStackSource, ACameraThatTellsFeedsItAndWatchersHearOfEachStack)
{
    const CFocusSweep sweep(Texture(160, 120, 23), 3, 3);
    CSweepCamera camera(true);
    std::atomic<int> told { 0 };
    {
        CLiveStackSource stack(camera);
        const int id = stack.WatchFrames([&] { ++told; });
        EXPECT_GE(id, 0);
        for (int k = 0; k < sweep.Frames(); ++k) {
            camera.Show(sweep.Frame(k));
            // Nobody polls: the camera's call alone feeds the worker.
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
            while (told < k + 1 && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_EQ(told, sweep.Frames());
        EXPECT_EQ(stack.Status().merged, sweep.Frames());
        stack.UnwatchFrames(id);
        camera.Show(sweep.Frame(0));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(told, sweep.Frames());
    }
    // Gone with the stack: the camera calls nobody.
    camera.Show(sweep.Frame(1));
}

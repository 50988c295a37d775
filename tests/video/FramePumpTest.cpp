#include "video/FramePump.h"
#include "video/FrameSource.h"
#include "video/ViewPresenter.h"
#include "imgproc/WideInstructions.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>

namespace {

constexpr int32_t kAccessDenied = static_cast<int32_t>(0x80070005u);

// A camera whose picture is red in its top half and blue in its bottom half.
class FakeCamera : public IFrameSource
{
public:
    FakeCamera(int width, int height) { Resize(width, height); }

    void Resize(int width, int height)
    {
        const std::lock_guard lock(m_mutex);
        m_width = width;
        m_height = height;
        const int32_t stride = CFramePump::FrameBytes(width, 1);
        m_frame.assign(static_cast<size_t>(stride * height), 0);
        for (int row = 0; row < height; ++row) {
            // Row 0 in memory is the picture's bottom row.
            const bool topHalf = row >= height / 2;
            for (int x = 0; x < width; ++x) {
                uint8_t* p = m_frame.data() + row * stride + x * 3;
                p[0] = topHalf ? 0 : 255; // blue
                p[2] = topHalf ? 255 : 0; // red
            }
        }
    }
    void SetPaused(bool paused) { m_paused = paused; }
    // Paints every pixel; row 0 is the first row in memory, the picture's bottom row.
    void Paint(const std::function<QColor(int x, int row)>& colour)
    {
        const std::lock_guard lock(m_mutex);
        const int32_t stride = CFramePump::FrameBytes(m_width, 1);
        for (int row = 0; row < m_height; ++row)
            for (int x = 0; x < m_width; ++x) {
                const QColor c = colour(x, row);
                uint8_t* p = m_frame.data() + row * stride + x * 3;
                p[0] = static_cast<uint8_t>(c.blue());
                p[1] = static_cast<uint8_t>(c.green());
                p[2] = static_cast<uint8_t>(c.red());
            }
    }

    int32_t GetCaptureSize(int& width, int& height) override
    {
        const std::lock_guard lock(m_mutex);
        width = m_width;
        height = m_height;
        return 0;
    }
    int32_t CaptureToBuf(int32_t* size, uint8_t* buffer) override
    {
        const std::lock_guard lock(m_mutex);
        if (!buffer) {
            *size = static_cast<int32_t>(m_frame.size());
            return 0;
        }
        if (m_paused)
            return kAccessDenied;
        if (*size < static_cast<int32_t>(m_frame.size()))
            return -1;
        std::memcpy(buffer, m_frame.data(), m_frame.size());
        ++copies;
        return 0;
    }

    std::atomic<int> copies { 0 };

private:
    std::mutex m_mutex;
    int m_width = 0;
    int m_height = 0;
    std::vector<uint8_t> m_frame;
    std::atomic<bool> m_paused { false };
};

// The same camera with the grabber's frame numbers: NextFrame() is a frame arriving.
class SequencedCamera : public FakeCamera
{
public:
    using FakeCamera::FakeCamera;

    void NextFrame(int64_t arrivalNs = 1)
    {
        m_arrivalNs = arrivalNs;
        ++m_sequence;
    }
    std::optional<uint64_t> NewestSequence() override { return m_sequence.load(); }
    int32_t CaptureStamped(int32_t* size, uint8_t* buffer, CFrameStamp& stamp) override
    {
        if (arriveDuringCopy)
            NextFrame();
        const int32_t status = CaptureToBuf(size, buffer);
        stamp = { m_sequence.load(), m_arrivalNs.load() };
        return status;
    }

    std::atomic<bool> arriveDuringCopy { false };

private:
    std::atomic<uint64_t> m_sequence { 0 };
    std::atomic<int64_t> m_arrivalNs { 0 };
};

// A camera that tells of its frames, as the capture library does, and counts how often the
// pump looks at it.
class TellingCamera : public SequencedCamera
{
public:
    using SequencedCamera::SequencedCamera;

    void Arrive()
    {
        NextFrame(NowNs());
        const std::lock_guard lock(m_listenerMutex);
        if (m_listener)
            m_listener();
    }
    std::optional<uint64_t> NewestSequence() override
    {
        ++looks;
        return SequencedCamera::NewestSequence();
    }
    int WatchFrames(std::function<void()> listener) override
    {
        const std::lock_guard lock(m_listenerMutex);
        m_listener = std::move(listener);
        return ++m_lastId;
    }
    void UnwatchFrames(int id) override
    {
        const std::lock_guard lock(m_listenerMutex);
        if (id == m_lastId)
            m_listener = nullptr;
        ++unwatched;
    }
    bool Watched() const
    {
        const std::lock_guard lock(m_listenerMutex);
        return static_cast<bool>(m_listener);
    }

    std::atomic<int> looks { 0 };
    std::atomic<int> unwatched { 0 };

private:
    static int64_t NowNs()
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::steady_clock::now().time_since_epoch())
                .count();
    }
    mutable std::mutex m_listenerMutex;
    std::function<void()> m_listener;
    int m_lastId = 0;
};

int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch())
            .count();
}

CPumpState LiveState(int width, int height)
{
    CPumpState s;
    s.captureWidth = width;
    s.captureHeight = height;
    s.displayWidth = s.viewWidth = s.parentWidth = width;
    s.displayHeight = s.viewHeight = s.parentHeight = height;
    return s;
}

bool WaitForFrames(const CFramePump& pump, uint64_t count)
{
    // Generous: sanitizer builds on a loaded machine are slow.
    return QTest::qWaitFor([&] { return pump.FramesPresented() >= count; }, 20000);
}

} // namespace

TEST(FramePump_Arithmetic, PacingFollowsCaptureWidth)
{
    EXPECT_EQ(CFramePump::SleepMsForWidth(1000), 10);
    EXPECT_EQ(CFramePump::SleepMsForWidth(1001), 15);
    EXPECT_EQ(CFramePump::SleepMsForWidth(1500), 15);
    EXPECT_EQ(CFramePump::SleepMsForWidth(1501), 20);
    EXPECT_EQ(CFramePump::SleepMsForWidth(2592), 20);
}

TEST(FramePump_Arithmetic, BufferSizesArePaddedRows)
{
    EXPECT_EQ(CFramePump::FrameBytes(640, 480), 921600);
    EXPECT_EQ(CFramePump::FrameBytes(642, 480), 925440);
    EXPECT_EQ(CFramePump::FrameBytes(0, 480), 0);
}

TEST(FramePump_Arithmetic, SourceRectAndDirectFit)
{
    CPumpState s = LiveState(640, 480);
    s.displayScale = 2;
    s.originX = -100;
    s.originY = -50;
    s.viewWidth = 1000;
    s.viewHeight = 500;
    EXPECT_EQ(CFramePump::SourceRect(s), QRect(50, 25, 500, 250));
    s.displayScale = 0;
    EXPECT_EQ(CFramePump::SourceRect(s), QRect(0, 0, 640, 480));
    EXPECT_EQ(CFramePump::DirectFitSize(640, 480, 800, 500), QSize(666, 500));
    EXPECT_EQ(CFramePump::DirectFitSize(640, 480, 800, 700), QSize(800, 600));
}

TEST(FramePump_Live, FramesReachTheViewTheRightWayUp)
{
    FakeCamera camera(642, 480);
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetState(LiveState(642, 480));
    pump.Restart();
    ASSERT_TRUE(WaitForFrames(pump, 2));
    EXPECT_EQ(pump.FrameBufferSize(), 925440);
    pump.PaintView([](const QImage& view) {
        ASSERT_EQ(view.size(), QSize(642, 480));
        EXPECT_EQ(view.pixelColor(10, 10), QColor(255, 0, 0)) << "top of the picture is red";
        EXPECT_EQ(view.pixelColor(10, 470), QColor(0, 0, 255));
    });
}

// The view is made in one pass from the bottom-up frame: scrolled and zoomed pictures keep
// their orientation, and what lies beyond the frame is black.
TEST(FramePump_Live, ZoomScrollAndTheViewBeyondTheFrame)
{
    FakeCamera camera(160, 120);
    CFramePump pump;
    pump.SetSource(&camera);
    CPumpState state = LiveState(160, 120);
    state.viewWidth = 200;
    state.viewHeight = 150;
    pump.SetState(state);
    pump.RunIteration();
    pump.PaintView([](const QImage& view) {
        EXPECT_EQ(view.pixelColor(10, 59), QColor(255, 0, 0));
        EXPECT_EQ(view.pixelColor(10, 60), QColor(0, 0, 255));
        EXPECT_EQ(view.pixelColor(170, 10), QColor(0, 0, 0)) << "right of the frame";
        EXPECT_EQ(view.pixelColor(10, 130), QColor(0, 0, 0)) << "below the frame";
    });
    // X 2 scrolled down by 100 view pixels: the view starts at picture row 50.
    state.displayScale = 2;
    state.originY = -100;
    pump.SetState(state);
    pump.RunIteration();
    pump.PaintView([](const QImage& view) {
        EXPECT_EQ(view.pixelColor(10, 19), QColor(255, 0, 0));
        EXPECT_EQ(view.pixelColor(10, 20), QColor(0, 0, 255));
        EXPECT_EQ(view.pixelColor(10, 139), QColor(0, 0, 255));
        EXPECT_EQ(view.pixelColor(10, 140), QColor(0, 0, 0)) << "the frame ends at row 120";
    });
    // Fit stretches the whole frame over the view.
    state.displayScale = 0;
    pump.SetState(state);
    pump.RunIteration();
    pump.PaintView([](const QImage& view) {
        EXPECT_EQ(view.pixelColor(195, 70), QColor(255, 0, 0));
        EXPECT_EQ(view.pixelColor(195, 80), QColor(0, 0, 255));
    });
}

// Every pixel its own colour, at every place in a row: the eight-pixel steps and the tail
// of the one pass into the view, on both instruction paths.
TEST(FramePump_Live, EveryPixelReachesTheViewAtX1)
{
    for (bool wide : { true, false }) {
        AllowWideInstructions(wide);
        for (int width : { 1, 11, 12, 43 }) {
            const int height = 3;
            FakeCamera camera(width, height);
            CFramePump pump;
            pump.SetSource(&camera);
            pump.SetState(LiveState(width, height));
            const auto colour = [](int x, int row) {
                return QColor(x * 5 % 256, row * 70, (x * 13 + 7) % 256);
            };
            camera.Paint([&](int x, int row) { return colour(x, row); });
            pump.RunIteration();
            pump.PaintView([&](const QImage& view) {
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x)
                        ASSERT_EQ(view.pixelColor(x, y), colour(x, height - 1 - y))
                                << "wide " << wide << " width " << width << " at " << x << "," << y;
            });
        }
    }
    AllowWideInstructions(true);
}

TEST(FramePump_Live, StillModeStopsCopiesWithinOneIteration)
{
    FakeCamera camera(320, 240);
    CFramePump pump;
    pump.SetSource(&camera);
    CPumpState state = LiveState(320, 240);
    pump.SetState(state);
    pump.Restart();
    ASSERT_TRUE(WaitForFrames(pump, 2));
    state.still = true;
    pump.SetState(state);
    // An iteration already under way may finish; none starts after it.
    QTest::qWait(300);
    const int copies = camera.copies;
    QTest::qWait(100);
    EXPECT_EQ(camera.copies, copies);
}

TEST(FramePump_Live, OverlaysArePresentedWhilePaused)
{
    FakeCamera camera(320, 240);
    std::atomic<int> overlays { 0 };
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetOverlayPainter([&](QPainter& painter, const CPumpState&) {
        painter.fillRect(0, 0, 4, 4, Qt::green);
        ++overlays;
    });
    pump.SetState(LiveState(320, 240));
    pump.Restart();
    ASSERT_TRUE(WaitForFrames(pump, 1));
    camera.SetPaused(true);
    const uint64_t presented = pump.FramesPresented();
    const uint64_t copied = pump.FramesCopied();
    // Each change of the drawing is presented over the last frame.
    for (uint64_t i = 1; i <= 3; ++i) {
        pump.MarkChanged();
        ASSERT_TRUE(WaitForFrames(pump, presented + i));
    }
    EXPECT_LE(pump.FramesCopied(), copied + 1);
    EXPECT_GE(overlays, 3);
    pump.PaintView([](const QImage& view) {
        EXPECT_EQ(view.pixelColor(1, 1), QColor(0, 255, 0));
        EXPECT_EQ(view.pixelColor(100, 10), QColor(255, 0, 0)) << "the last frame stays";
    });
}

TEST(FramePump_Hold, SuspendAndResumeNest)
{
    FakeCamera camera(160, 120);
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetState(LiveState(160, 120));
    pump.Restart();
    ASSERT_TRUE(WaitForFrames(pump, 1));
    pump.SuspendPump();
    pump.SuspendPump();
    pump.ResumePump();
    const uint64_t held = pump.FramesPresented();
    QTest::qWait(80);
    EXPECT_EQ(pump.FramesPresented(), held) << "one resume does not undo two suspends";
    pump.ResumePump();
    EXPECT_TRUE(WaitForFrames(pump, held + 2));
}

TEST(FramePump_Hold, PumpMadeInStillModeWaitsForTheNextRestart)
{
    FakeCamera camera(160, 120);
    CFramePump pump;
    pump.SetSource(&camera);
    CPumpState state = LiveState(160, 120);
    state.still = true;
    pump.SetState(state);
    pump.Restart();
    state.still = false;
    pump.SetState(state);
    pump.ResumePump();
    QTest::qWait(60);
    EXPECT_EQ(pump.FramesPresented(), 0u);
    pump.Restart();
    EXPECT_TRUE(WaitForFrames(pump, 1));
}

TEST(FramePump_Live, DirectDrawingFitsTheFrameTopLeft)
{
    FakeCamera camera(640, 480);
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetDirectDrawing(true);
    CPumpState state = LiveState(640, 480);
    state.displayScale = 0;
    state.viewWidth = state.parentWidth = 800;
    state.viewHeight = state.parentHeight = 500;
    pump.SetState(state);
    pump.Restart();
    ASSERT_TRUE(WaitForFrames(pump, 1));
    pump.PaintView([](const QImage& view) {
        EXPECT_EQ(view.pixelColor(660, 10), QColor(255, 0, 0));
        EXPECT_EQ(view.pixelColor(670, 10), QColor(0, 0, 0)) << "666 pixels wide";
        EXPECT_EQ(view.pixelColor(10, 495), QColor(0, 0, 255));
    });
}

// Runs under ThreadSanitizer: the user-interface side changes sizes, holds and restarts
// while frames are pumped and the camera changes size.
TEST(FramePump_Threads, StateChangesWhilePumping)
{
    FakeCamera camera(320, 240);
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetOverlayPainter([](QPainter& painter, const CPumpState& s) {
        painter.drawLine(0, 0, s.viewWidth, s.viewHeight);
    });
    pump.SetState(LiveState(320, 240));
    pump.Restart();
    for (int i = 0; i < 60; ++i) {
        CPumpState state = LiveState(i % 2 ? 320 : 400, 240);
        state.displayScale = i % 4;
        state.originX = -(i % 7);
        state.filters.binarize = i % 3 == 0;
        pump.SetState(state);
        if (i % 10 == 0)
            camera.Resize(i % 20 ? 400 : 320, 240);
        if (i % 5 == 0) {
            pump.SuspendPump();
            pump.ResumePump();
        }
        if (i % 15 == 0)
            pump.Restart();
        pump.PaintView([](const QImage& view) { (void)view.constBits(); });
        QTest::qWait(2);
    }
    pump.Stop();
    EXPECT_FALSE(pump.IsRunning());
}

TEST(FramePump_Idle, EachCameraFrameIsPresentedOnce)
{
    SequencedCamera camera(320, 240);
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetState(LiveState(320, 240));
    camera.NextFrame();
    for (int i = 0; i < 5; ++i)
        pump.RunIteration();
    EXPECT_EQ(pump.FramesPresented(), 1u);
    EXPECT_EQ(camera.copies, 1);
    camera.NextFrame();
    pump.RunIteration();
    pump.RunIteration();
    EXPECT_EQ(pump.FramesPresented(), 2u);
    EXPECT_EQ(pump.CameraFramesPresented(), 2u);

    // A frame that lands between the check and the copy is the one copied: not copied again.
    camera.arriveDuringCopy = true;
    camera.NextFrame();
    pump.RunIteration();
    camera.arriveDuringCopy = false;
    pump.RunIteration();
    EXPECT_EQ(camera.copies, 3);
    EXPECT_EQ(pump.FramesPresented(), 3u);

    // A paused camera keeps its last number: nothing to copy, nothing to present.
    camera.SetPaused(true);
    for (int i = 0; i < 3; ++i)
        pump.RunIteration();
    EXPECT_EQ(pump.FramesPresented(), 3u);
    // A refused copy of a new frame is tried again, and shows nothing new meanwhile.
    camera.NextFrame();
    pump.RunIteration();
    EXPECT_EQ(pump.FramesPresented(), 3u);
    camera.SetPaused(false);
    pump.RunIteration();
    EXPECT_EQ(pump.FramesPresented(), 4u);
    EXPECT_EQ(camera.copies, 4);
}

TEST(FramePump_Idle, DrawingViewAndModeChangesAreRedrawnWithoutANewFrame)
{
    SequencedCamera camera(320, 240);
    std::atomic<uint64_t> drawing { 0 };
    std::atomic<bool> marked { false };
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetChangeProbe([&] { return drawing.load(); });
    pump.SetOverlayPainter([&](QPainter& painter, const CPumpState&) {
        painter.fillRect(0, 0, 4, 4, marked ? Qt::green : Qt::black);
    });
    CPumpState state = LiveState(320, 240);
    pump.SetState(state);
    camera.NextFrame();
    pump.RunIteration();
    pump.RunIteration();
    ASSERT_EQ(pump.FramesPresented(), 1u);

    marked = true;
    ++drawing;
    pump.RunIteration();
    pump.RunIteration();
    EXPECT_EQ(pump.FramesPresented(), 2u) << "a drawing change is shown once";
    pump.PaintView([](const QImage& view) {
        EXPECT_EQ(view.pixelColor(1, 1), QColor(0, 255, 0));
        EXPECT_EQ(view.pixelColor(100, 10), QColor(255, 0, 0)) << "over the same frame";
    });
    EXPECT_EQ(camera.copies, 1) << "the frame is not copied again for it";

    pump.SetState(state);
    pump.RunIteration();
    EXPECT_EQ(pump.FramesPresented(), 2u) << "the same state handed over again is no change";
    state.originX = -10;
    pump.SetState(state);
    pump.RunIteration();
    EXPECT_EQ(pump.FramesPresented(), 3u);
    pump.MarkChanged();
    pump.RunIteration();
    pump.RunIteration();
    EXPECT_EQ(pump.FramesPresented(), 4u);
    EXPECT_EQ(pump.CameraFramesPresented(), 1u);
}

TEST(FramePump_Idle, LatencyRunsFromArrivalToTheFirstPaint)
{
    SequencedCamera camera(160, 120);
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetState(LiveState(160, 120));
    camera.NextFrame(NowNs() - 5'000'000);
    pump.RunIteration();
    EXPECT_EQ(pump.Latency().frames, 0u) << "not painted yet";
    pump.PaintView([](const QImage&) {});
    pump.PaintView([](const QImage&) {});
    CPumpLatency latency = pump.Latency();
    EXPECT_EQ(latency.frames, 1u) << "a view painted twice is one presentation";
    EXPECT_GE(latency.meanMs, 5.0);
    EXPECT_GE(latency.maxMs, latency.meanMs);
    // A redraw for a change brings no camera frame.
    pump.MarkChanged();
    pump.RunIteration();
    pump.PaintView([](const QImage&) {});
    EXPECT_EQ(pump.Latency().frames, 1u);
    pump.ResetLatency();
    EXPECT_EQ(pump.Latency().frames, 0u);
}

// The worker on its own pacing: frames arriving now and then are each presented once, and an
// idle view presents nothing.
TEST(FramePump_Idle, RunningPumpIdlesBetweenFrames)
{
    SequencedCamera camera(160, 120);
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetState(LiveState(160, 120));
    camera.NextFrame();
    pump.Restart();
    ASSERT_TRUE(WaitForFrames(pump, 1));
    for (int i = 0; i < 5; ++i) {
        QTest::qWait(40);
        camera.NextFrame();
    }
    QTest::qWait(150);
    const uint64_t presented = pump.FramesPresented();
    EXPECT_LE(presented, 6u);
    EXPECT_EQ(pump.CameraFramesPresented(), presented);
    QTest::qWait(150);
    EXPECT_EQ(pump.FramesPresented(), presented) << "nothing new, nothing presented";
    // A restart shows the held frame again: the new worker starts from an empty buffer.
    pump.Restart();
    EXPECT_TRUE(WaitForFrames(pump, presented + 1));
}

// With a source that tells of its frames the worker sleeps until one comes or something changes:
// it looks at the camera once per frame, not at a pace.
TEST(FramePump_Wake, ATellingSourceIsLookedAtOncePerFrame)
{
    TellingCamera camera(160, 120);
    std::atomic<uint64_t> drawing { 0 };
    CFramePump pump;
    pump.SetSource(&camera);
    ASSERT_TRUE(camera.Watched());
    pump.SetChangeProbe([&] { return drawing.load(); });
    pump.SetState(LiveState(160, 120));
    pump.Restart();
    camera.Arrive();
    ASSERT_TRUE(WaitForFrames(pump, 1));
    QTest::qWait(30);
    const int looks = camera.looks;
    QTest::qWait(200);
    EXPECT_EQ(camera.looks, looks) << "an idle view is not looked at; the pace would be 20 times";

    for (uint64_t i = 2; i <= 6; ++i) {
        camera.Arrive();
        // Far below any pace the pump had: it answers the frame, not a timer.
        ASSERT_TRUE(WaitForFrames(pump, i));
    }
    EXPECT_EQ(pump.CameraFramesPresented(), 6u);
    EXPECT_LE(camera.looks - looks, 10) << "about one look per frame";

    // A drawing change comes with a wake-up of its own.
    ++drawing;
    pump.Wake();
    ASSERT_TRUE(WaitForFrames(pump, 7));
    EXPECT_EQ(pump.CameraFramesPresented(), 6u);
    // So does a new state, and nothing while still.
    CPumpState still = LiveState(160, 120);
    still.still = true;
    pump.SetState(still);
    QTest::qWait(30);
    const int stillLooks = camera.looks;
    camera.Arrive();
    QTest::qWait(100);
    EXPECT_EQ(pump.FramesPresented(), 7u);
    EXPECT_EQ(camera.looks, stillLooks);
    pump.SetState(LiveState(160, 120));
    EXPECT_TRUE(WaitForFrames(pump, 8)) << "back to live shows the frame that came meanwhile";
}

TEST(FramePump_Wake, ASuspendedPumpLooksAgainWhenResumed)
{
    TellingCamera camera(160, 120);
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetState(LiveState(160, 120));
    pump.Restart();
    camera.Arrive();
    ASSERT_TRUE(WaitForFrames(pump, 1));
    pump.SuspendPump();
    camera.Arrive();
    QTest::qWait(50);
    EXPECT_EQ(pump.FramesPresented(), 1u);
    const uint64_t wakeUps = pump.WakeUps();
    pump.ResumePump();
    EXPECT_GT(pump.WakeUps(), wakeUps);
    EXPECT_TRUE(WaitForFrames(pump, 2)) << "the frame that came while held is not lost";
}

// A source that cannot tell is still looked at on the pace, so its frames are not missed.
TEST(FramePump_Wake, ASilentSourceKeepsThePace)
{
    SequencedCamera camera(160, 120);
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetState(LiveState(160, 120));
    pump.Restart();
    camera.NextFrame();
    ASSERT_TRUE(WaitForFrames(pump, 1));
    camera.NextFrame();
    EXPECT_TRUE(WaitForFrames(pump, 2));
}

TEST(FramePump_Wake, TheListenerGoesWithTheSourceAndThePump)
{
    TellingCamera first(160, 120);
    TellingCamera second(160, 120);
    {
        CFramePump pump;
        pump.SetSource(&first);
        pump.SetSource(&first);
        EXPECT_EQ(first.unwatched, 0) << "the same source keeps its listener";
        pump.SetSource(&second);
        EXPECT_FALSE(first.Watched());
        EXPECT_TRUE(second.Watched());
        first.Arrive(); // nobody listens: nothing happens
    }
    EXPECT_FALSE(second.Watched()) << "a pump that goes leaves no listener behind";
}

namespace {

// A camera that also lends its frame top-down, red over blue, in 3 or 4 bytes a pixel (the
// fourth byte left 0, as a BGRx producer may), with a padded stride.
class LendingCamera : public SequencedCamera
{
public:
    LendingCamera(int width, int height, int bytesPerPixel)
        : SequencedCamera(width, height), m_width(width), m_height(height), m_bpp(bytesPerPixel)
    {
        m_stride = width * bytesPerPixel + 8;
        m_rows.assign(static_cast<size_t>(m_stride * height), 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                m_rows[y * m_stride + x * bytesPerPixel + (y < height / 2 ? 2 : 0)] = 255;
    }
    bool HoldNewest(TavoHeldFrame& frame) override
    {
        if (!lends)
            return false;
        ++holds;
        frame = { m_rows.data(), m_stride, m_width, m_height, m_bpp, NewestSequence().value_or(0),
            1, std::make_shared<int>(0) };
        return true;
    }

    std::atomic<bool> lends { true };
    std::atomic<int> holds { 0 };

private:
    int m_width;
    int m_height;
    int m_bpp;
    int m_stride = 0;
    std::vector<uint8_t> m_rows;
};

// Two slots of plain memory; counts what it is asked to show.
class FakePresenter : public IViewPresenter
{
public:
    QImage View(int slot, QSize size) override
    {
        QImage& image = memory[slot];
        if (image.size() != size)
            image = QImage(size, QImage::Format_RGB32);
        return QImage(image.bits(), size.width(), size.height(), image.bytesPerLine(),
                QImage::Format_RGB32);
    }
    bool Present(int slot) override
    {
        shown.push_back(slot);
        return shows;
    }

    QImage memory[2];
    std::vector<int> shown;
    std::atomic<bool> shows { true };
};

void ExpectRedOverBlue(const QImage& view)
{
    EXPECT_EQ(view.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(view.pixel(view.width() - 1, view.height() - 1), qRgb(0, 0, 255));
}

} // namespace

// Without a tap that wants frames and without filters the view is made from the frame the
// source lends: no copy, every pixel opaque, in both layouts; a redraw of the drawing alone
// uses the lent frame even once the source lends no more.
TEST(FramePump_Lent, ViewIsMadeFromTheLentFrameUntilATapOrAFilterWantsACopy)
{
    for (int bpp : { 3, 4 }) {
        SCOPED_TRACE(bpp);
        LendingCamera camera(61, 40, bpp);
        CFramePump pump;
        int tapped = 0;
        std::atomic<bool> wanted { false };
        pump.SetFrameTap([&](const uint8_t*, int, int, const CPumpState&) { ++tapped; },
                [&] { return wanted.load(); });
        pump.SetSource(&camera);
        CPumpState state = LiveState(61, 40);
        pump.SetState(state);
        camera.NextFrame();
        pump.RunIteration();
        EXPECT_EQ(camera.copies, 0);
        EXPECT_EQ(pump.FramesLent(), 1u);
        EXPECT_EQ(tapped, 0);
        pump.PaintView(ExpectRedOverBlue);

        camera.lends = false;
        pump.MarkChanged();
        pump.RunIteration();
        pump.PaintView(ExpectRedOverBlue);

        // A tap that wants the frame gets the copy; so do the filters.
        camera.lends = true;
        wanted = true;
        camera.NextFrame();
        pump.RunIteration();
        EXPECT_EQ(tapped, 1);
        EXPECT_EQ(camera.copies, 1);
        wanted = false;
        state.filters.binarize = true;
        pump.SetState(state);
        camera.NextFrame();
        pump.RunIteration();
        EXPECT_EQ(camera.copies, 2);
        EXPECT_EQ(pump.FramesLent(), 1u);
        EXPECT_EQ(pump.FramesCopied(), 3u);
    }
}

// With a presenter the views are made in its two slots in turn and shown by it, the canvas is
// not told, and the latency is taken at the showing. Where it cannot show, the canvas is told.
TEST(FramePump_Presenter, ViewsAreMadeInItsSlotsInTurnAndShownByIt)
{
    LendingCamera camera(64, 48, 4);
    auto owned = std::make_unique<FakePresenter>();
    FakePresenter& presenter = *owned;
    CFramePump pump;
    int notified = 0;
    pump.SetPresentNotifier([&] { ++notified; });
    pump.SetPresenter(std::move(owned));
    pump.SetSource(&camera);
    pump.SetState(LiveState(64, 48));
    camera.NextFrame(NowNs() - 3'000'000);
    pump.RunIteration();
    ExpectRedOverBlue(presenter.memory[0]);
    camera.NextFrame(NowNs());
    pump.RunIteration();
    ExpectRedOverBlue(presenter.memory[1]);
    EXPECT_EQ(presenter.shown, (std::vector<int> { 0, 1 }));
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(pump.Latency().frames, 2u) << "shown counts as painted";
    EXPECT_GE(pump.Latency().maxMs, 3.0);
    pump.PaintView([&](const QImage& view) {
        EXPECT_EQ(view.constBits(), presenter.memory[1].constBits());
    });
    EXPECT_EQ(pump.Latency().frames, 2u);

    // Shown again after Qt painted over it: the same slot, nothing composed.
    pump.Represent();
    pump.RunIteration();
    EXPECT_EQ(presenter.shown.back(), 1);
    EXPECT_EQ(pump.FramesPresented(), 2u);

    presenter.shows = false;
    camera.NextFrame();
    pump.RunIteration();
    EXPECT_EQ(presenter.shown.back(), 0);
    EXPECT_EQ(notified, 1);
}

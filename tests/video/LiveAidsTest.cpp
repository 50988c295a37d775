#include "base/FrameLayout.h"
#include "video/FramePump.h"
#include "video/FrameSource.h"
#include "video/LiveAids.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// A camera with a numbered frame: a new number is a new frame.
class SequencedCamera : public IFrameSource
{
public:
    SequencedCamera(int width, int height)
        : width(width), height(height), frame(FrameBytes(width, height), 0)
    {
    }
    int32_t GetCaptureSize(int& w, int& h) override
    {
        w = width;
        h = height;
        return 0;
    }
    int32_t CaptureToBuf(int32_t* size, uint8_t* buffer) override
    {
        if (!buffer) {
            *size = static_cast<int32_t>(frame.size());
            return 0;
        }
        std::memcpy(buffer, frame.data(), frame.size());
        return 0;
    }
    std::optional<uint64_t> NewestSequence() override { return sequence; }
    int32_t CaptureStamped(int32_t* size, uint8_t* buffer, CFrameStamp& stamp) override
    {
        stamp.sequence = sequence;
        return CaptureToBuf(size, buffer);
    }
    // Picture row y (top-down) is frame row height - 1 - y.
    void Grey(int x, int y, uint8_t v)
    {
        uint8_t* p = frame.data() + static_cast<std::size_t>(FrameStride(width)) * (height - 1 - y)
                + x * 3;
        p[0] = p[1] = p[2] = v;
    }

    int width;
    int height;
    std::vector<uint8_t> frame;
    uint64_t sequence = 1;
};

CPumpState StateFor(int w, int h)
{
    CPumpState state;
    state.captureWidth = state.displayWidth = state.viewWidth = state.parentWidth = w;
    state.captureHeight = state.displayHeight = state.viewHeight = state.parentHeight = h;
    return state;
}

int CountColour(CFramePump& pump, QRgb colour)
{
    int count = 0;
    pump.PaintView([&](const QImage& view) {
        for (int y = 0; y < view.height(); ++y)
            for (int x = 0; x < view.width(); ++x)
                count += view.pixel(x, y) == colour;
    });
    return count;
}

// Left half black, right half white: one sharp edge down the middle.
SequencedCamera EdgeCamera()
{
    SequencedCamera camera(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 20; x < 40; ++x)
            camera.Grey(x, y, 255);
    return camera;
}

} // namespace

TEST(LiveAidsTest, PeakingMarksTheLiveViewOnlyWhileOnAndRedrawsAtTheToggle)
{
    SequencedCamera camera = EdgeCamera();
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetState(StateFor(40, 30));
    CLiveAids aids;
    aids.Attach(pump);
    aids.SetPeakColour(0x00FF00);
    const QRgb mark = qRgb(0, 255, 0);

    pump.RunIteration();
    EXPECT_EQ(CountColour(pump, mark), 0);
    const uint64_t presented = pump.FramesPresented();
    aids.SetPeaking(true); // no new camera frame: the toggle alone brings a new view
    pump.RunIteration();
    EXPECT_EQ(pump.FramesPresented(), presented + 1);
    EXPECT_EQ(CountColour(pump, mark), 2 * 28); // both sides of the edge, border rows aside
    pump.RunIteration(); // nothing new: the view is not made again
    EXPECT_EQ(pump.FramesPresented(), presented + 1);
    aids.SetPeaking(false);
    pump.RunIteration();
    EXPECT_EQ(CountColour(pump, mark), 0);
}

TEST(LiveAidsTest, FirstPeakingViewMarksOnlyEdgesAboveTheFloor)
{
    // A soft step of 10 grey levels a pixel: edges of 40 x 4 / 4 = 40, under the floor.
    SequencedCamera camera(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            camera.Grey(x, y, static_cast<uint8_t>(x * 5));
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetState(StateFor(40, 30));
    CLiveAids aids;
    aids.Attach(pump);
    aids.SetPeakColour(0x00FF00);
    aids.SetPeaking(true);
    pump.RunIteration();
    EXPECT_EQ(CountColour(pump, qRgb(0, 255, 0)), 0);
}

TEST(LiveAidsTest, FrameTapSeesEachNewFrameOnceAndIdleCostsNothing)
{
    SequencedCamera camera = EdgeCamera();
    CFramePump pump;
    pump.SetSource(&camera);
    pump.SetState(StateFor(40, 30));
    int taps = 0;
    pump.SetFrameTap([&](const uint8_t* frame, int w, int h, const CPumpState&) {
        EXPECT_NE(frame, nullptr);
        EXPECT_EQ(w, 40);
        EXPECT_EQ(h, 30);
        ++taps;
    });
    pump.RunIteration();
    pump.RunIteration();
    pump.MarkChanged(); // a new view, but no new frame
    pump.RunIteration();
    EXPECT_EQ(taps, 1);
    camera.sequence = 2;
    pump.RunIteration();
    EXPECT_EQ(taps, 2);
}

TEST(LiveAidsTest, ReadingsComeAFewTimesASecondAndKeepTheRecentMaximum)
{
    int64_t now = 0;
    CLiveAids aids([&] { return now; });
    SequencedCamera camera(64, 48);
    std::mt19937 random(3);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            camera.Grey(x, y, static_cast<uint8_t>(random() % 256));
    const CPumpState state = StateFor(64, 48);

    aids.OnFrame(camera.frame.data(), 64, 48, state);
    EXPECT_EQ(aids.Readings().serial, 0u); // everything off: nothing measured
    EXPECT_FALSE(aids.WantsFrame()) << "the pump need not copy frames for nobody";
    aids.SetMeter(true);
    EXPECT_TRUE(aids.WantsFrame());
    aids.OnFrame(camera.frame.data(), 64, 48, state);
    const CLiveReadings sharp = aids.Readings();
    EXPECT_EQ(sharp.serial, 1u);
    EXPECT_GT(sharp.sharpness, 0.0);
    EXPECT_DOUBLE_EQ(sharp.recentMax, sharp.sharpness);
    EXPECT_FALSE(sharp.hasHistogram);

    now = 100; // too soon for another reading
    EXPECT_FALSE(aids.WantsFrame());
    aids.OnFrame(camera.frame.data(), 64, 48, state);
    EXPECT_EQ(aids.Readings().serial, 1u);
    now = CLiveAids::kReadingIntervalMs;
    EXPECT_TRUE(aids.WantsFrame()) << "a reading is due again";

    // Out of focus: the number drops, the recent maximum stays for a while.
    SequencedCamera flat(64, 48);
    now = 3000;
    aids.OnFrame(flat.frame.data(), 64, 48, state);
    EXPECT_DOUBLE_EQ(aids.Readings().sharpness, 0.0);
    EXPECT_DOUBLE_EQ(aids.Readings().recentMax, sharp.sharpness);
    now = 3000 + CLiveAids::kRecentMaxMs;
    aids.OnFrame(flat.frame.data(), 64, 48, state);
    EXPECT_DOUBLE_EQ(aids.Readings().recentMax, 0.0);
}

TEST(LiveAidsTest, MeterLooksAtTheVisiblePartWhenZoomed)
{
    int64_t now = 0;
    CLiveAids aids([&] { return now; });
    aids.SetMeter(true);
    // Texture only in the left half of a 200 x 100 frame.
    SequencedCamera camera(200, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            camera.Grey(x, y, static_cast<uint8_t>((x / 2 + y / 2) % 2 ? 250 : 0));
    CPumpState state = StateFor(200, 100);
    state.displayScale = 1;
    state.viewWidth = 80; // the window shows 80 x 100 from x = 110
    state.originX = -110;
    aids.OnFrame(camera.frame.data(), 200, 100, state);
    EXPECT_DOUBLE_EQ(aids.Readings().sharpness, 0.0);
    state.originX = 0;
    now += CLiveAids::kReadingIntervalMs;
    aids.OnFrame(camera.frame.data(), 200, 100, state);
    EXPECT_GT(aids.Readings().sharpness, 1000.0);
}

TEST(LiveAidsTest, HistogramCountsAllOfASmallFrameAndAGridOfALargeOne)
{
    int64_t now = 0;
    CLiveAids aids([&] { return now; });
    aids.SetHistogram(true);
    SequencedCamera small(100, 50);
    aids.OnFrame(small.frame.data(), 100, 50, StateFor(100, 50));
    CLiveReadings readings = aids.Readings();
    ASSERT_TRUE(readings.hasHistogram);
    EXPECT_EQ(readings.histogram.Pixels(), 5000u);
    EXPECT_DOUBLE_EQ(readings.histogram.DarkClippedShare(CLiveHistogram::Luminance), 1.0);

    SequencedCamera large(1200, 1000);
    now += CLiveAids::kReadingIntervalMs;
    aids.OnFrame(large.frame.data(), 1200, 1000, StateFor(1200, 1000));
    // Every third pixel of every third row: the finest grid within the sample budget.
    EXPECT_EQ(aids.Readings().histogram.Pixels(), 400u * 334u);
    EXPECT_LE(aids.Readings().histogram.Pixels(), uint32_t(CLiveAids::kHistogramSamples));
}

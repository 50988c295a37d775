#include "FakeCamera.h"

#include "capture/TavoGraphDll.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A graph on pattern cameras; error boxes are recorded instead of shown.
class CaptureGraphTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_source = std::make_shared<CFakeDeviceSource>();
        m_graph.SetDeviceSource(m_source);
        m_graph.SetErrorSink(
                [this](const QString&, const QString& text) { m_errors.append(text); });
        ASSERT_EQ(m_graph.InitGraph(), TavoStatus::Ok);
    }

    void Open(const QString& pattern, int width, int height)
    {
        const QString bgr = QStringLiteral("BGR");
        m_source->devices = { CFakeDeviceSource::Pattern(QStringLiteral("Pattern"), pattern,
                { { 640, 480, bgr }, { 642, 480, bgr }, { width, height, bgr } }) };
        ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Pattern")), TavoStatus::Ok);
        m_graph.SetCaptureSize(width, height);
        ASSERT_GE(m_graph.MakeGraph(), 0);
    }

    // The size query once the first frame is in; fails the test after two seconds.
    int32_t WaitForFrame()
    {
        int32_t bytes = 0;
        for (int i = 0; i < 400; ++i) {
            if (m_graph.CaptureToBuf(&bytes, nullptr) == TavoStatus::Ok)
                return bytes;
            std::this_thread::sleep_for(5ms);
        }
        ADD_FAILURE() << "no frame arrived";
        return 0;
    }

    std::shared_ptr<CFakeDeviceSource> m_source;
    CTavoGraphDll m_graph;
    QStringList m_errors;
};

const uint8_t* Pixel(const std::vector<uint8_t>& frame, int stride, int x, int row)
{
    return frame.data() + static_cast<size_t>(row) * stride + x * 3;
}

} // namespace

TEST_F(CaptureGraphTest, CaptureToBuf_BeforeFirstFrameFailsAndLeavesBufferAlone)
{
    Open(QStringLiteral("red num-buffers=0"), 640, 480);
    std::vector<uint8_t> buffer(640 * 3 * 480, 0xAB);
    int32_t bytes = static_cast<int32_t>(buffer.size());
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(m_graph.CaptureToBuf(&bytes, buffer.data()), TavoStatus::WrongState);
    EXPECT_EQ(m_graph.CaptureToBuf(&bytes, nullptr), TavoStatus::WrongState);
    EXPECT_EQ(bytes, static_cast<int32_t>(buffer.size()));
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0xAB), static_cast<long>(buffer.size()));
}

TEST_F(CaptureGraphTest, CaptureToBuf_OddWidthIsBottomUpAndPadded)
{
    Open(QStringLiteral("smpte"), 642, 480);
    const int stride = 1928;
    ASSERT_EQ(WaitForFrame(), stride * 480);

    std::vector<uint8_t> frame(stride * 480 + 16, 0xAB);
    int32_t bytes = static_cast<int32_t>(frame.size());
    ASSERT_EQ(m_graph.CaptureToBuf(&bytes, frame.data()), TavoStatus::Ok);
    EXPECT_EQ(bytes, stride * 480);
    // The picture's top-left is white and its bottom-left dark blue: the first row in the
    // buffer is the picture's last.
    const uint8_t* bottomLeft = Pixel(frame, stride, 0, 0);
    EXPECT_EQ((std::vector<int> { bottomLeft[0], bottomLeft[1], bottomLeft[2] }),
            (std::vector<int> { 128, 0, 0 }));
    const uint8_t* topLeft = Pixel(frame, stride, 0, 479);
    EXPECT_EQ((std::vector<int> { topLeft[0], topLeft[1], topLeft[2] }),
            (std::vector<int> { 255, 255, 255 }));
    for (int row = 0; row < 480; ++row) {
        ASSERT_EQ(frame[row * stride + 1926], 0) << row;
        ASSERT_EQ(frame[row * stride + 1927], 0) << row;
    }
    EXPECT_EQ(frame[stride * 480], 0xAB); // nothing written past the frame
}

// The frame lent without a copy is the copy's picture, top-down, in the four-byte layout
// the pattern is drawn in, and it stays readable after the graph is gone.
TEST_F(CaptureGraphTest, HeldFrameIsTheCopiedPictureAndOutlivesTheGraph)
{
    Open(QStringLiteral("smpte"), 642, 480);
    const int stride = 1928;
    ASSERT_EQ(WaitForFrame(), stride * 480);
    TavoHeldFrame held;
    ASSERT_EQ(m_graph.HoldNewestFrame(&held), TavoStatus::Ok);
    std::vector<uint8_t> copy(stride * 480);
    int32_t bytes = static_cast<int32_t>(copy.size());
    TavoFrameStamp stamp;
    ASSERT_EQ(m_graph.CaptureToBuf(&bytes, copy.data(), &stamp), TavoStatus::Ok);
    EXPECT_EQ(held.bytesPerPixel, 4);
    ASSERT_EQ(held.width, 642);
    ASSERT_EQ(held.height, 480);
    EXPECT_LE(held.sequence, stamp.sequence);
    m_graph.TearDownGraph();
    EXPECT_EQ(m_graph.HoldNewestFrame(&held), TavoStatus::Pointer) << "the held one is kept";
    ASSERT_TRUE(held.keep);
    // The pattern stands still: every pixel of the held frame is the copy's, rows flipped.
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 642; x += 5)
            ASSERT_EQ(0,
                    std::memcmp(
                            held.top + y * held.stride + x * 4, Pixel(copy, stride, x, 479 - y), 3))
                    << x << "," << y;
    EXPECT_EQ(m_graph.HoldNewestFrame(nullptr), TavoStatus::Pointer);
}

TEST_F(CaptureGraphTest, CaptureToBuf_SolidColourEverywhere)
{
    Open(QStringLiteral("red"), 642, 480);
    const int stride = 1928;
    ASSERT_EQ(WaitForFrame(), stride * 480);
    std::vector<uint8_t> frame(stride * 480);
    int32_t bytes = static_cast<int32_t>(frame.size());
    ASSERT_EQ(m_graph.CaptureToBuf(&bytes, frame.data()), TavoStatus::Ok);
    for (int row : { 0, 1, 240, 479 })
        for (int x : { 0, 1, 320, 641 }) {
            const uint8_t* p = Pixel(frame, stride, x, row);
            EXPECT_EQ(p[0], 0) << x << "," << row;
            EXPECT_EQ(p[1], 0) << x << "," << row;
            EXPECT_EQ(p[2], 255) << x << "," << row;
        }
    // A buffer one byte short is refused.
    bytes = stride * 480 - 1;
    EXPECT_EQ(m_graph.CaptureToBuf(&bytes, frame.data()), TavoStatus::OutOfMemory);
}

TEST_F(CaptureGraphTest, CaptureToBuf_PausedOrStoppedRefusesCopyButAnswersSize)
{
    Open(QStringLiteral("red"), 640, 480);
    const int32_t size = WaitForFrame();
    ASSERT_EQ(size, 640 * 3 * 480);
    std::vector<uint8_t> buffer(size, 0xAB);

    for (bool stop : { false, true }) {
        EXPECT_GE(stop ? m_graph.Stop() : m_graph.Pause(), 0);
        int32_t bytes = size;
        EXPECT_EQ(m_graph.CaptureToBuf(&bytes, buffer.data()), TavoStatus::AccessDenied);
        EXPECT_EQ(buffer[0], 0xAB);
        bytes = 0;
        EXPECT_EQ(m_graph.CaptureToBuf(&bytes, nullptr), TavoStatus::Ok);
        EXPECT_EQ(bytes, size);
    }
    EXPECT_GE(m_graph.Run(), 0);
    int32_t bytes = size;
    EXPECT_EQ(m_graph.CaptureToBuf(&bytes, buffer.data()), TavoStatus::Ok);
    EXPECT_EQ(buffer[2], 255);
}

TEST_F(CaptureGraphTest, CaptureToBuf_AfterTearDownHasNoGrabber)
{
    Open(QStringLiteral("red"), 640, 480);
    WaitForFrame();
    EXPECT_EQ(m_graph.TearDownGraph(), TavoStatus::Ok);
    std::vector<uint8_t> buffer(640 * 3 * 480);
    int32_t bytes = static_cast<int32_t>(buffer.size());
    EXPECT_EQ(m_graph.CaptureToBuf(&bytes, buffer.data()), TavoStatus::Pointer);
    EXPECT_EQ(m_graph.CaptureToBuf(&bytes, nullptr), TavoStatus::Pointer);
    EXPECT_EQ(m_graph.CaptureOneFrame(QStringLiteral("/tmp/never.bmp")), TavoStatus::Pointer);
    // The camera stays selected.
    EXPECT_TRUE(m_graph.HasCamera());
    QString name;
    m_graph.GetCurCapDeviceName(name);
    EXPECT_EQ(name, QStringLiteral("Pattern"));
}

TEST_F(CaptureGraphTest, MakeTearDownMakeAgainAndChangeSize)
{
    Open(QStringLiteral("red"), 640, 480);
    EXPECT_EQ(WaitForFrame(), 640 * 3 * 480);
    m_graph.Stop();
    m_graph.TearDownGraph();
    EXPECT_GE(m_graph.MakeGraph(), 0);
    EXPECT_EQ(WaitForFrame(), 640 * 3 * 480);

    EXPECT_GE(m_graph.ChangeVideoSize(642, 480), 0);
    EXPECT_EQ(WaitForFrame(), 1928 * 480);
    int w = 0;
    int h = 0;
    m_graph.GetCaptureSize(w, h);
    EXPECT_EQ(w, 642);
    EXPECT_EQ(h, 480);
    int32_t frames = -1;
    EXPECT_EQ(m_graph.GetNumNotDropped(&frames), TavoStatus::Ok);
    EXPECT_GT(frames, 0);
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join(QLatin1Char('\n')).toStdString();
}

TEST_F(CaptureGraphTest, UnofferedSizeRunsAtTheCameraFormatAndSizeQueryTellsIt)
{
    Open(QStringLiteral("red"), 640, 480);
    m_graph.TearDownGraph();
    m_graph.SetCaptureSize(1024, 768);
    EXPECT_GE(m_graph.MakeGraph(), 0);
    EXPECT_EQ(WaitForFrame(), 640 * 3 * 480);
    int w = 0;
    int h = 0;
    m_graph.GetCaptureSize(w, h);
    EXPECT_EQ(w, 1024);
}

TEST_F(CaptureGraphTest, CaptureOneFrame_WritesBmpWithPixelsAt58)
{
    Open(QStringLiteral("red"), 640, 480);
    WaitForFrame();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("frame.bmp"));
    ASSERT_EQ(m_graph.CaptureOneFrame(path), TavoStatus::Ok);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    ASSERT_EQ(data.size(), 921658);
    const auto* b = reinterpret_cast<const uint8_t*>(data.constData());
    EXPECT_EQ(data.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<uint32_t>(b + 2), 921658u);
    EXPECT_EQ(qFromLittleEndian<uint32_t>(b + 10), 58u);
    EXPECT_EQ(qFromLittleEndian<uint32_t>(b + 14), 40u);
    EXPECT_EQ(qFromLittleEndian<int32_t>(b + 18), 640);
    EXPECT_EQ(qFromLittleEndian<int32_t>(b + 22), 480);
    EXPECT_EQ(qFromLittleEndian<uint16_t>(b + 28), 24);
    EXPECT_EQ(qFromLittleEndian<uint32_t>(b + 54), 0u); // the empty colour-table entry
    EXPECT_EQ((std::vector<int> { b[58], b[59], b[60] }), (std::vector<int> { 0, 0, 255 }));

    // Also paused: the grabber still holds the frame.
    m_graph.Pause();
    EXPECT_EQ(m_graph.CaptureOneFrame(path), TavoStatus::Ok);
    EXPECT_LT(m_graph.CaptureOneFrame(dir.filePath(QStringLiteral("missing/frame.bmp"))), 0);
}

TEST_F(CaptureGraphTest, WithoutCameraNothingRunsAndFixedResultsHold)
{
    m_source->result = CCaptureDeviceSource::EResult::NoDevices;
    EXPECT_EQ(m_graph.ChangeVideoSize(800, 600), TavoStatus::Pointer);
    int w = -1;
    int h = -1;
    m_graph.GetCaptureSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("any")), TavoStatus::Pending);
    EXPECT_FALSE(m_graph.HasCamera());
    EXPECT_EQ(m_graph.MakeGraph(), TavoStatus::Pointer);
    int32_t bytes = 0;
    EXPECT_EQ(m_graph.CaptureToBuf(&bytes, nullptr), TavoStatus::Pointer);
    uint8_t* out = nullptr;
    EXPECT_EQ(m_graph.CaptureToBuf(static_cast<void*>(nullptr), &out), TavoStatus::Pointer);
    EXPECT_EQ(m_graph.MoveVideoWindow(0, 0, 10, 10), TavoStatus::Fail);
    EXPECT_EQ(m_graph.ResizeVideoWindow(10, 10), TavoStatus::Fail);
    EXPECT_EQ(m_graph.ReadyForPaint(), TavoStatus::Fail);
    EXPECT_EQ(m_graph.EndForPaint(), TavoStatus::Fail);
    EXPECT_EQ(m_graph.SetAlphaBitmap(nullptr), TavoStatus::Fail);
    EXPECT_EQ(m_graph.SetAlphaBitmapToVMR(nullptr, QRect()), TavoStatus::Ok);
    EXPECT_EQ(m_graph.RepaintVideoWindow(), nullptr);
    float rate = -1.0f;
    EXPECT_LT(m_graph.GetAvgFrameRate(&rate), 0);
    EXPECT_EQ(rate, -1.0f);
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(CaptureGraphTest, CameraThatCannotOpenLeavesNoPictureAndNoMessage)
{
    m_source->devices = { CFakeDeviceSource::Camera(QStringLiteral("Gone"),
            QStringLiteral("/dev/video-kalvex-missing"),
            { { 640, 480, QStringLiteral("YUY2") }, { 1280, 720, QStringLiteral("MJPG") } }) };
    ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Gone")), TavoStatus::Ok);
    m_graph.SetCaptureSize(1280, 720);
    EXPECT_LT(m_graph.MakeGraph(), 0);
    int32_t bytes = 0;
    EXPECT_LT(m_graph.CaptureToBuf(&bytes, nullptr), 0);
    std::vector<uint8_t> buffer(16);
    bytes = 16;
    EXPECT_LT(m_graph.CaptureToBuf(&bytes, buffer.data()), 0);
    EXPECT_TRUE(m_errors.isEmpty());
    // The same object still serves a working camera afterwards.
    m_graph.TearDownGraph();
    Open(QStringLiteral("red"), 640, 480);
    EXPECT_EQ(WaitForFrame(), 640 * 3 * 480);
}

TEST_F(CaptureGraphTest, FrameRateIsCountedInHundredths)
{
    Open(QStringLiteral("red"), 640, 480);
    WaitForFrame();
    std::this_thread::sleep_for(400ms);
    float rate = 0.0f;
    ASSERT_EQ(m_graph.GetAvgFrameRate(&rate), TavoStatus::Ok);
    EXPECT_GT(rate, 5.0f);
    EXPECT_LT(rate, 40.0f);
    EXPECT_FLOAT_EQ(rate * 100.0f, std::round(rate * 100.0f));
    // Cleared and set up again, the object starts from scratch.
    EXPECT_EQ(m_graph.ClearGraph(), TavoStatus::Ok);
    EXPECT_FALSE(m_graph.HasCamera());
    EXPECT_EQ(m_graph.InitGraph(), TavoStatus::Ok);
    Open(QStringLiteral("red"), 640, 480);
    EXPECT_EQ(WaitForFrame(), 640 * 3 * 480);
}

TEST_F(CaptureGraphTest, FrameStampsGrowAndNameTheFrameCopied)
{
    TavoFrameStamp stamp;
    EXPECT_EQ(m_graph.GetNewestFrameStamp(&stamp), TavoStatus::Pointer) << "no camera yet";
    EXPECT_EQ(m_graph.GetNewestFrameStamp(nullptr), TavoStatus::Pointer);
    Open(QStringLiteral("red framerate=30/1"), 640, 480);
    const int32_t size = WaitForFrame();
    std::vector<uint8_t> buffer(size);

    ASSERT_EQ(m_graph.GetNewestFrameStamp(&stamp), TavoStatus::Ok);
    TavoFrameStamp copied;
    int32_t bytes = size;
    ASSERT_EQ(m_graph.CaptureToBuf(&bytes, buffer.data(), &copied), TavoStatus::Ok);
    EXPECT_GE(copied.sequence, stamp.sequence) << "the copy is of that frame or a newer one";
    EXPECT_GT(copied.arrivalNs, 0);
    EXPECT_EQ(buffer[2], 255) << "the pattern's name still chooses the picture";

    std::this_thread::sleep_for(500ms);
    TavoFrameStamp later;
    ASSERT_EQ(m_graph.GetNewestFrameStamp(&later), TavoStatus::Ok);
    EXPECT_GT(later.sequence, copied.sequence);
    EXPECT_GT(later.arrivalNs, copied.arrivalNs);
    float rate = 0.0f;
    ASSERT_EQ(m_graph.GetAvgFrameRate(&rate), TavoStatus::Ok);
    EXPECT_GT(rate, 20.0f) << "framerate=30/1 of the pattern reaches the caps";

    // Paused, the stamp stays that of the last frame; a rebuilt graph never repeats a number.
    EXPECT_GE(m_graph.Pause(), 0);
    std::this_thread::sleep_for(100ms);
    ASSERT_EQ(m_graph.GetNewestFrameStamp(&stamp), TavoStatus::Ok);
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(m_graph.GetNewestFrameStamp(&later), TavoStatus::Ok);
    EXPECT_EQ(later.sequence, stamp.sequence);
    EXPECT_EQ(m_graph.TearDownGraph(), TavoStatus::Ok);
    EXPECT_EQ(m_graph.GetNewestFrameStamp(&later), TavoStatus::Pointer);
    ASSERT_GE(m_graph.MakeGraph(), 0);
    WaitForFrame();
    ASSERT_EQ(m_graph.GetNewestFrameStamp(&later), TavoStatus::Ok);
    EXPECT_GT(later.sequence, stamp.sequence);
}

// The pump sleeps until a listener tells it of a frame: each frame that becomes the newest is
// told once, after its stamp is readable, across rebuilds, and never after the removal.
TEST_F(CaptureGraphTest, FrameListenersHearEachNewFrameUntilRemoved)
{
    std::mutex mutex;
    std::vector<uint64_t> told; // the newest sequence each call saw
    const int id = m_graph.AddFrameListener([&] {
        TavoFrameStamp stamp;
        m_graph.GetNewestFrameStamp(&stamp);
        const std::lock_guard lock(mutex);
        told.push_back(stamp.sequence);
    });
    std::atomic<int> other { 0 };
    const int otherId = m_graph.AddFrameListener([&] { ++other; });
    EXPECT_NE(id, otherId);
    Open(QStringLiteral("red framerate=30/1"), 160, 120);
    WaitForFrame();
    std::this_thread::sleep_for(300ms);
    {
        const std::lock_guard lock(mutex);
        ASSERT_GE(told.size(), 3u);
        EXPECT_NE(told.front(), 0u) << "the frame is readable when its listener is called";
        for (size_t i = 1; i < told.size(); ++i)
            EXPECT_GT(told[i], told[i - 1]) << "one call per frame";
    }
    EXPECT_GE(other.load(), 3) << "every listener hears every frame";

    ASSERT_GE(m_graph.MakeGraph(), 0);
    const size_t beforeRebuild = [&] {
        const std::lock_guard lock(mutex);
        return told.size();
    }();
    std::this_thread::sleep_for(200ms);
    {
        const std::lock_guard lock(mutex);
        EXPECT_GT(told.size(), beforeRebuild) << "a rebuilt graph keeps its listeners";
    }
    m_graph.RemoveFrameListener(id);
    const size_t atRemoval = [&] {
        const std::lock_guard lock(mutex);
        return told.size();
    }();
    const int otherAtRemoval = other;
    std::this_thread::sleep_for(200ms);
    const std::lock_guard lock(mutex);
    EXPECT_EQ(told.size(), atRemoval);
    EXPECT_GT(other.load(), otherAtRemoval) << "the other listener stays";
    m_graph.RemoveFrameListener(otherId);
}

#include "PictureStack.h"

#include "capture/CaptureDeviceSource.h"
#include "capture/ResolutionList.h"
#include "capture/TavoGraphDll.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The library's own device list with the "Pictures" camera on the stack; error boxes are
// recorded instead of shown.
class PictureCameraTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_graph.SetErrorSink(
                [this](const QString&, const QString& text) { m_errors.append(text); });
        ASSERT_EQ(m_graph.InitGraph(), TavoStatus::Ok);
    }
    void TearDown() override
    {
        m_graph.ClearGraph();
        qunsetenv("KALVEX_CAMERA_FILES");
        qunsetenv("KALVEX_CAMERA_FPS");
    }

    void Open(const QString& files, const char* fps = "25")
    {
        qputenv("KALVEX_CAMERA_FILES", QFile::encodeName(files));
        qputenv("KALVEX_CAMERA_FPS", fps);
        ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Pictures")), TavoStatus::Ok);
        QString name;
        m_graph.GetCurCapDeviceName(name);
        ASSERT_EQ(name, QStringLiteral("Pictures"));
    }

    struct CFrame
    {
        int width = 0;
        int height = 0;
        std::vector<uint8_t> bytes;
        // A pixel counted from the top-left; the rows are stored bottom-up.
        QColor At(int x, int y) const
        {
            const uint8_t* p =
                    bytes.data() + size_t(height - 1 - y) * ((width * 3 + 3) & ~3) + x * 3;
            return QColor(p[2], p[1], p[0]);
        }
    };

    // The next frame not seen yet; an empty one after two seconds without.
    CFrame NextFrame()
    {
        CFrame frame;
        m_graph.GetCaptureSize(frame.width, frame.height);
        int32_t bytes = (frame.width * 3 + 3) / 4 * 4 * frame.height;
        frame.bytes.resize(size_t(bytes));
        for (int i = 0; i < 400; ++i) {
            TavoFrameStamp stamp;
            if (m_graph.CaptureToBuf(&bytes, frame.bytes.data(), &stamp) == TavoStatus::Ok
                    && stamp.sequence != m_lastSequence) {
                m_lastSequence = stamp.sequence;
                frame.bytes.resize(size_t(bytes));
                return frame;
            }
            std::this_thread::sleep_for(5ms);
        }
        return {};
    }

    CTavoGraphDll m_graph;
    QStringList m_errors;
    uint64_t m_lastSequence = 0;
};

bool Near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green())
            + std::abs(a.blue() - b.blue())
            < 60;
}

} // namespace

TEST_F(PictureCameraTest, ListedOnlyWhenNamedWithTheFirstPicturesSizeAndNoControls)
{
    CPictureStack stack;
    stack.Add("a.png", Qt::red, 96, 40);
    stack.Add("b.png", Qt::red, 640, 480);
    const auto listed = [this] {
        const std::vector<QString> names = m_graph.GetVideoDeviceNames();
        return std::count(names.begin(), names.end(), QStringLiteral("Pictures"));
    };
    EXPECT_EQ(listed(), 0);
    Open(stack.Folder(), "12");
    EXPECT_EQ(listed(), 1);
    std::vector<CResolutionEntry> entries;
    m_graph.GetVideoSizeEntries(entries);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Label(), QStringLiteral("96 X 40  BGR 12 fps"));
    QString identity;
    m_graph.GetCurCapDeviceIdentity(identity);
    EXPECT_EQ(identity, QStringLiteral("Pictures|files"));
    EXPECT_EQ(m_graph.CameraControls(), nullptr);
    EXPECT_TRUE(m_graph.CapDeviceProblem(QStringLiteral("Pictures")).isEmpty());
}

TEST_F(PictureCameraTest, PlaysEveryPictureInTurnAtItsRateRoundAndRound)
{
    CPictureStack stack;
    const QList<QColor> colours { Qt::red, Qt::green, Qt::blue, Qt::yellow };
    // Four formats, and the third twice as wide: scaled to the first size, borders above and
    // below.
    stack.Add("s_00.jpg", colours[0], 64, 48);
    stack.Add("s_01.png", colours[1], 64, 48);
    stack.Add("s_02.bmp", colours[2], 128, 48);
    stack.AddTiff("s_03.tif", colours[3], 64, 48);
    Open(stack.Path("s_*"), "25");
    ASSERT_GE(m_graph.MakeGraph(), 0) << m_errors.join('\n').toStdString();
    const auto start = std::chrono::steady_clock::now();
    QList<int> seen;
    for (int i = 0; i < 9; ++i) {
        const CFrame frame = NextFrame();
        ASSERT_EQ(QSize(frame.width, frame.height), QSize(64, 48)) << "frame " << i;
        ASSERT_EQ(frame.bytes.size(), size_t(64 * 3 * 48));
        int which = -1;
        for (int c = 0; c < colours.size(); ++c)
            if (Near(frame.At(32, 24), colours[c]))
                which = c;
        ASSERT_GE(which, 0) << "frame " << i << " is " << frame.At(32, 24).name().toStdString();
        if (which == 2)
            EXPECT_TRUE(Near(frame.At(32, 2), Qt::black)) << frame.At(32, 2).name().toStdString();
        seen.append(which);
    }
    const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // In turn, with none skipped (25 a second is slow enough to see each) and none twice.
    for (int i = 1; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], (seen[i - 1] + 1) % 4) << "frame " << i;
    EXPECT_GT(seconds, 7 / 25.0);
    EXPECT_LT(seconds, 20 / 25.0);
    EXPECT_TRUE(m_errors.isEmpty());
    EXPECT_FALSE(m_graph.IsDeviceLost());
}

TEST_F(PictureCameraTest, NothingToPlayIsToldWhenTheCameraStarts)
{
    CPictureStack stack;
    Open(stack.Path("slice_%02d.jpg"));
    EXPECT_LT(m_graph.MakeGraph(), 0);
    ASSERT_EQ(m_errors.size(), 1);
    EXPECT_TRUE(m_errors[0].contains("Pictures") && m_errors[0].contains("slice_%02d.jpg"))
            << m_errors[0].toStdString();
    EXPECT_TRUE(m_graph.CapDeviceProblem(QStringLiteral("Pictures")).contains("slice_%02d.jpg"));
    int32_t bytes = 0;
    EXPECT_EQ(m_graph.CaptureToBuf(&bytes, nullptr), TavoStatus::Pointer);

    // A first picture that is no picture: the same, naming it.
    m_errors.clear();
    const QString bad = stack.AddBytes("slice_00.jpg", "this is text");
    EXPECT_LT(m_graph.MakeGraph(), 0);
    ASSERT_EQ(m_errors.size(), 1);
    EXPECT_TRUE(m_errors[0].contains(bad)) << m_errors[0].toStdString();
}

TEST_F(PictureCameraTest, APictureThatBreaksLaterStopsTheStreamNamingIt)
{
    // One taken away while it plays, one broken from the start.
    CPictureStack gone;
    gone.Add("a.png", Qt::red);
    gone.Add("b.png", Qt::green);
    CPictureStack broken;
    broken.Add("a.png", Qt::red);
    broken.AddBytes("b.jpg", QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10) + "cut off");
    for (const CPictureStack* stack : { &gone, &broken }) {
        const QString failing = stack->Path(stack == &gone ? "a.png" : "b.jpg");
        SCOPED_TRACE(failing.toStdString());
        m_errors.clear();
        Open(stack->Folder(), "10");
        ASSERT_GE(m_graph.MakeGraph(), 0) << m_errors.join('\n').toStdString();
        EXPECT_TRUE(Near(NextFrame().At(5, 5), Qt::red));
        if (stack == &gone) {
            EXPECT_TRUE(Near(NextFrame().At(5, 5), Qt::green));
            QFile::remove(failing);
        }
        for (int i = 0; i < 200 && !m_graph.IsDeviceLost(); ++i)
            std::this_thread::sleep_for(10ms);
        EXPECT_TRUE(m_graph.IsDeviceLost());
        EXPECT_TRUE(m_graph.GraphError().contains(failing)) << m_graph.GraphError().toStdString();
        // The last good picture stays the newest frame: never a black one after it.
        TavoFrameStamp stamp;
        EXPECT_EQ(m_graph.GetNewestFrameStamp(&stamp), TavoStatus::Ok);
        EXPECT_EQ(stamp.sequence, m_lastSequence);
        // Told once, as a camera that stopped: not a box per picture.
        EXPECT_TRUE(m_errors.isEmpty());
        m_graph.TearDownGraph();
    }
}

TEST_F(PictureCameraTest, RecordsLikeACamera)
{
    CPictureStack stack;
    stack.Add("a.jpg", Qt::red);
    stack.Add("b.jpg", Qt::blue);
    Open(stack.Folder(), "20");
    ASSERT_GE(m_graph.MakeGraph(), 0);
    NextFrame();
    QTemporaryDir out;
    const QString path = out.filePath("pictures." + CTavoGraphDll::RecordingSuffix());
    QString reason;
    ASSERT_EQ(m_graph.StartRecording(path, false, 20, &reason), TavoStatus::Ok)
            << reason.toStdString();
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(m_graph.StopRecording(&reason), TavoStatus::Ok) << reason.toStdString();
    EXPECT_GT(QFile(path).size(), 1000);
    EXPECT_FALSE(m_graph.IsDeviceLost()) << m_graph.GraphError().toStdString();
}

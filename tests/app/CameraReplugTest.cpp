#include "FakeCamera.h"

#include "app/TavoMeasureDlg.h"
#include "MainWindowFixture.h"
#include "capture/TavoGraphDll.h"
#include "image/xImage.h"
#include "video/CameraSession.h"
#include "video/CameraWatch.h"
#include "video/FramePump.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The main window on a fake camera list whose one camera is a pattern that can be unplugged.
class CameraReplug : public CMainWindowFixture
{
protected:
    void SetUp() override
    {
        m_source = std::make_shared<CFakeDeviceSource>();
        m_source->devices = { CFakeDeviceSource::Pattern(QStringLiteral("Scope"),
                QStringLiteral("smpte"), { { 320, 240, QStringLiteral("BGR") } }) };
        m_images = Path("image");
        QDir().mkpath(m_images);
        ASSERT_NO_FATAL_FAILURE(Open({ .size = { 900, 640 },
                .testCamera = false,
                .restartVideo = true,
                .beforeStart = [this](CTavoMeasureDlg& window) {
                    window.Graph().SetDeviceSource(m_source);
                    window.Graph().SetErrorSink([](const QString&, const QString&) {});
                    window.General().m_strImagePath = m_images;
                    window.General().m_nVideoWidth = 320;
                    window.General().m_nVideoHeight = 240;
                } }));
    }
    int Pictures() const { return static_cast<int>(QDir(m_images).entryList(QDir::Files).size()); }

    QString m_images;
    std::shared_ptr<CFakeDeviceSource> m_source;
};

} // namespace

TEST_F(CameraReplug, UnplugKeepsThePictureAndReplugGoesLiveAgain)
{
    ASSERT_TRUE(WaitForFrames(3));
    CCameraWatch& watch = m_window->CameraSession().Watch();

    m_source->Unplug(QStringLiteral("Scope"));
    watch.Poll();
    EXPECT_TRUE(m_window->CameraDisconnected());
    EXPECT_TRUE(m_window->StillMode());
    // The last frame is the still picture, to be measured and saved.
    EXPECT_EQ(m_window->CurrentFrame().Width(), 320u);
    EXPECT_TRUE(m_window->CurrentFrame().HasPixels());

    m_source->Replug(QStringLiteral("Scope"));
    watch.Poll();
    EXPECT_FALSE(m_window->CameraDisconnected());
    EXPECT_FALSE(m_window->StillMode());
    const uint64_t before = m_window->Pump()->FramesCopied();
    EXPECT_TRUE(WaitForFrames(before + 2)) << "live did not resume";
}

TEST_F(CameraReplug, VideoWhileUnpluggedKeepsThePicture)
{
    ASSERT_TRUE(WaitForFrames(2));
    m_source->Unplug(QStringLiteral("Scope"));
    CCameraWatch& watch = m_window->CameraSession().Watch();
    watch.Poll();
    ASSERT_TRUE(m_window->CurrentFrame().HasPixels());
    // The fake keeps the pattern streaming: what a gone camera does is send nothing.
    m_source->devices[0].pattern = QStringLiteral("red num-buffers=0");
    m_window->RequestLive();
    EXPECT_FALSE(m_window->CameraDisconnected()) << "tried again";
    watch.Poll();
    EXPECT_TRUE(m_window->CameraDisconnected());
    EXPECT_TRUE(m_window->StillMode());
    EXPECT_TRUE(m_window->CurrentFrame().HasPixels()) << "the picture went with the retry";
}

TEST_F(CameraReplug, StreamThatFailsWithTheCameraPresentSaysWhatHappened)
{
    ASSERT_TRUE(WaitForFrames(2));
    m_window->RequestStill();
    m_source->devices[0].formats = { { 320, 240, QStringLiteral("BGR,interlace-mode=alternate") } };
    m_window->Graph().SpecifyCapDevice(QStringLiteral("Scope"));
    m_window->RequestLive();
    auto* note = m_window->findChild<QLabel*>(QStringLiteral("cameraState"));
    ASSERT_TRUE(note);
    EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                m_window->CameraSession().Watch().Poll();
                return m_window->CameraDisconnected();
            },
            5000));
    EXPECT_TRUE(note->text().startsWith(QStringLiteral("The camera stopped: ")))
            << note->text().toStdString();
}

TEST_F(CameraReplug, AStillPictureTheUserChoseIsNotTakenAway)
{
    ASSERT_TRUE(WaitForFrames(2));
    m_window->RequestStill(); // the user's own still
    m_source->Unplug(QStringLiteral("Scope"));
    m_window->CameraSession().Watch().Poll();
    EXPECT_TRUE(m_window->CameraDisconnected());
    m_source->Replug(QStringLiteral("Scope"));
    m_window->CameraSession().Watch().Poll();
    EXPECT_FALSE(m_window->CameraDisconnected());
    EXPECT_TRUE(m_window->StillMode());
}

TEST_F(CameraReplug, CameraButtonAndItsKeyTakeSnapshots)
{
    ASSERT_TRUE(WaitForFrames(2));
    EXPECT_EQ(Pictures(), 0);
    emit m_window->CameraSession().snapshotPressed();
    EXPECT_EQ(Pictures(), 1);
    m_window->activateWindow();
    QTest::keyClick(m_window.get(), Qt::Key_F12);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Pictures() == 2; }, 5000));
}

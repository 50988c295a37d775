#include "app/TavoMeasureDlg.h"
#include "capture/TavoGraphDll.h"
#include "MainWindowFixture.h"
#include "measure/MeasureCanvas.h"
#include "measure/ShapeManager.h"
#include "video/FramePump.h"
#include "ToolDrivers.h"

#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The whole live road with the Test Pattern camera: capture library, pump, canvas, manager.
class LiveVideo : public CMainWindowFixture
{
protected:
    // Small: sanitizer builds paint slowly, and every frame is painted.
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(Open({ .size = { 900, 640 }, .restartVideo = true }));
    }
};

} // namespace

TEST_F(LiveVideo, TestPatternFramesReachTheCanvas)
{
    ASSERT_TRUE(WaitForFrames(3)) << "no frame from the Test Pattern camera";
    EXPECT_EQ(m_window->General().m_strDeviceName, "Test Pattern");
    m_window->Pump()->PaintView([](const QImage& view) {
        ASSERT_FALSE(view.isNull());
        // The pattern's first bar is white, its top-left corner included.
        EXPECT_EQ(view.pixelColor(5, 5), QColor(255, 255, 255));
    });
}

TEST_F(LiveVideo, CaptureToFrameFillsTheCurrentPicture)
{
    ASSERT_TRUE(WaitForFrames(2));
    ASSERT_TRUE(m_window->CaptureToFrame());
    EXPECT_EQ(m_window->CurrentFrame().Width(), 640u);
    EXPECT_EQ(m_window->CurrentFrame().Height(), 480u);
    m_window->Pause();
    EXPECT_TRUE(m_window->StillMode());
}

// Runs under ThreadSanitizer: the user-interface thread edits shapes and filters while the
// pump draws them over live frames.
TEST_F(LiveVideo, EditingWhileThePumpDraws)
{
    ASSERT_TRUE(WaitForFrames(2));
    CShapeManager& manager = m_window->Canvas()->Manager();
    for (int i = 0; i < 16; ++i) {
        UseTool(manager, 2);
        manager.OnLButtonDown(20 + i, 20);
        manager.OnMouseMove(120 + i, 60 + i);
        manager.OnLButtonUp(120 + i, 60 + i);
        if (i % 4 == 0)
            manager.RemoveAll();
        m_window->m_bBinarize = i % 2 == 0;
        m_window->m_bEqualize = i % 3 == 0;
        QTest::qWait(5);
    }
    const uint64_t copied = m_window->Pump()->FramesCopied();
    EXPECT_TRUE(WaitForFrames(copied + 2));
}

// Nothing polls: the pump hears at once of what the window changes, and the window keeps no
// timer that wakes it while nothing happens.
TEST_F(LiveVideo, ThePumpFollowsChangesAsTheyHappen)
{
    ASSERT_TRUE(WaitForFrames(2));
    CFramePump& pump = *m_window->Pump();
    CMeasureCanvas& canvas = *m_window->Canvas();
    for (const QTimer* timer : m_window->findChildren<QTimer*>())
        EXPECT_FALSE(timer->isActive() && timer->interval() < 500)
                << qPrintable(timer->objectName()) << " every " << timer->interval() << " ms";

    m_window->SetBinarize(true);
    EXPECT_TRUE(pump.State().filters.binarize) << "with no event loop in between";
    m_window->SetBinarize(false);
    m_window->SetThreshold(77);
    EXPECT_EQ(pump.State().filters.threshold, 77);
    m_window->SetEqualize(true);
    EXPECT_TRUE(pump.State().filters.equalize);
    m_window->SetEqualize(false);
    canvas.SetScrollOrigin(QPoint(-4, -2));
    EXPECT_EQ(pump.State().originX, -4);
    EXPECT_EQ(pump.State().originY, -2);
    // What a dialog writes straight into the settings comes with the next frame.
    m_window->General().m_nWBRed = 12;
    EXPECT_TRUE(QTest::qWaitFor([&] { return pump.State().filters.redGain == 12; }, 20000));
    m_window->General().m_nWBRed = 0;

    // With the camera paused, an edit is drawn over the frame the pump holds, woken by the
    // drawing's own news.
    ASSERT_GE(m_window->Graph().Pause(), 0);
    QTest::qWait(100);
    const uint64_t presented = pump.FramesPresented();
    const uint64_t cameraFrames = pump.CameraFramesPresented();
    CShapeManager& manager = canvas.Manager();
    UseTool(manager, 2);
    manager.OnLButtonDown(20, 20);
    manager.OnMouseMove(120, 60);
    manager.OnLButtonUp(120, 60);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pump.FramesPresented() > presented; }, 20000));
    EXPECT_EQ(pump.CameraFramesPresented(), cameraFrames);
    EXPECT_GE(m_window->Graph().Run(), 0);
}

// A saved size the camera does not offer: the nearest one it offers, said once, and kept in
// place of the saved one.
TEST(LiveVideoSavedSize, NotOfferedBecomesTheNearestOffered)
{
    qputenv("KALVEX_TEST_CAMERA", "1");
    for (const auto& [saved, nearest] : { std::pair { QSize(800, 601), QSize(800, 600) },
                 std::pair { QSize(16384, 16384), QSize(2592, 1944) } }) {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Setting.ini"));
        {
            QFile file(ini);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QStringLiteral("[GENERAL]\nm_strDeviceName=Test Pattern\nm_nVideoWidth=%1\n"
                                      "m_nVideoHeight=%2\nm_strImagePath=%3\n")
                               .arg(saved.width())
                               .arg(saved.height())
                               .arg(dir.filePath(QStringLiteral("pictures")))
                               .toUtf8());
        }
        auto window = std::make_unique<CTavoMeasureDlg>(ini);
        window->resize(900, 640);
        window->Initialise(/*showWindow=*/false);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->RestartVideo();
        EXPECT_EQ(
                QSize(window->General().m_nVideoWidth, window->General().m_nVideoHeight), nearest);
        EXPECT_EQ(window->findChildren<QMessageBox*>(QStringLiteral("videoSizeMessage")).size(), 1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->Pump()->FramesCopied() >= 2; }, 30000));
        ASSERT_TRUE(window->CaptureToFrame());
        EXPECT_EQ(QSize(int(window->CurrentFrame().Width()), int(window->CurrentFrame().Height())),
                nearest);
        // Still and live again: no second note.
        window->RequestStill();
        window->RequestLive();
        EXPECT_EQ(window->findChildren<QMessageBox*>(QStringLiteral("videoSizeMessage")).size(), 1);
        window->close();
        window.reset();
        QFile kept(ini);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_TRUE(kept.readAll().contains(
                QStringLiteral("m_nVideoHeight=%1").arg(nearest.height()).toUtf8()));
    }
}

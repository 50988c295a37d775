#include "FileSizeLimit.h"
#include "RecordingMessages.h"

#include "app/CommandTable.h"
#include "app/LiveAidsPanel.h"
#include "app/LiveController.h"
#include "app/SidePanel.h"
#include "app/TavoMeasureDlg.h"
#include "MainWindowFixture.h"
#include "video/RecordingFeed.h"
#include "app/TimeLapse.h"
#include "capture/TavoGraphDll.h"
#include "measure/MeasureCanvas.h"
#include "measure/ShapeManager.h"
#include "video/FramePump.h"
#include "video/LiveAids.h"
#include "video/LiveStackSource.h"
#include "ToolDrivers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QApplication>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// The live aids on the real window with the Test Pattern camera.
class LiveAidsWindow : public CMainWindowFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(Open({ .size = { 900, 700 }, .restartVideo = true }));
        m_window->General().m_strImagePath = Path("pictures");
        m_panel = m_window->LiveAidsPanel();
        ASSERT_NE(m_panel, nullptr);
        m_panel->Header()->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->Pump()->FramesCopied() >= 2; }, 30000));
    }
    int CountInView(QColor colour) const
    {
        int count = 0;
        m_window->Pump()->PaintView([&](const QImage& view) {
            for (int y = 0; y < view.height(); y += 2)
                for (int x = 0; x < view.width(); ++x)
                    count += view.pixelColor(x, y) == colour;
        });
        return count;
    }
    QStringList Pictures(const QString& pattern) const
    {
        return QDir(m_window->General().m_strImagePath).entryList({ pattern }, QDir::Files);
    }

    CRecordingMessages m_recorder; // made before the window: it shows no boxes of its own
    CLiveAidsPanel* m_panel = nullptr;
    QStringList Messages() const { return m_recorder.Texts(); }
};

} // namespace

TEST_F(LiveAidsWindow, PeakingKeyMarksTheBarEdgesAndTakesThemOffAgain)
{
    const QColor mark = QColor::fromRgb(m_window->LiveAids().PeakColour());
    EXPECT_EQ(CountInView(mark), 0);
    QTest::keyClick(m_window.get(), Qt::Key_E);
    EXPECT_TRUE(m_panel->PeakingCheck()->isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountInView(mark) > 100; }, 5000));
    QTest::keyClick(m_window.get(), Qt::Key_E);
    EXPECT_FALSE(m_window->LiveAids().Peaking());
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountInView(mark) == 0; }, 5000));
}

TEST_F(LiveAidsWindow, MeterAndHistogramShowTheirReadings)
{
    m_panel->MeterCheck()->click();
    m_panel->HistogramCheck()->click();
    EXPECT_TRUE(QTest::qWaitFor(
            [&] { return m_panel->MeterLabel()->text().contains(QLatin1Char('(')); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_panel->ClippedLabel()->text().isEmpty(); }, 5000));
    const CLiveReadings readings = m_window->LiveAids().Readings();
    EXPECT_GT(readings.sharpness, 0.0);
    EXPECT_EQ(readings.histogram.Pixels(), 320u * 240u); // every other pixel: the sample budget
    // The pattern has pure white and black bars: both ends are clipped.
    EXPECT_GT(readings.histogram.BrightClippedShare(CLiveHistogram::Luminance), 0.05);
}

TEST_F(LiveAidsWindow, LiveStackKeyCountsMergedFramesSavesTheStackAndTurnsOff)
{
    QTest::keyClick(m_window.get(), Qt::Key_K);
    ASSERT_TRUE(m_panel->LiveStackCheck()->isChecked());
    ASSERT_NE(m_window->Live().LiveStack(), nullptr);
    EXPECT_EQ(m_window->Live().FrameSource(), m_window->Live().LiveStack());
    EXPECT_TRUE(m_panel->StackResetButton()->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor(
            [&] { return m_window->Live().LiveStack()->Status().merged >= 3; }, 10000));
    EXPECT_TRUE(QTest::qWaitFor(
            [&] { return m_panel->StackLabel()->text().contains(QLatin1String("frames merged")); },
            2000));
    EXPECT_TRUE(m_panel->Header()->text().startsWith(QLatin1String("Live aids (stack: ")));

    m_window->Commands().Trigger(CCommandTable::Save);
    ASSERT_EQ(Pictures(QStringLiteral("*.bmp")).size(), 1);
    EXPECT_EQ(QImage(QDir(m_window->General().m_strImagePath)
                              .filePath(Pictures(QStringLiteral("*.bmp")).front()))
                      .size(),
            QSize(640, 480));

    m_panel->StackResetButton()->click();
    EXPECT_LE(m_window->Live().LiveStack()->Status().merged, 1);
    QTest::keyClick(m_window.get(), Qt::Key_K);
    EXPECT_EQ(m_window->Live().LiveStack(), nullptr);
    EXPECT_NE(m_window->Live().FrameSource(), nullptr);
    EXPECT_FALSE(m_panel->StackResetButton()->isEnabled());
    EXPECT_TRUE(m_panel->StackLabel()->text().isEmpty());
    EXPECT_EQ(m_panel->Header()->text(), QStringLiteral("Live aids"));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(LiveAidsWindow, TimeLapseTakesItsPicturesAndCountsDown)
{
    m_panel->IntervalSpin()->setValue(1);
    m_panel->EndCombo()->setCurrentIndex(0);
    m_panel->CountSpin()->setValue(2);
    m_panel->TimeLapseButton()->click();
    EXPECT_EQ(Pictures(QStringLiteral("*.bmp")).size(), 1); // the first at once
    EXPECT_TRUE(m_panel->TimeLapseLabel()->text().contains(QLatin1String("1 s")));
    EXPECT_TRUE(
            QTest::qWaitFor([&] { return Pictures(QStringLiteral("*.bmp")).size() == 2; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor(
            [&] { return m_panel->TimeLapseButton()->text() == QLatin1String("Start time-lapse"); },
            2000));
    EXPECT_TRUE(Messages().isEmpty());
    for (const QString& name : Pictures(QStringLiteral("*.bmp")))
        EXPECT_TRUE(name.startsWith(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))))
                << name.toStdString();
}

TEST_F(LiveAidsWindow, TimeLapseIntoAFolderThatCannotBeWrittenStopsWithOneMessage)
{
    QFile blocker(m_dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_window->General().m_strImagePath = blocker.fileName() + QStringLiteral("/pictures");
    m_panel->IntervalSpin()->setValue(1);
    m_panel->TimeLapseButton()->click();
    EXPECT_EQ(m_panel->TimeLapseButton()->text(), QLatin1String("Start time-lapse"));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().first().contains(QLatin1String("could not be saved")));
}

TEST_F(LiveAidsWindow, RecordingWithAndWithoutTheDrawingWritesFiles)
{
#if defined(__SANITIZE_THREAD__)
    // Instrumented, the pump composes about one frame a second: too slow for a recording of
    // real time. The threads involved are checked by the recording and feed tests.
    GTEST_SKIP() << "needs the live pace of frames";
#endif
    CShapeManager& manager = m_window->Canvas()->Manager();
    UseTool(manager, 2);
    manager.OnLButtonDown(20, 20);
    manager.OnMouseMove(200, 150);
    manager.OnLButtonUp(200, 150);
    for (bool drawing : { false, true }) {
        m_panel->WithDrawingCheck()->setChecked(drawing);
        m_panel->RecordButton()->click();
        ASSERT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(m_panel->RecordButton()->text(), QLatin1String("Stop recording"));
        EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    return m_panel->RecordLabel()->text().startsWith(
                            QLatin1String("Elapsed 00:01"));
                },
                3000))
                << m_panel->RecordLabel()->text().toStdString();
        // A slow machine (or a sanitizer) may take longer to hand its first frames over.
        if (drawing)
            EXPECT_TRUE(QTest::qWaitFor(
                    [&] { return m_window->RecordingFeed()->FramesFed() >= 1; }, 10000));
        m_panel->RecordButton()->click();
        // The file is finished off the window's thread: the click returns at once.
        EXPECT_EQ(m_panel->RecordLabel()->text(), QLatin1String("Finishing the video file..."));
        EXPECT_FALSE(m_panel->RecordButton()->isEnabled());
        EXPECT_FALSE(m_window->Graph().IsRecording());
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_panel->RecordButton()->isEnabled(); }, 20000));
        EXPECT_TRUE(m_panel->RecordLabel()->text().startsWith(QLatin1String("Saved")))
                << m_panel->RecordLabel()->text().toStdString() << (drawing ? " with" : " without")
                << " the drawing; " << Messages().join(QLatin1Char('\n')).toStdString();
    }
    const QStringList videos =
            Pictures(QStringLiteral("*.webm")) + Pictures(QStringLiteral("*.mp4"));
    ASSERT_EQ(videos.size(), 2);
    for (const QString& name : videos)
        EXPECT_GT(QFileInfo(QDir(m_window->General().m_strImagePath).filePath(name)).size(), 1000);
}

TEST_F(LiveAidsWindow, GoingStillEndsRecordingAndTimeLapse)
{
    m_panel->RecordButton()->click();
    m_panel->IntervalSpin()->setValue(60);
    m_panel->TimeLapseButton()->click();
    QTest::qWait(300);
    m_window->RequestStill();
    EXPECT_FALSE(m_window->Graph().IsRecording());
    EXPECT_EQ(m_panel->RecordButton()->text(), QLatin1String("Record"));
    EXPECT_FALSE(m_panel->RecordButton()->isEnabled());
    EXPECT_EQ(m_panel->TimeLapseButton()->text(), QLatin1String("Start time-lapse"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('\n')).toStdString();
    m_window->RequestLive();
    EXPECT_TRUE(m_panel->RecordButton()->isEnabled());
}

TEST(LiveAidsPanelText, ElapsedTimeAndStopTimeOfDay)
{
    EXPECT_EQ(CLiveAidsPanel::ElapsedText(0), QLatin1String("Elapsed 00:00"));
    EXPECT_EQ(CLiveAidsPanel::ElapsedText(61'999), QLatin1String("Elapsed 01:01"));
    EXPECT_EQ(CLiveAidsPanel::ElapsedText(3'723'000), QLatin1String("Elapsed 1:02:03"));
    const QDateTime now(QDate(2026, 3, 4), QTime(10, 30, 15));
    // Later today, or tomorrow once the time of day has passed (the minute itself included).
    EXPECT_EQ(CLiveAidsPanel::NextOccurrenceMs(QTime(11, 0), now),
            QDateTime(QDate(2026, 3, 4), QTime(11, 0)).toMSecsSinceEpoch());
    EXPECT_EQ(CLiveAidsPanel::NextOccurrenceMs(QTime(10, 30), now),
            QDateTime(QDate(2026, 3, 5), QTime(10, 30)).toMSecsSinceEpoch());
}

TEST_F(LiveAidsWindow, ANewCaptureSizeEndsTheRecordingWithAMessage)
{
    m_panel->RecordButton()->click();
    ASSERT_EQ(m_panel->RecordButton()->text(), QLatin1String("Stop recording"));
    QTest::qWait(300);
    m_window->ChangeCaptureSize(QSize(320, 240), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Messages().isEmpty(); }, 3000));
    EXPECT_EQ(m_panel->RecordButton()->text(), QLatin1String("Record"));
    EXPECT_FALSE(m_window->Graph().IsRecording());
}

TEST_F(LiveAidsWindow, TheWheelScrollsThePanelsAndChangesOnlyAFocusedControl)
{
    m_window->resize(900, 420);
    QTest::qWait(50);
    auto turn = [](QWidget* control, int steps) {
        QWheelEvent wheel(QPointF(5, 5), control->mapToGlobal(QPointF(5, 5)), QPoint(),
                QPoint(0, -120 * steps), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(control, &wheel);
    };
    auto* scroll = m_panel->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    ASSERT_GT(scroll->verticalScrollBar()->maximum(), 0) << "the aids must scroll at this height";
    const int interval = m_panel->IntervalSpin()->value();
    const int count = m_panel->CountSpin()->value();
    m_window->setFocus();
    turn(m_panel->IntervalSpin(), 2);
    turn(m_panel->CountSpin(), 2);
    turn(m_panel->EndCombo(), 1);
    EXPECT_EQ(m_panel->IntervalSpin()->value(), interval);
    EXPECT_EQ(m_panel->CountSpin()->value(), count);
    EXPECT_EQ(m_panel->EndCombo()->currentIndex(), 0);
    EXPECT_GT(scroll->verticalScrollBar()->value(), 0) << "the turn scrolls the panel instead";
    EXPECT_FALSE(m_panel->IntervalSpin()->hasFocus()) << "a turn alone hands out no focus";

    QComboBox* resolution = m_window->SidePanel()->ResolutionCombo();
    const int size = resolution->currentIndex();
    turn(resolution, 1);
    turn(m_window->SidePanel()->ScaleCombo(), -1);
    EXPECT_EQ(resolution->currentIndex(), size);

    m_panel->IntervalSpin()->setFocus();
    turn(m_panel->IntervalSpin(), 1);
    EXPECT_NE(m_panel->IntervalSpin()->value(), interval) << "a focused spin box takes the wheel";
}

// A recording that cannot start, or that fills the disk, fails alone: the camera stays live.
TEST_F(LiveAidsWindow, AFailedRecordingLeavesTheCameraLive)
{
    // A folder that exists and takes no file, even from root.
    m_window->General().m_strImagePath = QStringLiteral("/proc/self");
    m_panel->RecordButton()->click();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().front().startsWith(QLatin1String("The recording could not be started")));
    m_window->General().m_strImagePath = m_dir.filePath(QStringLiteral("pictures"));
    {
        const CFileSizeLimit fullDisk(20000);
        ASSERT_TRUE(fullDisk.Active());
        m_panel->RecordButton()->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return Messages().size() == 2; }, 20000));
        EXPECT_TRUE(Messages().back().startsWith(QLatin1String("The recording stopped")));
        // The broken file is finished while the disk is still full.
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_panel->RecordButton()->isEnabled(); }, 20000));
    }
    QTest::qWait(1500); // the camera is watched twice a second
    EXPECT_FALSE(m_window->CameraDisconnected());
    EXPECT_EQ(m_window->Graph().GraphError(), QString());
    EXPECT_TRUE(m_panel->RecordButton()->isEnabled());
    const uint64_t frames = m_window->Pump()->FramesCopied();
    EXPECT_TRUE(
            QTest::qWaitFor([&] { return m_window->Pump()->FramesCopied() > frames + 2; }, 10000));
}

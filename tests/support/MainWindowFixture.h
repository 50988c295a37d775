#pragma once

#include "app/TavoMeasureDlg.h"
#include "video/FramePump.h"

#include <QSize>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// The real main window on the Test Pattern camera (or what beforeStart hands it), shown at a
// size, with its Setting.ini in a folder of its own.
class CMainWindowFixture : public testing::Test
{
protected:
    struct COptions
    {
        QSize size { 1280, 800 };
        bool testCamera = true;
        bool active = false; // waits until the window has the focus, for its shortcuts
        bool restartVideo = false;
        // Runs between construction and Initialise (a fake camera list, a saved size).
        std::function<void(CTavoMeasureDlg&)> beforeStart;
    };

    // Call with ASSERT_NO_FATAL_FAILURE from SetUp.
    void Open(const COptions& options)
    {
        if (options.testCamera)
            qputenv("KALVEX_TEST_CAMERA", "1");
        m_window = std::make_unique<CTavoMeasureDlg>(Path("Setting.ini"));
        if (options.beforeStart)
            options.beforeStart(*m_window);
        m_window->resize(options.size);
        m_window->Initialise(/*showWindow=*/false);
        m_window->show();
        if (options.active) {
            m_window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        } else {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        }
        if (options.restartVideo)
            m_window->RestartVideo();
    }
    void TearDown() override
    {
        if (m_window)
            m_window->close();
        m_window.reset();
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString Path(const char* name) const { return Path(QLatin1String(name)); }
    bool WaitForFrames(uint64_t count) const
    {
        return QTest::qWaitFor([&] { return m_window->Pump()->FramesCopied() >= count; }, 30000);
    }
    bool FramesFlow() const { return WaitForFrames(m_window->Pump()->FramesCopied() + 2); }

    QTemporaryDir m_dir;
    std::unique_ptr<CTavoMeasureDlg> m_window;
};

#include "app/PanelButton.h"
#include "app/SidePanel.h"
#include "app/TavoMeasureDlg.h"
#include "count/CountDlg.h"
#include "count/CountOverlay.h"
#include "measure/MeasureCanvas.h"
#include "measure/ShapeManager.h"
#include "video/FramePump.h"

#include "DiscPicture.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class CountOnTheWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("KALVEX_TEST_CAMERA", "1");
        m_window = std::make_unique<CTavoMeasureDlg>(m_dir.filePath(QStringLiteral("Setting.ini")));
        m_window->resize(1280, 800);
        m_window->Initialise(/*showWindow=*/false);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_file = m_dir.filePath(QStringLiteral("discs.bmp"));
        ASSERT_TRUE(CDiscPicture::Make().SaveFile(m_file, CXIMAGE_FORMAT_BMP));
    }
    void TearDown() override
    {
        m_window->close();
        m_window.reset();
    }

    // Runs "Count objects" and closes the dialog once it has counted; the objects it found.
    size_t Count()
    {
        size_t objects = 0;
        bool answered = false;
        auto* timer = new QTimer(m_window.get());
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [&, timer] {
            auto* dialog = qobject_cast<CCountDlg*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            timer->stop();
            timer->deleteLater();
            dialog->CountNow();
            objects = dialog->Result().particles.size();
            answered = true;
            dialog->reject();
        });
        timer->start();
        m_window->Commands().Trigger(CCommandTable::Count);
        EXPECT_TRUE(answered);
        return objects;
    }
    bool LayerOnCanvas() const { return m_window->Canvas()->Manager().Renderer().HasExtraLayer(); }
    // The outline pixels of the picture saved over the opened file.
    int SavedOutlinePixels(bool measure, QImage* saved = nullptr)
    {
        m_window->General().m_bMeasure = measure;
        m_window->Commands().Trigger(CCommandTable::Save);
        const QImage picture(m_file);
        int found = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                found += picture.pixelColor(x, y) == CCountOverlay::kOutline;
        if (saved)
            *saved = picture;
        return found;
    }

    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<CTavoMeasureDlg> m_window;
};

} // namespace

// The count stays over its picture and goes into a picture saved with "Measure" on only; a new
// count replaces it; another picture or the live video takes it away.
TEST_F(CountOnTheWindow, OverlayIsSavedWithMeasureAndGoesWithThePicture)
{
    ASSERT_TRUE(m_window->OpenStillPicture(m_file));
    EXPECT_FALSE(m_window->CountShown());
    ASSERT_EQ(Count(), CDiscPicture::kCentres.size());
    EXPECT_TRUE(m_window->CountShown());
    EXPECT_TRUE(LayerOnCanvas());
    EXPECT_FALSE(m_window->CountSummary().isEmpty());

    EXPECT_EQ(SavedOutlinePixels(false), 0) << "without Measure the picture is saved as it is";
    QImage saved;
    EXPECT_GT(SavedOutlinePixels(true, &saved), 0);
    const int r = CDiscPicture::kRadius;
    for (QPoint c : CDiscPicture::kCentres) {
        // The rim's leftmost pixel, or the one beside it, is outline; the disc's inside is not.
        const bool rim = saved.pixelColor(c.x() - r, c.y()) == CCountOverlay::kOutline
                || saved.pixelColor(c.x() - r - 1, c.y()) == CCountOverlay::kOutline;
        EXPECT_TRUE(rim) << c.x() << "," << c.y();
        EXPECT_EQ(saved.pixelColor(c.x() - r + 4, c.y()), QColor(40, 40, 40));
    }

    ASSERT_EQ(Count(), CDiscPicture::kCentres.size());
    EXPECT_TRUE(LayerOnCanvas()) << "counted again: the new count is shown";
    ASSERT_TRUE(m_window->OpenStillPicture(m_file));
    EXPECT_FALSE(m_window->CountShown());
    EXPECT_FALSE(LayerOnCanvas());

    Count();
    EXPECT_TRUE(LayerOnCanvas());
    m_window->SidePanel()->ButtonAt(CSidePanel::Video)->click();
    EXPECT_FALSE(m_window->StillMode());
    EXPECT_FALSE(m_window->CountShown());
    EXPECT_FALSE(LayerOnCanvas());
    EXPECT_TRUE(m_window->CountSummary().isEmpty());
}

// Counting live video pauses it: the count is of the picture left on the canvas.
TEST_F(CountOnTheWindow, CountingLiveVideoPausesIt)
{
    ASSERT_FALSE(m_window->StillMode());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->Pump()->FramesCopied() >= 2; }, 30000))
            << "no frame from the Test Pattern camera";
    Count();
    EXPECT_TRUE(m_window->StillMode());
    EXPECT_TRUE(m_window->Canvas()->StillMode());
    EXPECT_EQ(m_window->CurrentFrame().Width(), uint32_t(m_window->CaptureSize().width()));
}

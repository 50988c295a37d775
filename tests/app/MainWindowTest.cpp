#include "app/MainLayout.h"
#include "app/TavoMeasureDlg.h"

#include <QFrame>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

TEST(MainLayout_Compute, PanelAndStripShown)
{
    const CMainLayout l = CMainLayout::Compute(1280, 800, true, true, 40);
    EXPECT_EQ(l.panelHost, QRect(13, 13, 252, 761));
    EXPECT_EQ(l.thumbHost, QRect(278, 642, 989, 145));
    EXPECT_EQ(l.videoHost, QRect(278, 13, 989, 616));
    EXPECT_EQ(l.hidePanelButton, QPoint(263, 0));
    EXPECT_EQ(l.hideStripButton, QPoint(263, 760));
}

TEST(MainLayout_Compute, BothHiddenFillsWithMargins)
{
    const CMainLayout l = CMainLayout::Compute(1280, 800, false, false, 40);
    EXPECT_EQ(l.videoHost, QRect(13, 13, 1254, 774));
    EXPECT_EQ(l.showPanelButton, QPoint(0, 0));
    EXPECT_EQ(l.showStripButton, QPoint(0, 760));
}

TEST(DisplaySize_Compute, FitKeepsAspect)
{
    const CDisplaySize heightLimited = CDisplaySize::Compute(0, { 1000, 600 }, { 640, 480 });
    EXPECT_EQ(QSize(heightLimited.width, heightLimited.height), QSize(800, 600));
    EXPECT_FLOAT_EQ(heightLimited.zoom, 1.25f);
    const CDisplaySize widthLimited = CDisplaySize::Compute(0, { 1000, 900 }, { 640, 480 });
    EXPECT_EQ(QSize(widthLimited.width, widthLimited.height), QSize(1000, 750));
    EXPECT_FLOAT_EQ(widthLimited.zoom, 1.5625f);
}

TEST(DisplaySize_Compute, IntegerScales)
{
    for (int scale = 1; scale <= 3; ++scale) {
        const CDisplaySize d = CDisplaySize::Compute(scale, { 100, 100 }, { 640, 480 });
        EXPECT_EQ(QSize(d.width, d.height), QSize(640 * scale, 480 * scale));
        EXPECT_FLOAT_EQ(d.zoom, static_cast<float>(scale));
    }
    EXPECT_EQ(CDisplaySize::Compute(0, { 100, 100 }, { 0, 0 }).width, 0) << "no source, no size";
}

namespace {

class MainWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<CTavoMeasureDlg>(m_dir.filePath(QStringLiteral("Setting.ini")));
        m_window->resize(1280, 800);
        m_window->Initialise(/*showWindow=*/false);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }
    QToolButton* Button(const char* name) const
    {
        return m_window->findChild<QToolButton*>(QLatin1String(name));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CTavoMeasureDlg> m_window;
};

} // namespace

TEST_F(MainWindow, TogglesMoveTheAreas)
{
    EXPECT_EQ(m_window->VideoHost()->geometry().x(), 278);
    EXPECT_TRUE(Button("hidePanelButton")->isVisible());
    EXPECT_FALSE(Button("showPanelButton")->isVisible());

    QTest::mouseClick(Button("hidePanelButton"), Qt::LeftButton);
    QTest::mouseClick(Button("hideStripButton"), Qt::LeftButton);
    EXPECT_FALSE(m_window->PanelHost()->isVisible());
    EXPECT_FALSE(m_window->ThumbHost()->isVisible());
    EXPECT_EQ(m_window->VideoHost()->geometry(), QRect(13, 13, 1254, 774));
    EXPECT_EQ(Button("showPanelButton")->pos(), QPoint(0, 0));
    EXPECT_EQ(Button("showStripButton")->pos().x(), 0);
    EXPECT_EQ(Button("showStripButton")->geometry().bottom(), 799);

    QTest::mouseClick(Button("showPanelButton"), Qt::LeftButton);
    QTest::mouseClick(Button("showStripButton"), Qt::LeftButton);
    EXPECT_TRUE(m_window->General().m_bHasLeft);
    EXPECT_TRUE(m_window->General().m_bHasBottom);
    EXPECT_EQ(m_window->ThumbHost()->geometry(), QRect(278, 642, 989, 145));
}

TEST_F(MainWindow, ReturnAndEscapeDoNotClose)
{
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(MainWindow, FitScaleFollowsTheVideoHost)
{
    m_window->General().m_nDisp = 0;
    m_window->SizeCanvas();
    const QSize host = m_window->VideoHost()->size();
    const QSize display = m_window->DisplaySize();
    EXPECT_TRUE(display.width() == host.width() || display.height() == host.height());
    EXPECT_NEAR(static_cast<double>(display.width()) / display.height(), 640.0 / 480.0, 0.01);
}

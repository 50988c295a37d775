// Stacking while focusing, as a user does it: a focus series played by the Pictures camera,
// the live stack switched on in the live aids, the stack saved.
#include "JourneyFixture.h"

#include "FocusSweep.h"

#include "app/LiveAidsPanel.h"
#include "app/LiveController.h"
#include "video/LiveStackSource.h"

#include <QToolButton>

using namespace sweep;

TEST_F(Journey, LiveStackOfAFocusSeriesFromThePicturesCameraIsSaved)
{
    // Six slices of a known scene, each sharp in one band, breathing a little.
    const CFocusSweep series(Texture(640, 480, 30), 6, 6);
    const QString folder = m_home.filePath(QStringLiteral("stack"));
    ASSERT_TRUE(QDir().mkpath(folder));
    double bestSlice = 0;
    for (int k = 0; k < series.Frames(); ++k) {
        const cv::Mat slice = series.Frame(k);
        bestSlice = std::max(
                bestSlice, Psnr(slice, Move(series.Truth(), series.Breath(k)), series.Inner(32)));
        ASSERT_TRUE(QImage(slice.data, slice.cols, slice.rows, static_cast<qsizetype>(slice.step),
                QImage::Format_BGR888)
                            .save(QDir(folder).filePath(QStringLiteral("slice_%1.png").arg(k))));
    }
    QuitKalvex();
    qunsetenv("KALVEX_TEST_CAMERA");
    qputenv("KALVEX_CAMERA_FILES", QDir(folder).filePath(QStringLiteral("slice_%d.png")).toUtf8());
    qputenv("KALVEX_CAMERA_FPS", "10");
    ASSERT_NO_FATAL_FAILURE(StartKalvex());
    EXPECT_EQ(m_window->General().m_strDeviceName, QStringLiteral("Pictures"));
    ASSERT_TRUE(PictureFlows());

    CLiveAidsPanel* aids = m_window->LiveAidsPanel();
    Click(aids->Header());
    ASSERT_TRUE(QTest::qWaitFor([&] { return aids->LiveStackCheck()->isVisible(); }, kWaitMs));
    Click(aids->LiveStackCheck());
    ASSERT_TRUE(aids->LiveStackCheck()->isChecked());
    // Two turns through the series: every slice is in the stack.
    ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const CLiveStackSource* stack = m_window->Live().LiveStack();
                return stack && stack->Status().merged >= 2 * series.Frames();
            },
            kWaitMs));
    EXPECT_EQ(m_window->Live().LiveStack()->Status().skipped, 0);
    EXPECT_TRUE(aids->StackLabel()->text().contains(QLatin1String("frames merged")));
    // Settled: another turn through the series changes next to nothing on screen.
    const QImage settled = Screen(Canvas());
    QTest::qWait(700);
    const QImage later = Screen(Canvas());
    const auto mat = [](const QImage& image) {
        return cv::Mat(image.height(), image.width(), CV_8UC4,
                const_cast<uchar*>(image.constBits()), static_cast<size_t>(image.bytesPerLine()));
    };
    EXPECT_GT(Psnr(mat(settled), mat(later), { 0, 0, settled.width(), settled.height() }), 40.0);

    ClickButton(CSidePanel::Save);
    ASSERT_EQ(Pictures().size(), 1);
    const QImage saved = QImage(QDir(ImageFolder()).filePath(Pictures().front()))
                                 .convertToFormat(QImage::Format_BGR888);
    ASSERT_EQ(saved.size(), QSize(640, 480));
    const cv::Mat savedMat(480, 640, CV_8UC3, const_cast<uchar*>(saved.constBits()),
            static_cast<size_t>(saved.bytesPerLine()));
    // The stack is on the grid of the slice it began with, whichever came first.
    double stacked = 0;
    for (int k = 0; k < series.Frames(); ++k)
        stacked = std::max(
                stacked, Psnr(savedMat, Move(series.Truth(), series.Breath(k)), series.Inner(32)));
    EXPECT_GT(stacked, bestSlice + 8.0);

    // Off again: the slices play as they are.
    Click(aids->LiveStackCheck());
    EXPECT_EQ(m_window->Live().LiveStack(), nullptr);
    EXPECT_TRUE(PictureFlows());
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
}

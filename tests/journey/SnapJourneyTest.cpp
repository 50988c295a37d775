#include "JourneyFixture.h"

#include "SyntheticEdges.h"

#include <QCheckBox>
#include <QImage>

// A line drawn by hand a pixel or two off both edges of a bar reads the bar's width to a
// tenth of a pixel once "Snap to edges" is on (the key S on the picture), in the CSV too.
TEST_F(Journey, ASnappedLineAcrossABarReadsItsWidth)
{
    const double left = 100.4;
    const double width = 60.7;
    const CSyntheticEdges synthetic;
    const cv::Mat grey = synthetic.Draw({ 320, 240 },
            [&](double x, double) { return width / 2 - std::abs(x - (left + width / 2)); });
    QImage picture(grey.data, grey.cols, grey.rows, int(grey.step), QImage::Format_Grayscale8);
    const QString path = m_home.filePath(QStringLiteral("bar.png"));
    ASSERT_TRUE(picture.convertToFormat(QImage::Format_RGB888).save(path));
    ASSERT_TRUE(m_window->OpenStillPicture(path));

    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    Canvas().setFocus();
    QTest::keyClick(&Canvas(), Qt::Key_S);
    auto* check = m_window->findChild<QCheckBox*>(QStringLiteral("snapToEdgesCheck"));
    ASSERT_TRUE(check);
    EXPECT_TRUE(check->isChecked()) << "the panel shows what the key did";
    EXPECT_TRUE(m_window->General().m_bSnapToEdges);

    const float zoom = m_window->DisplayZoom();
    const auto onCanvas = [zoom](double x, double y) {
        return QPoint(int(std::lround(x * zoom)), int(std::lround(y * zoom)));
    };
    DrawLine(onCanvas(left - 1.6, 120), onCanvas(left + width + 1.3, 120));
    ASSERT_EQ(m_window->ResultList()->topLevelItemCount(), 1);

    const QString text = QString::fromUtf8(SaveTheCsv());
    ASSERT_FALSE(text.isEmpty()) << "one CSV saved";
    const QStringList row =
            text.section(QStringLiteral("\n1,length,"), 1).section('\n', 0, 0).split(',');
    ASSERT_FALSE(row.isEmpty()) << text.toStdString();
    // Uncalibrated or not, the value is width pixels in the slot's unit.
    const double scale = Canvas().Manager().ScaleX();
    // One picture's noise: the precision benchmark holds the 95th percentile to 0.1 pixel; by
    // hand, a pixel or two off each edge, the line would read about 63.6.
    EXPECT_NEAR(row[0].toDouble() / scale, width, 0.15) << text.toStdString();
}

#include "measure/OverlayPainter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {
using Target = COverlayPainter::Target;

CColorSetting Settings()
{
    CColorSetting s;
    s.GridSize = 20;
    s.RulerSize = 10;
    s.GridColor = 0x0000FF; // red
    s.RulerColor = 0x00FF00;
    s.TextColor = 0xFF0000;
    s.LineSize = 1;
    s.ScaleXLen = 100;
    s.ScaleYLen = 50;
    return s;
}

std::vector<int> HorizontalYs(const std::vector<QLine>& lines)
{
    std::vector<int> ys;
    for (const QLine& l : lines)
        if (l.y1() == l.y2() && l.x1() == 0)
            ys.push_back(l.y1());
    return ys;
}

std::vector<int> VerticalXs(const std::vector<QLine>& lines)
{
    std::vector<int> xs;
    for (const QLine& l : lines)
        if (l.x1() == l.x2() && l.y1() == 0)
            xs.push_back(l.x1());
    return xs;
}
} // namespace

TEST(OverlayGrid, CellsFollowZoomOnTheCanvas)
{
    COverlayPainter p(Settings(), 2.0f, 1.0, 1.0, "mm", QFont());
    const auto lines = p.GridLines(Target::Canvas, 400, 300);
    EXPECT_EQ(HorizontalYs(lines), (std::vector<int> { 40, 80, 120, 160, 200, 240, 280, 320 }));
    EXPECT_EQ(VerticalXs(lines),
            (std::vector<int> { 40, 80, 120, 160, 200, 240, 280, 320, 360, 400 }));
    for (const QLine& l : lines)
        EXPECT_TRUE((l.x1() == 0 && l.x2() == 400) || (l.y1() == 0 && l.y2() == 300));
}

TEST(OverlayGrid, FramesAndPicturesUseTheUnscaledCell)
{
    COverlayPainter p(Settings(), 2.0f, 1.0, 1.0, "mm", QFont());
    for (Target t : { Target::Frame, Target::Image }) {
        const auto lines = p.GridLines(t, 400, 300);
        EXPECT_EQ(HorizontalYs(lines).size(), 15u);
        EXPECT_EQ(VerticalXs(lines).front(), 20);
        EXPECT_EQ(VerticalXs(lines).size(), 20u);
    }
}

TEST(OverlayGrid, TinyZoomNeverGivesAZeroCell)
{
    CColorSetting s = Settings();
    s.GridSize = 10;
    COverlayPainter p(s, 0.05f, 1.0, 1.0, "mm", QFont());
    const auto lines = p.GridLines(Target::Canvas, 30, 20);
    EXPECT_EQ(HorizontalYs(lines).size(), 20u);
    EXPECT_EQ(VerticalXs(lines).size(), 30u);
}

TEST(OverlayGrid, PaintedLinesLandOnTheCellRows)
{
    COverlayPainter p(Settings(), 2.0f, 1.0, 1.0, "mm", QFont());
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        p.DrawGrid(painter, Target::Canvas, 400, 300);
    }
    int redRows = 0;
    for (int y = 0; y < 300; ++y)
        if (image.pixelColor(10, y) == QColor(Qt::red))
            ++redRows;
    EXPECT_EQ(redRows, 7); // y = 40 ... 280; 320 falls outside
    EXPECT_EQ(image.pixelColor(10, 40), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(10, 41), QColor(Qt::black));
}

TEST(OverlayRuler, ZeroSizeTicksEveryPixel)
{
    CColorSetting s = Settings();
    s.RulerSize = 0;
    COverlayPainter p(s, 1.0f, 1.0, 1.0, "mm", QFont());
    const auto lines = p.RulerLines(Target::Canvas, 100, 60);
    // Two axes, 50 ticks each side horizontally, 30 each side vertically.
    ASSERT_EQ(lines.size(), 2u + 2 * 50 + 2 * 30);
    EXPECT_EQ(lines[0], QLine(0, 30, 100, 30));
    EXPECT_EQ(lines[1], QLine(50, 0, 50, 60));
    EXPECT_EQ(lines[2], QLine(49, 10, 49, 50)); // half-length 20 at zoom 1
    EXPECT_EQ(lines[3], QLine(51, 10, 51, 50));
}

TEST(OverlayRuler, FrameIsShiftedByTheOffsetsAndTicksTheWholeWidth)
{
    COverlayPainter p(Settings(), 2.0f, 1.0, 1.0, "mm", QFont());
    const auto lines = p.RulerLines(Target::Frame, 400, 300, 30, -20);
    EXPECT_EQ(lines[0], QLine(0, 170, 400, 170));
    EXPECT_EQ(lines[1], QLine(170, 0, 170, 300));
    // Step 20 and half-length 40 at zoom 2; ceil(400 / 20) ticks each side.
    EXPECT_EQ(lines[2], QLine(150, 130, 150, 210));
    EXPECT_EQ(lines.size(), 2u + 2 * 20 + 2 * 15);
}

TEST(OverlayScaleBar, LengthFollowsCalibrationAndZoom)
{
    CColorSetting s = Settings();
    COverlayPainter p(s, 1.0f, 0.5, 0.5, "um", QFont());
    const auto bar = p.ScaleBarLayout(Target::Canvas, QSize(800, 600));
    ASSERT_EQ(bar.lines.size(), 3u);
    EXPECT_EQ(bar.lines[0], QLine(60, 50, 60, 70));
    EXPECT_EQ(bar.lines[1], QLine(60, 60, 260, 60));
    EXPECT_EQ(bar.lines[2], QLine(260, 50, 260, 70));
    ASSERT_EQ(bar.labels.size(), 1u);
    EXPECT_EQ(bar.labels[0].text, QStringLiteral("100.00um"));
    EXPECT_EQ(bar.labels[0].topLeft, QPoint(60, 70));
}

TEST(OverlayScaleBar, RightCornersStartAMarginFromTheEdge)
{
    CColorSetting s = Settings();
    for (int pos : { 2, 3 }) {
        s.ScalePos = pos;
        COverlayPainter p(s, 2.0f, 1.0, 1.0, "mm", QFont());
        const auto bar = p.ScaleBarLayout(Target::Canvas, QSize(800, 600));
        // m = 120 at zoom 2, the bar runs to the right of its start.
        EXPECT_EQ(bar.lines[1].p1(), QPoint(680, pos == 2 ? 120 : 480));
        EXPECT_EQ(bar.lines[1].p2().x(), 680 + 200);
    }
}

TEST(OverlayScaleBar, XYStyleHasTwoArmsAndTwoLabels)
{
    CColorSetting s = Settings();
    s.ScaleType = 1;
    COverlayPainter p(s, 1.0f, 1.0, 0.5, "mm", QFont());
    const auto bar = p.ScaleBarLayout(Target::Canvas, QSize(800, 600));
    ASSERT_EQ(bar.lines.size(), 4u);
    EXPECT_EQ(bar.lines[1], QLine(60, 160, 160, 160)); // yb = 60 + 100
    EXPECT_EQ(bar.lines[2], QLine(160, 160, 160, 60));
    EXPECT_EQ(bar.lines[3], QLine(150, 60, 170, 60));
    ASSERT_EQ(bar.labels.size(), 2u);
    EXPECT_EQ(bar.labels[0].topLeft, QPoint(60, 170));
    EXPECT_EQ(bar.labels[1].topLeft, QPoint(170, 60));
    EXPECT_EQ(bar.labels[1].text, QStringLiteral("50.00mm"));

    s.ScaleType = 7;
    EXPECT_TRUE(COverlayPainter(s, 1.0f, 1.0, 1.0, "mm", QFont())
                        .ScaleBarLayout(Target::Canvas, QSize(800, 600))
                        .lines.empty());
}

TEST(OverlayScaleBar, UnusableScaleMeasuresInPixels)
{
    COverlayPainter p(Settings(), 1.0f, 0.0, std::nan(""), "px", QFont());
    const auto bar = p.ScaleBarLayout(Target::Canvas, QSize(800, 600));
    EXPECT_EQ(bar.lines[1], QLine(60, 60, 160, 60));
}

TEST(OverlaySavedPicture, EverythingAtZoomOneAndTheBarInThePictureCorner)
{
    CColorSetting s = Settings();
    s.ScalePos = 3;
    COverlayPainter p(s, 3.0f, 0.5, 0.5, "mm", QFont());
    EXPECT_EQ(VerticalXs(p.GridLines(Target::Image, 400, 300)).front(), 20);
    const auto ruler = p.RulerLines(Target::Image, 400, 300, 99, 99); // offsets ignored
    EXPECT_EQ(ruler[1], QLine(200, 0, 200, 300));
    EXPECT_EQ(ruler[2], QLine(190, 130, 190, 170)); // step 10, half-length 20
    const QSize area =
            COverlayPainter::ScaleBarArea(Target::Image, QSize(1600, 900), QSize(400, 300));
    EXPECT_EQ(area, QSize(400, 300));
    const auto bar = p.ScaleBarLayout(Target::Image, area);
    EXPECT_EQ(bar.lines[0], QLine(340, 230, 340, 250)); // margin 60, end ticks 10
    EXPECT_EQ(bar.lines[1], QLine(340, 240, 540, 240));
    EXPECT_EQ(COverlayPainter::ScaleBarArea(Target::Frame, QSize(1600, 900), QSize(400, 300)),
            QSize(1600, 900));
}

TEST(OverlayCrossLines, HiddenLinesAreNotDrawnAndWideDashesAreSolid)
{
    CCrossLine shown;
    shown.x = 10;
    shown.y = 20;
    shown.size = 1;
    shown.colour = 0x0000FF;
    CCrossLine hidden = shown;
    hidden.shown = 0;
    hidden.x = 30;
    QImage image(50, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        COverlayPainter::DrawCrossLines(
                painter, { shown, hidden }, [](QPoint p) { return p; }, 50, 40);
    }
    EXPECT_EQ(image.pixelColor(10, 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(40, 20), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(30, 5), QColor(Qt::black));

    CCrossLine dashed = shown;
    dashed.type = 1;
    EXPECT_NE(COverlayPainter::CrossLinePen(dashed).style(), Qt::SolidLine);
    dashed.size = 3;
    EXPECT_EQ(COverlayPainter::CrossLinePen(dashed).style(), Qt::SolidLine);
    EXPECT_EQ(COverlayPainter::CrossLinePen(dashed).width(), 3);
}

TEST(OverlayCrossLines, PositionGoesThroughTheViewTransform)
{
    CCrossLine line;
    line.x = 100;
    line.y = 50;
    const auto toWindow = [](QPoint p) { return QPoint(p.x() * 2 - 30, p.y() * 2 - 10); };
    const auto segments =
            COverlayPainter::CrossLineSegments(line, toWindow(QPoint(100, 50)), 640, 480);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0], QLine(0, 90, 640, 90));
    EXPECT_EQ(segments[1], QLine(170, 0, 170, 480));
}

TEST(OverlayFlip, BottomUpBuffersGetMirroredRowsAndUprightLabels)
{
    CColorSetting s = Settings();
    s.ScaleType = 0;
    COverlayPainter p(s, 1.0f, 1.0, 1.0, "mm", QFont());
    p.SetFlipHeight(100);
    QImage image(120, 100, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        p.DrawGrid(painter, Target::Frame, 120, 100);
        p.DrawScaleBar(painter, Target::Frame, QSize(120, 100));
    }
    EXPECT_EQ(image.pixelColor(5, 99 - 20), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(5, 20), QColor(Qt::black));
    // The label hangs below the bar in the picture, so above it in the buffer.
    int labelPixels = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 60; x < 120; ++x)
            labelPixels += image.pixelColor(x, y) == QColor(Qt::blue) ? 1 : 0;
    EXPECT_GT(labelPixels, 0);
    for (int y = 99 - 60; y < 100; ++y)
        for (int x = 60; x < 120; ++x)
            ASSERT_NE(image.pixelColor(x, y), QColor(Qt::blue)) << x << "," << y;
}

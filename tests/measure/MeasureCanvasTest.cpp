#include "calibration/CalibrationSlot.h"
#include "measure/CircleShape.h"
#include "measure/DistanceCircleShape.h"
#include "measure/DistanceShape.h"
#include "measure/LineShape.h"
#include "measure/MeasureCanvas.h"
#include "ToolDrivers.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

class MeasureCanvasTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_view = std::make_unique<QWidget>();
        m_view->resize(640, 480);
        m_canvas = new CMeasureCanvas(m_dir.filePath(QStringLiteral("Setting.ini")), m_view.get());
        m_canvas->setGeometry(0, 0, 640, 480);
        CCalibrationSlot slot;
        slot.unit = 1;
        slot.xPerPixel = slot.yPerPixel = 1.0;
        slot.xLength = slot.yLength = 200.0;
        slot.left = slot.top = 100;
        slot.right = slot.bottom = 300;
        CColorSetting colours;
        colours.LineColor = 0x0000FF00;
        colours.LineSize = 1;
        colours.TextColor = 0x00FFFFFF;
        m_canvas->Create(colours, slot);
        m_canvas->SetZoom(1.0f, CMeasureCanvas::X1);
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(Qt::darkGray);
        m_canvas->SetStillImage(picture);
        m_canvas->SetStillMode(true);
    }

    CShapeManager& M() { return m_canvas->Manager(); }

    void Press(QPoint p) { QTest::mousePress(m_canvas, Qt::LeftButton, {}, p); }
    void Release(QPoint p) { QTest::mouseRelease(m_canvas, Qt::LeftButton, {}, p); }
    void Click(QPoint p)
    {
        Press(p);
        Release(p);
    }
    void Move(QPoint p, Qt::KeyboardModifiers modifiers = {},
            Qt::MouseButtons buttons = Qt::LeftButton)
    {
        QMouseEvent event(
                QEvent::MouseMove, p, m_canvas->mapToGlobal(p), Qt::NoButton, buttons, modifiers);
        QApplication::sendEvent(m_canvas, &event);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        Press(from);
        Move(to, modifiers);
        Release(to);
    }
    void DoubleClick(QPoint p)
    {
        QMouseEvent event(QEvent::MouseButtonDblClick, p, m_canvas->mapToGlobal(p), Qt::LeftButton,
                Qt::LeftButton, {});
        QApplication::sendEvent(m_canvas, &event);
        Release(p);
    }
    void RightButton(QEvent::Type type, QPoint p)
    {
        QMouseEvent event(type, p, m_canvas->mapToGlobal(p), Qt::RightButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::RightButton, {});
        QApplication::sendEvent(m_canvas, &event);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_view;
    CMeasureCanvas* m_canvas = nullptr;
};

} // namespace

TEST_F(MeasureCanvasTest, LineNeedsFivePixels)
{
    QSignalSpy ended(m_canvas, &CMeasureCanvas::toolEnded);
    ChooseTool(m_canvas->Tools(), LineTool);
    Click({ 100, 100 });
    EXPECT_EQ(M().ShapeCount(), 0);
    EXPECT_EQ(m_canvas->ToolMode(), SelectMode);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.at(0).at(0).toInt(), LineTool);

    ChooseTool(m_canvas->Tools(), LineTool);
    Drag({ 100, 100 }, { 104, 104 });
    EXPECT_EQ(M().ShapeCount(), 0);

    ChooseTool(m_canvas->Tools(), LineTool);
    Drag({ 100, 100 }, { 105, 100 });
    ASSERT_EQ(M().ShapeCount(), 1);
    EXPECT_EQ(M().ShapeAt(0)->Point(0), QPoint(100, 100));
    EXPECT_EQ(M().ShapeAt(0)->Point(1), QPoint(105, 100));
    EXPECT_EQ(m_canvas->RowIds().size(), 1u);
}

TEST_F(MeasureCanvasTest, ShiftSnapsTheMovingEnd)
{
    const struct
    {
        QPoint to;
        QPoint snapped;
    } cases[] = { { { 110, 103 }, { 110, 100 } }, { { 103, 110 }, { 100, 110 } },
        { { 105, 105 }, { 100, 105 } } };
    for (const auto& c : cases) {
        M().RemoveAll();
        ChooseTool(m_canvas->Tools(), LineTool);
        Drag({ 100, 100 }, c.to, Qt::ShiftModifier);
        ASSERT_EQ(M().ShapeCount(), 1);
        EXPECT_EQ(M().ShapeAt(0)->Point(1), c.snapped);
    }
}

TEST_F(MeasureCanvasTest, ThreeCircleClicksMakeOneCircle)
{
    ChooseTool(m_canvas->Tools(), CircleTool);
    Click({ 160, 150 });
    Move({ 150, 160 }, {}, Qt::NoButton);
    Click({ 150, 160 });
    Click({ 140, 150 });
    ASSERT_EQ(M().ShapeCount(), 1);
    auto* circle = static_cast<CCircleShape*>(M().ShapeAt(0));
    EXPECT_TRUE(circle->IsComplete());
    EXPECT_EQ(circle->Centre(), QPoint(150, 150));
    EXPECT_EQ(m_canvas->ToolMode(), SelectMode);
    EXPECT_EQ(m_canvas->RefreshResults().at(0).result, "20.000");
}

TEST_F(MeasureCanvasTest, SixDistanceClicks)
{
    ChooseTool(m_canvas->Tools(), DistanceTool);
    const QPoint a(150, 150);
    const QPoint b(350, 150);
    const QPoint rim[] = { { 10, 0 }, { 0, 10 }, { -10, 0 } };
    for (const QPoint& r : rim)
        Click(a + r);
    ASSERT_EQ(M().ShapeCount(), 1);
    auto* distance = static_cast<CDistanceShape*>(M().ShapeAt(0));
    ASSERT_NE(distance->CircleA(), nullptr); // shown after the third click
    EXPECT_EQ(distance->CircleB(), nullptr);
    EXPECT_EQ(m_canvas->ToolMode(), DistanceTool);
    for (const QPoint& r : rim)
        Click(b + r);
    ASSERT_NE(distance->CircleB(), nullptr);
    ASSERT_NE(distance->ConnectingLine(), nullptr);
    EXPECT_EQ(distance->ChildCount(), 3);
    EXPECT_EQ(distance->ConnectingLine()->Point(0), b);
    EXPECT_EQ(distance->ConnectingLine()->Point(1), a);
    EXPECT_EQ(m_canvas->ToolMode(), SelectMode);

    const auto rows = m_canvas->RefreshResults();
    ASSERT_EQ(rows.size(), 4u) << "distance, degree and the two circle diameters";
    EXPECT_EQ(rows[0].type, "distance");
    EXPECT_EQ(rows[0].result, "200.000");
    EXPECT_EQ(rows[1].result, "0.0"); // from A towards B, not "-0.0"

    // Dragging a centre keeps the line on it.
    Drag(a, a + QPoint(0, 30));
    EXPECT_EQ(distance->ConnectingLine()->Point(1), a + QPoint(0, 30));
}

TEST_F(MeasureCanvasTest, DoubleClickAfterTwoAreaClicksRemovesTheArea)
{
    ChooseTool(m_canvas->Tools(), AreaTool);
    Click({ 100, 100 });
    Click({ 200, 100 });
    DoubleClick({ 200, 100 });
    EXPECT_EQ(M().ShapeCount(), 0);
    EXPECT_EQ(m_canvas->ToolMode(), SelectMode);

    ChooseTool(m_canvas->Tools(), AreaTool);
    Click({ 100, 100 });
    Click({ 200, 100 });
    Click({ 200, 200 });
    DoubleClick({ 200, 200 });
    ASSERT_EQ(M().ShapeCount(), 1);
    EXPECT_EQ(M().ShapeAt(0)->PointCount(), 3);
    EXPECT_EQ(m_canvas->RefreshResults().at(0).result, "5000.0000");
}

TEST_F(MeasureCanvasTest, AtZoomTwoAVertexIsGrabbedFromUnderTwentyWindowPixels)
{
    m_canvas->setGeometry(0, 0, 1280, 960);
    m_canvas->SetZoom(2.0f, CMeasureCanvas::X2);
    ChooseTool(m_canvas->Tools(), LineTool);
    Drag({ 200, 200 }, { 400, 200 }); // image (100, 100)-(200, 100)
    ASSERT_EQ(M().ShapeCount(), 1);
    CMeasureShape* line = M().ShapeAt(0);
    ASSERT_EQ(line->Point(1), QPoint(200, 100));

    Drag({ 422, 200 }, { 500, 300 }); // 11 image pixels away: nothing grabbed
    EXPECT_EQ(line->Point(1), QPoint(200, 100));
    Drag({ 418, 200 }, { 500, 300 }); // 9 image pixels away
    EXPECT_EQ(line->Point(1), QPoint(250, 150));
    EXPECT_EQ(M().HitCursor(500, 300), 1);
}

TEST_F(MeasureCanvasTest, PanningNeverLeavesThePicture)
{
    m_view->resize(200, 150);
    m_canvas->setGeometry(0, 0, 400, 300);
    m_canvas->SetZoom(2.0f, CMeasureCanvas::X2);
    RightButton(QEvent::MouseButtonPress, { 100, 100 });
    Move({ -900, -900 }, {}, Qt::RightButton);
    // The far edges stop clear of the scroll bars.
    const QSize bars(m_view->findChild<QScrollBar*>("canvasVScroll")->width(),
            m_view->findChild<QScrollBar*>("canvasHScroll")->height());
    ASSERT_GT(bars.width(), 0);
    EXPECT_EQ(m_canvas->ScrollOrigin(), QPoint(-200 - bars.width(), -150 - bars.height()));
    EXPECT_EQ(M().Pan(), -m_canvas->ScrollOrigin());
    Move({ 50, 80 }, {}, Qt::RightButton);
    EXPECT_EQ(m_canvas->ScrollOrigin(), QPoint(0, 0));
    RightButton(QEvent::MouseButtonRelease, { 50, 80 });
    EXPECT_EQ(m_canvas->ScrollOrigin(), QPoint(0, 0));

    // "Fit In" never pans.
    m_canvas->SetZoom(0.5f, CMeasureCanvas::FitIn);
    RightButton(QEvent::MouseButtonPress, { 100, 100 });
    Move({ 0, 0 }, {}, Qt::RightButton);
    RightButton(QEvent::MouseButtonRelease, { 0, 0 });
    EXPECT_EQ(m_canvas->ScrollOrigin(), QPoint(0, 0));
}

TEST_F(MeasureCanvasTest, ScrollBarsAndTheWheelMoveALargePicture)
{
    auto* h = m_view->findChild<QScrollBar*>("canvasHScroll");
    auto* v = m_view->findChild<QScrollBar*>("canvasVScroll");
    ASSERT_TRUE(h && v);
    m_view->show();
    EXPECT_FALSE(h->isVisible()) << "the picture fits";
    EXPECT_FALSE(v->isVisible());

    // Only wider than the view: one bar, and the other edge keeps its whole height.
    m_view->resize(300, 600);
    EXPECT_TRUE(h->isVisible());
    EXPECT_FALSE(v->isVisible());
    EXPECT_FALSE(m_view->findChild<QWidget*>("canvasScrollCorner")->isVisible());
    m_view->resize(200, 150);
    m_canvas->setGeometry(0, 0, 1280, 960);
    m_canvas->SetZoom(2.0f, CMeasureCanvas::X2);
    ASSERT_TRUE(h->isVisible() && v->isVisible());
    EXPECT_EQ(h->maximum(), -m_canvas->ScrollLimit().x());
    EXPECT_EQ(h->geometry().bottom(), 149);
    EXPECT_EQ(v->geometry().right(), 199);
    auto* corner = m_view->findChild<QWidget*>("canvasScrollCorner");
    ASSERT_TRUE(corner && corner->isVisible()) << "the picture shows between the bars";
    EXPECT_EQ(corner->geometry(), QRect(v->x(), h->y(), v->width(), h->height()));
    h->setValue(300);
    EXPECT_EQ(m_canvas->ScrollOrigin(), QPoint(-300, 0));
    EXPECT_EQ(M().Pan(), QPoint(300, 0));

    auto wheel = [&](QPoint delta, Qt::KeyboardModifiers modifiers, QPoint at = { 100, 75 }) {
        QWheelEvent event(at, m_canvas->mapToGlobal(at), {}, delta, Qt::NoButton, modifiers,
                Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_canvas, &event);
    };
    wheel({ 0, -120 }, {}); // a notch down: the picture moves up
    EXPECT_EQ(m_canvas->ScrollOrigin(), QPoint(-300, -CMeasureCanvas::kWheelStep));
    EXPECT_EQ(v->value(), CMeasureCanvas::kWheelStep);
    wheel({ 0, 120 }, Qt::ShiftModifier);
    EXPECT_EQ(m_canvas->ScrollOrigin().x(), -300 + CMeasureCanvas::kWheelStep);
    wheel({ 0, 12000 }, {});
    EXPECT_EQ(m_canvas->ScrollOrigin().y(), 0) << "stops at the edge";

    // Ctrl+wheel asks for a zoom step and keeps the picture point under the pointer.
    QList<int> steps;
    QObject::connect(m_canvas, &CMeasureCanvas::zoomStepRequested, [&](int step) {
        steps << step;
        m_canvas->setGeometry(0, 0, 1920, 1440);
        m_canvas->SetZoom(3.0f, CMeasureCanvas::X3);
    });
    m_canvas->SetScrollOrigin({ -200, -100 });
    const QPoint at(100, 75);
    const QPoint before = M().WindowToImage(at);
    wheel({ 0, 120 }, Qt::ControlModifier, at);
    EXPECT_EQ(steps, QList<int>({ 1 }));
    EXPECT_EQ(M().WindowToImage(at), before);
    EXPECT_EQ(m_canvas->ScrollOrigin(), QPoint(-350, -188));
}

TEST_F(MeasureCanvasTest, TextToolAsksForTheText)
{
    int asked = 0;
    std::optional<QString> answer = QStringLiteral("note");
    m_canvas->SetTextInputHook([&] {
        ++asked;
        return answer;
    });
    ChooseTool(m_canvas->Tools(), TextTool);
    Click({ 50, 60 });
    EXPECT_EQ(M().Texts(), QStringList { QStringLiteral("note") });
    EXPECT_EQ(m_canvas->ToolMode(), SelectMode);

    answer.reset();
    ChooseTool(m_canvas->Tools(), TextTool);
    Click({ 50, 60 });
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(M().TextCount(), 1);
}

TEST_F(MeasureCanvasTest, ChoosingTheActiveToolAgainEndsIt)
{
    ChooseTool(m_canvas->Tools(), VerticalLinesTool);
    Click({ 100, 100 });
    Click({ 300, 100 });
    Click({ 200, 150 });
    EXPECT_EQ(ChooseTool(m_canvas->Tools(), VerticalLinesTool), SelectMode);
    ASSERT_EQ(M().ShapeCount(), 1);
    EXPECT_FALSE(M().ShapeAt(0)->InConstruction());

    ChooseTool(m_canvas->Tools(), Angle3Tool);
    Click({ 10, 10 });
    ChooseTool(m_canvas->Tools(), Angle4Tool); // the half-drawn angle goes
    EXPECT_EQ(M().ShapeCount(), 1);
}

TEST_F(MeasureCanvasTest, PaintsTheStillPictureWithTheShapes)
{
    ChooseTool(m_canvas->Tools(), LineTool);
    Drag({ 100, 100 }, { 300, 100 });
    const QImage shot = m_canvas->grab().toImage();
    EXPECT_EQ(shot.pixel(50, 50), QColor(Qt::darkGray).rgb());
    EXPECT_EQ(shot.pixel(150, 100), qRgb(0, 255, 0));
}

TEST_F(MeasureCanvasTest, CrossLinesPersist)
{
    M().AppendCrossLine(CCrossLine());
    const QString path = m_dir.filePath(QStringLiteral("Setting.ini"));
    m_view.reset(); // writes the cross lines
    CMeasureCanvas again(path);
    EXPECT_EQ(again.Manager().CrossLineCount(), 1);
}

TEST_F(MeasureCanvasTest, ReferenceDragReportsEachStep)
{
    QSignalSpy moved(m_canvas, &CMeasureCanvas::calibrationMoved);
    M().EnableCalibrationRuler(true);
    ChooseTool(m_canvas->Tools(), SelectMode);
    UseTool(M(), SelectMode);
    Press({ 300, 200 }); // right end of the horizontal bar
    Move({ 310, 200 });
    Move({ 320, 200 });
    Release({ 320, 200 });
    ASSERT_EQ(moved.count(), 2);
    const auto slot = moved.at(1).at(0).value<CCalibrationSlot>();
    EXPECT_EQ(slot.left, 80u);
    EXPECT_EQ(slot.right, 320u);
    EXPECT_DOUBLE_EQ(M().GetCalibration().xPerPixel, 200.0 / 240);
}

namespace {
// Counts the paint events a widget gets.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

// No timer repaints the canvas: a still picture is repainted because its drawing changed, from
// whatever thread changed it, and left alone otherwise.
TEST_F(MeasureCanvasTest, AStillPictureIsRepaintedForChangesOnlyAndTheHookHearsEach)
{
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    PaintCounter counter(m_canvas);
    int hooked = 0;
    m_canvas->SetDrawingChangedHook([&hooked] { ++hooked; });
    QTest::qWait(50);
    counter.paints = 0;
    QTest::qWait(250);
    EXPECT_EQ(counter.paints, 0) << "nothing changed, nothing painted";

    // A new scale changes the results' text, yet asks for no repaint of its own.
    CCalibrationSlot slot = M().GetCalibration();
    slot.xPerPixel = slot.yPerPixel = 2.0;
    M().SetCalibration(slot);
    EXPECT_GE(hooked, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000));
    counter.paints = 0;
    std::thread([this] { M().SetToolResumesOpenShapes(true); }).join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 2000))
            << "a change made on another thread is painted too";

    // Live, the pump's next view shows the change: the canvas does not paint for it.
    m_canvas->SetStillMode(false);
    QTest::qWait(50);
    counter.paints = 0;
    hooked = 0;
    M().SetToolResumesOpenShapes(false);
    QTest::qWait(100);
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(hooked, 1);
    m_canvas->SetDrawingChangedHook({});
    M().SetToolResumesOpenShapes(true);
    EXPECT_EQ(hooked, 1) << "a removed hook hears nothing";
}

TEST_F(MeasureCanvasTest, TheViewTellsOfScrollZoomSizeAndMode)
{
    QSignalSpy changed(m_canvas, &CMeasureCanvas::viewChanged);
    m_canvas->SetScrollOrigin(QPoint(-10, 0));
    EXPECT_EQ(changed.count(), 1);
    m_canvas->SetZoom(2.0f, CMeasureCanvas::X2);
    EXPECT_GE(changed.count(), 2);
    const int beforeResize = changed.count();
    m_view->show();
    m_canvas->resize(700, 500);
    m_view->resize(600, 400);
    QCoreApplication::processEvents();
    EXPECT_GE(changed.count(), beforeResize + 2) << "the canvas and the area it sits in";
    const int beforeMode = changed.count();
    m_canvas->SetStillMode(true);
    EXPECT_EQ(changed.count(), beforeMode) << "still already";
    m_canvas->SetStillMode(false);
    EXPECT_EQ(changed.count(), beforeMode + 1);
}

// A live frame repaints the picture, not the opaque bars and panels over it, and the live
// painter alone paints the canvas.
TEST_F(MeasureCanvasTest, ALiveViewRepaintsThePictureButNotWhatCoversIt)
{
    auto* h = m_view->findChild<QScrollBar*>("canvasHScroll");
    auto* v = m_view->findChild<QScrollBar*>("canvasVScroll");
    auto* panel = new QWidget(m_view.get()); // a panel floating over the picture
    panel->setAutoFillBackground(true);
    panel->setGeometry(10, 10, 50, 40);
    auto* note = new QWidget(m_view.get()); // a see-through note: the picture shows under it
    note->setGeometry(80, 10, 50, 40);
    m_view->resize(200, 150);
    m_canvas->setGeometry(0, 0, 1280, 960);
    m_canvas->SetZoom(2.0f, CMeasureCanvas::X2);
    m_canvas->SetStillMode(false);
    int livePaints = 0;
    m_canvas->SetLivePainter([&livePaints](QPainter& painter) {
        ++livePaints;
        painter.fillRect(0, 0, 100, 100, Qt::green);
    });
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    ASSERT_TRUE(h->isVisible() && v->isVisible());
    PaintCounter bars(h);
    PaintCounter bar(v);
    PaintCounter covering(panel);
    PaintCounter underneath(note);
    QTest::qWait(50);
    livePaints = 0;
    for (int i = 0; i < 3; ++i) {
        m_canvas->UpdateLiveView();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(livePaints, 3);
    EXPECT_EQ(bars.paints + bar.paints, 0);
    EXPECT_EQ(covering.paints, 0);
    EXPECT_EQ(underneath.paints, 3);
    const QImage shot = m_view->grab().toImage();
    EXPECT_EQ(shot.pixel(90, 90), qRgb(0, 255, 0)) << "the live painter's own pixels";
}

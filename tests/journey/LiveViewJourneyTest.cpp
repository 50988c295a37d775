#include "JourneyFixture.h"

#include "app/LiveAidsPanel.h"
#include "video/FramePump.h"

#include <QToolButton>

namespace {
// Counts the paints a widget gets.
class CPaintCounter : public QObject
{
public:
    explicit CPaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

bool DarkAround(const QImage& screen, QPoint at)
{
    for (int dy = -2; dy <= 2; ++dy) {
        const QColor c = screen.pixelColor(at + QPoint(0, dy));
        if (c.red() < 80 && c.green() < 80 && c.blue() < 80)
            return true;
    }
    return false;
}
} // namespace

// Live, the pump puts its views onto the window itself: the frames reach the screen without a
// paint of the canvas, a line drawn over the flowing picture is on the screen, and the panel
// opened over the picture is never painted over.
TEST_F(Journey, TheLiveViewReachesTheScreenWithTheDrawingAndLeavesThePanelOverItAlone)
{
    ASSERT_TRUE(PictureFlows());
    CPaintCounter counter(Canvas());
    const uint64_t presented = m_window->Pump()->FramesPresented();
    QTest::qWait(1000);
    EXPECT_GE(m_window->Pump()->FramesPresented(), presented + 5);
    EXPECT_LE(counter.paints, 2) << "frames do not go through the canvas's paint";

    // The pattern's top has no black: the line's pixels are the drawing's.
    DrawLine({ 40, 60 }, { 220, 60 });
    ASSERT_EQ(m_window->ResultList()->topLevelItemCount(), 1);
    ASSERT_TRUE(PictureFlows());
    EXPECT_TRUE(DarkAround(Screen(Canvas()), { 130, 60 }));

    CLiveAidsPanel* panel = m_window->LiveAidsPanel();
    ASSERT_TRUE(panel);
    Click(panel->Header());
    QTest::qWait(300);
    const QImage first = Screen(*panel);
    for (int i = 0; i < 8; ++i) {
        QTest::qWait(70);
        ASSERT_EQ(Screen(*panel), first) << "the picture flowed over the panel, look " << i;
    }
    EXPECT_TRUE(PictureFlows()) << "beside the panel the picture goes on";
}

// A camera that brings a frame a second: what Qt's backing store holds of the canvas is old,
// and a window closed over the picture must not leave that on the screen until the next frame.
TEST_F(Journey, AWindowClosedOverASlowLiveViewLeavesTheNewestViewBehind)
{
    QuitKalvex();
    qputenv("KALVEX_TEST_PATTERN", "smpte framerate=1/1");
    StartKalvex();
    ASSERT_TRUE(QTest::qWaitFor(
            [&] { return m_window->Pump()->CameraFramesPresented() > 0; }, kWaitMs));
    DrawLine({ 40, 60 }, { 220, 60 });
    QTest::qWait(200);
    ASSERT_TRUE(DarkAround(Screen(Canvas()), { 130, 60 }));

    QWidget cover;
    cover.setGeometry(QRect(Canvas().mapToGlobal(QPoint(20, 20)), QSize(300, 120)));
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
    QTest::qWait(100);
    ASSERT_FALSE(DarkAround(Screen(Canvas()), { 130, 60 })) << "the cover is over the line";
    cover.hide();
    QTest::qWait(150);
    EXPECT_TRUE(DarkAround(Screen(Canvas()), { 130, 60 })) << "the newest view is shown again";
}

#include "JourneyFixture.h"

#include "app/CommandTable.h"
#include "base/FrameLayout.h"
#include "measure/MeasureShape.h"

#include <QScrollBar>
#include <QWheelEvent>

namespace {
// Magenta at full strength: no bar of the test pattern has it.
const QColor kMagenta(255, 0, 255);

// Lines three pixels wide in magenta, so their pixels are told from the picture's.
void UseMagenta(CTavoMeasureDlg& window)
{
    window.ColorSetting().LineColor = 0x00FF00FF;
    window.ColorSetting().LineSize = 3;
    window.Canvas()->Manager().ApplyColourSettings(window.ColorSetting());
}

// How many rows of column x near y are magenta: the drawn width of a level line.
int WidthAt(const QImage& screen, int x, int y)
{
    int hits = 0;
    for (int dy = -6; dy <= 6; ++dy)
        hits += screen.pixelColor(x, y + dy) == kMagenta;
    return hits;
}

QList<int> SelectedRows(CResultListCtrl& list)
{
    QList<int> rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        if (list.topLevelItem(i)->isSelected())
            rows << i;
    return rows;
}
} // namespace

// The shape in hand is drawn wider and its row selected; a click on a row takes that row's
// shape in hand, and a click beside every shape lets go.
TEST_F(Journey, TheSelectedShapeIsMarkedOnThePictureAndInTheList)
{
    ASSERT_TRUE(PictureFlows());
    UseMagenta(*m_window);
    SelectScale(1);
    DrawLine(QPoint(100, 100), QPoint(300, 100));
    DrawLine(QPoint(100, 250), QPoint(300, 250));
    CResultListCtrl& list = *m_window->ResultList();
    ASSERT_EQ(list.topLevelItemCount(), 2);
    const auto widths = [&](int upper, int lower) {
        return QTest::qWaitFor(
                [&] {
                    const QImage screen = Screen(Canvas());
                    return WidthAt(screen, 130, 100) == upper && WidthAt(screen, 130, 250) == lower;
                },
                kWaitMs);
    };
    const int plain = 3;
    const int marked = plain + CMeasureShape::kMarkedExtraWidth;
    // The line tool hands over to selecting: a click on the upper line takes it.
    Click(&Canvas(), QPoint(200, 100));
    EXPECT_TRUE(widths(marked, plain));
    EXPECT_EQ(SelectedRows(list), QList<int>({ 0 }));

    // A click on the second row takes the lower line.
    const QRect second = list.visualItemRect(list.topLevelItem(1));
    Click(list.viewport(), second.center());
    EXPECT_TRUE(widths(plain, marked));
    EXPECT_EQ(SelectedRows(list), QList<int>({ 1 }));
    EXPECT_TRUE(Canvas().Manager().HasSelection());

    Click(&Canvas(), QPoint(400, 400));
    EXPECT_FALSE(Canvas().Manager().HasSelection());
    EXPECT_TRUE(widths(plain, plain)) << "the row's highlight ends with the press too";
    EXPECT_TRUE(SelectedRows(list).isEmpty());

    // Saved pictures carry the drawing, never the mark.
    Click(&Canvas(), QPoint(200, 250));
    EXPECT_TRUE(widths(plain, marked));
    const QSize size = m_window->CaptureSize();
    std::vector<uint8_t> scratch(static_cast<size_t>(FrameStride(size.width())) * size.height());
    Canvas().Manager().RenderOnto(scratch.data(), size.width(), size.height());
    int rows = 0;
    for (int y = 0; y < size.height(); ++y)
        rows += scratch[static_cast<size_t>(y) * FrameStride(size.width()) + 3 * 130]
                != CShapeManager::kBurnInBackground;
    EXPECT_EQ(rows, 2 * plain);
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
}

// A picture larger than the view shows scroll bars; they, the wheel and a right drag move it,
// Ctrl+wheel zooms about the pointer, and the shortcut list names the mouse's ways.
TEST_F(Journey, AZoomedPictureScrollsByBarsWheelAndRightDrag)
{
    ASSERT_TRUE(PictureFlows());
    auto* h = m_window->findChild<QScrollBar*>(QStringLiteral("canvasHScroll"));
    auto* v = m_window->findChild<QScrollBar*>(QStringLiteral("canvasVScroll"));
    ASSERT_TRUE(h && v);
    EXPECT_FALSE(h->isVisible()) << "fitted, nothing to scroll";
    SelectScale(3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return h->isVisible() && v->isVisible(); }, kWaitMs));
    QWidget* view = Canvas().parentWidget();
    EXPECT_EQ(h->geometry().bottom(), view->height() - 1);
    EXPECT_EQ(v->geometry().right(), view->width() - 1);

    // Dragging the bar's handle moves the picture.
    const QImage before = Screen(*view);
    const QPoint handle(24, h->height() / 2);
    QTest::mousePress(WindowOf(h), Qt::LeftButton, {}, InWindow(h, handle));
    for (int i = 1; i <= 5; ++i)
        QTest::mouseMove(WindowOf(h), InWindow(h, handle + QPoint(40 * i, 0)));
    QTest::mouseRelease(WindowOf(h), Qt::LeftButton, {}, InWindow(h, handle + QPoint(200, 0)));
    EXPECT_LT(Canvas().ScrollOrigin().x(), 0);
    EXPECT_EQ(-Canvas().ScrollOrigin().x(), h->value());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Screen(*view) != before; }, kWaitMs));

    // The wheel scrolls down; Ctrl+wheel zooms out about the pointer.
    const auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
        const QPoint at(300, 200);
        QWheelEvent event(at, Canvas().mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton,
                modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Canvas(), &event);
    };
    wheel(-120, {});
    EXPECT_EQ(v->value(), CMeasureCanvas::kWheelStep);
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(Panel().ScaleCombo()->currentIndex(), 2);
    EXPECT_EQ(Canvas().ZoomChoiceValue(), CMeasureCanvas::X2);

    // The right drag pans too, and the bars follow it.
    const QPoint origin = Canvas().ScrollOrigin();
    ASSERT_LT(Canvas().ScrollLimit().y(), origin.y() - 50);
    RightDrag(&Canvas(), QPoint(300, 300), QPoint(0, -50));
    EXPECT_EQ(Canvas().ScrollOrigin(), origin + QPoint(0, -50));
    EXPECT_EQ(v->value(), -Canvas().ScrollOrigin().y());

    const QString list = CCommandTable::ListHtml();
    for (const char* named : { "Right-drag", "Ctrl+Wheel", "Wheel, Shift+Wheel" })
        EXPECT_TRUE(list.contains(QLatin1String(named))) << named;
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
}

// Another Resolution of another shape: the drawing is scaled by the width about the middle,
// and the user is told so once.
TEST_F(Journey, AResolutionOfAnotherShapeIsSaidOnce)
{
    ASSERT_TRUE(PictureFlows());
    SelectScale(1);
    DrawLine(QPoint(100, 240), QPoint(300, 240));
    CShapeManager& manager = Canvas().Manager();
    SelectResolution(QStringLiteral("1280 X 720"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->CaptureSize() == QSize(1280, 720); }, 3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_modals.TakeMessages().isEmpty(); }, kWaitMs))
            << "not told of the other shape";
    EXPECT_EQ(manager.ShapeAt(0)->Point(0), QPoint(200, 360)) << "the middle row stays the middle";
    EXPECT_EQ(manager.ShapeAt(0)->Point(1), QPoint(600, 360));
    // Uncalibrated, the row reads the line's new pixels.
    EXPECT_EQ(m_window->ResultList()->topLevelItem(0)->text(2), QStringLiteral("400.000"));

    // The same shape again, or another shape a second time: nothing more is said.
    SelectResolution(QStringLiteral("1920 X 1080"));
    ASSERT_TRUE(
            QTest::qWaitFor([&] { return m_window->CaptureSize() == QSize(1920, 1080); }, 3000));
    SelectResolution(QStringLiteral("640 X 480"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_window->CaptureSize() == QSize(640, 480); }, 3000));
    ASSERT_TRUE(PictureFlows());
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
    EXPECT_EQ(manager.ShapeAt(0)->Point(0), QPoint(100, 240));
}

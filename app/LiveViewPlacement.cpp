#include "app/LiveViewPlacement.h"

#include "measure/MeasureCanvas.h"
#include "video/WindowPresenter.h"

#include <QEvent>
#include <QTimer>
#include <QWindow>

CLiveViewPlacement::CLiveViewPlacement(CMeasureCanvas& canvas, CWindowPresenter& presenter,
        std::function<void()> represent, QObject* parent)
    : QObject(parent), m_canvas(canvas), m_presenter(presenter), m_represent(std::move(represent))
{
    m_top = canvas.window();
    m_top->installEventFilter(this);
    WatchWindow();
    canvas.SetLiveViewPresented(true);
}

CLiveViewPlacement::~CLiveViewPlacement()
{
    m_canvas.SetLiveViewPresented(false);
    m_presenter.SetTarget(0, {}, {});
}

void CLiveViewPlacement::WatchWindow()
{
    QWindow* window = m_top ? m_top->windowHandle() : nullptr;
    if (window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (m_window)
        m_window->installEventFilter(this);
}

void CLiveViewPlacement::Refresh()
{
    const QWidget* top = m_top;
    const bool shows = top && m_window && m_window->isExposed() && !m_canvas.StillMode()
            && m_canvas.isVisible() && qFuzzyCompare(m_window->devicePixelRatio(), 1.0);
    if (!shows) {
        m_presenter.SetTarget(0, {}, {});
        return;
    }
    const QPoint origin = m_canvas.mapTo(top, QPoint(0, 0));
    m_presenter.SetTarget(static_cast<uint32_t>(m_window->winId()), origin,
            m_canvas.LiveRegion(true).translated(origin));
}

bool CLiveViewPlacement::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::WinIdChange:
    case QEvent::Show:
        if (watched == m_top)
            WatchWindow();
        Refresh();
        break;
    case QEvent::Hide:
        Refresh();
        break;
    case QEvent::UpdateRequest:
        // Before Qt paints: what it paints now is left out of the puts from here on.
        Refresh();
        break;
    case QEvent::Expose:
        Refresh();
        // Qt answers an expose from its backing store, where the live view is old: once that
        // is on the screen, the view is shown again over it.
        QTimer::singleShot(0, this, [this] { m_represent(); });
        break;
    default:
        break;
    }
    return false;
}

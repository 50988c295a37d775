#include "measure/MeasureCanvas.h"

#include "base/ColorSetting.h"
#include "base/FrameLayout.h"
#include "base/IniFile.h"
#include "base/Trace.h"
#include "calibration/CalibrationSlot.h"
#include "measure/MeasureShape.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QThread>
#include <QWheelEvent>

#include <algorithm>
#include <cstring>

CMeasureCanvas::CMeasureCanvas(const QString& settingsPath, QWidget* parent)
    : QWidget(parent), m_settingsPath(settingsPath)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The right button pans the picture: its press and release belong to the canvas.
    setContextMenuPolicy(Qt::PreventContextMenu);
    m_manager.SetCrossLines(CCrossLine::LoadAll(CIniFile(settingsPath)));
    m_manager.SetClientSize(size());
    m_manager.SetInvalidateHook([this](const QRect& rect) {
        // Live, the pump's next view shows the change.
        if (!m_bStill && m_liveViewPresented)
            return;
        if (rect.isEmpty())
            update();
        else
            update(rect);
    });
    m_manager.SetCalibrationMovedHook([this] { OnCalibrationMoved(); });
    m_manager.SetChangeHook([this] { OnDrawingChanged(); });
    m_manager.Tools().SetEndedHook([this](int mode) { emit toolEnded(mode); });
    if (parent) {
        m_hBar = new QScrollBar(Qt::Horizontal, parent);
        m_hBar->setObjectName(QStringLiteral("canvasHScroll"));
        m_vBar = new QScrollBar(Qt::Vertical, parent);
        m_vBar->setObjectName(QStringLiteral("canvasVScroll"));
        // The square where the two bars meet would otherwise show the picture through.
        m_barCorner = new QWidget(parent);
        m_barCorner->setObjectName(QStringLiteral("canvasScrollCorner"));
        m_barCorner->setAutoFillBackground(true);
        m_barCorner->hide();
        for (QScrollBar* bar : { m_hBar, m_vBar }) {
            bar->hide();
            bar->setSingleStep(kWheelStep / 3);
            connect(bar, &QScrollBar::valueChanged, this, &CMeasureCanvas::OnScrollBar);
        }
        parent->installEventFilter(this);
    }
}

CMeasureCanvas::~CMeasureCanvas()
{
    m_manager.SetChangeHook({});
    m_manager.SetInvalidateHook({});
    m_manager.SetCalibrationMovedHook({});
    m_manager.Tools().SetEndedHook({});
    if (m_crossLinesHandedOver)
        return;
    CIniFile ini(m_settingsPath);
    CCrossLine::SaveAll(ini, m_manager.CrossLines());
    if (!ini.Save())
        qCWarning(lcTrace) << "cross lines not written:" << m_settingsPath << ini.LastError();
}

void CMeasureCanvas::HandOverCrossLines(CIniFile& ini)
{
    CCrossLine::SaveAll(ini, m_manager.CrossLines());
    m_crossLinesHandedOver = true;
}

void CMeasureCanvas::Create(const CColorSetting& colours, const CCalibrationSlot& calibration)
{
    m_manager.ApplyColourSettings(colours);
    m_manager.SetCalibration(calibration);
    m_manager.EnableCalibrationRuler(false);
    // What creating the window handed over is where the drawing's history begins.
    m_manager.ResetHistory();
}

std::vector<CResultRow> CMeasureCanvas::RefreshResults()
{
    std::vector<CResultRow> rows = m_manager.ResultRows();
    m_rowIds.clear();
    for (const CResultRow& row : rows)
        m_rowIds.push_back(row.rowId);
    return rows;
}

// ---- View ----

void CMeasureCanvas::SetZoom(float zoom, int zoomChoice)
{
    m_nZoomChoice = std::clamp(zoomChoice, int(FitIn), int(X3));
    m_scroll = QPoint();
    m_stillScaled = QImage();
    m_manager.SetPan(0, 0);
    m_manager.SetZoom(zoom);
    UpdateScrollBars();
    update();
    emit viewChanged();
}

void CMeasureCanvas::SetScrollOrigin(QPoint scroll)
{
    m_scroll = scroll;
    m_manager.SetPan(-scroll.x(), -scroll.y());
    if (m_hBar) {
        const QSignalBlocker blockH(m_hBar);
        const QSignalBlocker blockV(m_vBar);
        m_hBar->setValue(-scroll.x());
        m_vBar->setValue(-scroll.y());
    }
    update();
    emit viewChanged();
}

QPoint CMeasureCanvas::ScrollLimit() const
{
    QSize view = ViewSize();
    if (m_nZoomChoice == FitIn)
        return {};
    // A bar along one edge takes room from the other direction, which may then need one too.
    const int across = m_vBar ? m_vBar->sizeHint().width() : 0;
    const int down = m_hBar ? m_hBar->sizeHint().height() : 0;
    bool h = width() > view.width();
    bool v = height() > view.height();
    h = h || (v && width() > view.width() - across);
    v = v || (h && height() > view.height() - down);
    if (m_hBar && v)
        view.rwidth() -= across;
    if (m_hBar && h)
        view.rheight() -= down;
    return { std::min(0, view.width() - width()), std::min(0, view.height() - height()) };
}

void CMeasureCanvas::UpdateScrollBars()
{
    if (!m_hBar)
        return;
    const QSize view = ViewSize();
    const QPoint limit = ScrollLimit();
    const bool h = limit.x() < 0;
    const bool v = limit.y() < 0;
    const int across = v ? m_vBar->sizeHint().width() : 0;
    const int down = h ? m_hBar->sizeHint().height() : 0;
    {
        const QSignalBlocker blockH(m_hBar);
        const QSignalBlocker blockV(m_vBar);
        m_hBar->setRange(0, -limit.x());
        m_hBar->setPageStep(std::max(1, view.width() - across));
        m_vBar->setRange(0, -limit.y());
        m_vBar->setPageStep(std::max(1, view.height() - down));
    }
    m_hBar->setGeometry(0, view.height() - down, view.width() - across, down);
    m_vBar->setGeometry(view.width() - across, 0, across, view.height() - down);
    m_barCorner->setGeometry(view.width() - across, view.height() - down, across, down);
    m_hBar->setVisible(h);
    m_vBar->setVisible(v);
    m_barCorner->setVisible(h && v);
    m_hBar->raise();
    m_vBar->raise();
    m_barCorner->raise();
    SetScrollOrigin(Clamped(m_scroll)); // the bars show it too
}

QPoint CMeasureCanvas::Clamped(QPoint scroll) const
{
    const QPoint limit = ScrollLimit();
    return { std::clamp(scroll.x(), limit.x(), 0), std::clamp(scroll.y(), limit.y(), 0) };
}

void CMeasureCanvas::OnScrollBar()
{
    SetScrollOrigin(QPoint(-m_hBar->value(), -m_vBar->value()));
}

bool CMeasureCanvas::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        UpdateScrollBars();
        emit viewChanged();
    }
    return QWidget::eventFilter(watched, event);
}

void CMeasureCanvas::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (delta.y() == 0)
            return;
        // The picture point under the pointer stays under it.
        const QPointF pos = event->position();
        const float before = m_manager.Zoom();
        const QPointF picture = (pos - QPointF(m_scroll)) / before;
        emit zoomStepRequested(delta.y() > 0 ? 1 : -1);
        const float after = m_manager.Zoom();
        if (after == before || after <= 0.0f)
            return;
        SetScrollOrigin(Clamped((pos - picture * after).toPoint()));
        return;
    }
    // Shift turns the wheel sideways; a tilting wheel or a touchpad gives both.
    const QPoint step = (event->modifiers() & Qt::ShiftModifier) ? QPoint(delta.y(), 0) : delta;
    if (ScrollLimit() != QPoint())
        SetScrollOrigin(Clamped(m_scroll + step * kWheelStep / 120));
}

QSize CMeasureCanvas::FittedSize(QSize picture, QSize view)
{
    if (picture.isEmpty() || view.isEmpty())
        return view;
    const double byHeight = static_cast<double>(view.height()) / picture.height();
    const double byWidth = static_cast<double>(view.width()) / picture.width();
    if (byHeight >= byWidth)
        return { view.width(),
            static_cast<int>(
                    static_cast<int64_t>(picture.height()) * view.width() / picture.width()) };
    return { static_cast<int>(
                     static_cast<int64_t>(picture.width()) * view.height() / picture.height()),
        view.height() };
}

QSize CMeasureCanvas::ViewSize() const
{
    return parentWidget() ? parentWidget()->size() : size();
}

// ---- Pictures ----

void CMeasureCanvas::SetStillMode(bool still)
{
    const bool changed = still != m_bStill;
    m_bStill = still;
    update();
    if (changed)
        emit viewChanged();
}

void CMeasureCanvas::SetStillImage(const QImage& image)
{
    m_still = image;
    m_stillScaled = QImage();
    update();
}

void CMeasureCanvas::SetStillFrame(const uint8_t* frame, int width, int height)
{
    if (!frame || width <= 0 || height <= 0) {
        SetStillImage(QImage());
        return;
    }
    const QImage bottomUp(frame, width, height, FrameStride(width), QImage::Format_BGR888);
    SetStillImage(bottomUp.mirrored(false, true));
}

void CMeasureCanvas::UpdateLiveView()
{
    // What covers the picture opaquely (the scroll bars, panels over the view) does not change
    // with it; repainting such covers for every frame would cost more than the frame itself.
    update(parentWidget() ? LiveRegion(false) : QRegion(rect()));
}

QRegion CMeasureCanvas::LiveRegion(bool translucentCovers) const
{
    QRegion region(rect());
    const QWidget* host = parentWidget();
    if (!host)
        return region;
    region &= QRect(-pos(), host->size());
    bool above = false;
    for (const QObject* child : host->children()) {
        if (child == this) {
            above = true;
            continue;
        }
        const auto* cover = qobject_cast<const QWidget*>(child);
        if (!above || !cover || cover->isWindow() || !cover->isVisible())
            continue;
        if (translucentCovers || cover == m_hBar || cover == m_vBar || cover->autoFillBackground())
            region -= cover->geometry().translated(-pos());
    }
    return region;
}

// ---- Pump hooks ----

void CMeasureCanvas::SetPumpHooks(
        std::function<void()> restart, std::function<void()> suspend, std::function<void()> resume)
{
    m_restartHook = std::move(restart);
    m_suspendHook = std::move(suspend);
    m_resumeHook = std::move(resume);
}

void CMeasureCanvas::SetDrawingChangedHook(std::function<void()> hook)
{
    m_manager.SetChangeHook([this, hook = std::move(hook)] {
        if (hook)
            hook();
        OnDrawingChanged();
    });
}

void CMeasureCanvas::OnDrawingChanged()
{
    // Live, the pump's next view shows the change; still, the canvas paints it.
    if (QThread::currentThread() == thread()) {
        if (m_bStill)
            update();
    } else if (!m_repaintPosted.exchange(true)) {
        QMetaObject::invokeMethod(
                this,
                [this] {
                    m_repaintPosted = false;
                    if (m_bStill)
                        update();
                },
                Qt::QueuedConnection);
    }
}

void CMeasureCanvas::RestartVideo()
{
    if (m_restartHook)
        m_restartHook();
    if (m_bStill)
        SuspendPump();
    else
        ResumePump();
}

void CMeasureCanvas::SuspendPump()
{
    if (m_suspendHook)
        m_suspendHook();
}

void CMeasureCanvas::ResumePump()
{
    if (m_resumeHook)
        m_resumeHook();
}

void CMeasureCanvas::SetTextInputHook(std::function<std::optional<QString>()> hook)
{
    m_manager.Tools().SetServices({ std::move(hook) });
}

void CMeasureCanvas::OnCalibrationMoved()
{
    emit calibrationMoved(m_manager.GetCalibration());
}

// ---- Painting ----

QRect CMeasureCanvas::StillTarget() const
{
    if (m_nZoomChoice == FitIn)
        return QRect(QPoint(0, 0), FittedSize(m_still.size(), ViewSize()));
    return QRect(m_scroll, m_still.size() * m_nZoomChoice);
}

void CMeasureCanvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    if (!m_bStill) {
        // The live painter covers the canvas itself: the view, and black around it.
        if (m_livePainter)
            m_livePainter(painter);
        else
            painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.fillRect(rect(), Qt::black);
    if (!m_still.isNull()) {
        const QRect target = StillTarget();
        if (m_stillScaled.size() != target.size())
            m_stillScaled =
                    m_still.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(target.topLeft(), m_stillScaled);
    }
    m_manager.DrawAll(painter);
}

void CMeasureCanvas::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_manager.SetClientSize(size());
    UpdateScrollBars();
    update();
    emit viewChanged();
}

// ---- Mouse ----

void CMeasureCanvas::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    // Shift places a point where the pointer is, not on an edge.
    m_manager.SetSnapFree(event->modifiers() & Qt::ShiftModifier);
    if (event->button() == Qt::LeftButton) {
        m_manager.OnLButtonDown(pos.x(), pos.y());
        m_press = pos;
    } else if (event->button() == Qt::RightButton) {
        OnRButtonDown(pos);
    }
}

void CMeasureCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    m_manager.SetSnapFree(event->modifiers() & Qt::ShiftModifier);
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(pos);
    else if (event->button() == Qt::RightButton)
        OnRButtonUp(pos);
}

void CMeasureCanvas::OnLButtonUp(QPoint pos)
{
    m_manager.OnLButtonUp(pos.x(), pos.y());
    RefreshResults();
    emit resultsChanged();
    m_manager.Tools().Settle(pos);
}

void CMeasureCanvas::mouseMoveEvent(QMouseEvent* event)
{
    QPoint pos = event->position().toPoint();
    m_manager.SetSnapFree(event->modifiers() & Qt::ShiftModifier);
    if (m_bPanning && m_bRightDown)
        PanStep(pos);
    if ((event->modifiers() & Qt::ShiftModifier) && m_manager.Tools().Active().SnapsWithShift()) {
        // Snap to horizontal or vertical through the press; a tie goes vertical.
        if (std::abs(pos.y() - m_press.y()) < std::abs(pos.x() - m_press.x()))
            pos.setY(m_press.y());
        else
            pos.setX(m_press.x());
    }
    m_manager.OnMouseMove(pos.x(), pos.y());
    UpdateCursor(pos);
}

void CMeasureCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    m_manager.OnLButtonDblClk(pos.x(), pos.y());
    if (m_manager.Tools().EndIfFinished()) {
        RefreshResults();
        emit resultsChanged();
    }
}

void CMeasureCanvas::UpdateCursor(QPoint pos)
{
    if (m_bPanning)
        return;
    if (m_manager.Tools().Active().ShowsGrabCursor() && m_manager.HitCursor(pos.x(), pos.y()) == 1)
        setCursor(Qt::SizeAllCursor);
    else
        unsetCursor();
}

void CMeasureCanvas::OnRButtonDown(QPoint pos)
{
    if (m_nZoomChoice == FitIn)
        return;
    m_lastPan = pos;
    m_bRightDown = true;
    if (ScrollLimit() != QPoint()) {
        m_bPanning = true;
        setCursor(Qt::OpenHandCursor);
    }
}

void CMeasureCanvas::PanStep(QPoint pos)
{
    const QPoint limit = ScrollLimit();
    QPoint scroll = m_scroll;
    // The picture moves with the hand and stops at its edges.
    if (limit.x() < 0)
        scroll.setX(std::clamp(scroll.x() + pos.x() - m_lastPan.x(), limit.x(), 0));
    if (limit.y() < 0)
        scroll.setY(std::clamp(scroll.y() + pos.y() - m_lastPan.y(), limit.y(), 0));
    m_lastPan = pos;
    SetScrollOrigin(scroll);
}

void CMeasureCanvas::OnRButtonUp(QPoint pos)
{
    if (m_bPanning) {
        PanStep(pos);
        unsetCursor();
        m_bPanning = false;
    }
    m_bRightDown = false;
}

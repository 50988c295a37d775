#include "measure/MeasureCanvas.h"

#include "base/ColorSetting.h"
#include "base/IniFile.h"
#include "base/Trace.h"
#include "calibration/CalibrationSlot.h"
#include "measure/MeasureShape.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

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
        if (rect.isEmpty())
            update();
        else
            update(rect);
    });
    m_manager.SetCalibrationMovedHook([this] { OnCalibrationMoved(); });
}

CMeasureCanvas::~CMeasureCanvas()
{
    m_timer.stop();
    m_manager.SetInvalidateHook({});
    m_manager.SetCalibrationMovedHook({});
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
    SetTimerPeriod(kStillTimerMs);
}

void CMeasureCanvas::SetTimerPeriod(int milliseconds)
{
    m_timer.start(milliseconds, this);
}

// ---- Tools ----

int CMeasureCanvas::ChooseTool(int mode)
{
    m_nReleaseCounter = 0;
    if (mode == TextTool) {
        m_manager.SetToolMode(TextTool);
        return TextTool;
    }
    if (mode == m_manager.ToolMode()) {
        if (mode == VerticalLinesTool)
            m_manager.FinishVerticalLines();
        m_manager.SetToolMode(SelectMode);
        m_manager.CancelUnfinished();
        return SelectMode;
    }
    m_manager.CancelUnfinished();
    m_manager.SetToolMode(mode);
    if (mode != VerticalLinesTool)
        m_manager.FinishVerticalLines();
    return mode;
}

void CMeasureCanvas::EndTool()
{
    const int mode = m_manager.ToolMode();
    m_manager.SetToolMode(SelectMode);
    m_nReleaseCounter = 0;
    emit toolEnded(mode);
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
    update();
}

void CMeasureCanvas::SetScrollOrigin(QPoint scroll)
{
    m_scroll = scroll;
    m_manager.SetPan(-scroll.x(), -scroll.y());
    update();
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
    m_bStill = still;
    update();
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

// ---- Pump hooks ----

void CMeasureCanvas::SetPumpHooks(
        std::function<void()> restart, std::function<void()> suspend, std::function<void()> resume)
{
    m_restartHook = std::move(restart);
    m_suspendHook = std::move(suspend);
    m_resumeHook = std::move(resume);
}

void CMeasureCanvas::RestartVideo()
{
    m_timer.stop();
    if (m_restartHook)
        m_restartHook();
    if (m_bStill)
        SuspendPump();
    else
        ResumePump();
    SetTimerPeriod(kStillTimerMs);
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
    m_textInput = std::move(hook);
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
        painter.fillRect(rect(), Qt::black);
        if (m_livePainter)
            m_livePainter(painter);
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
    update();
}

void CMeasureCanvas::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (m_bStill)
        update();
}

// ---- Mouse ----

void CMeasureCanvas::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
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
    const int n = m_nReleaseCounter++;
    switch (m_manager.ToolMode()) {
    case LineTool:
        EndTool();
        break;
    case Angle3Tool:
    case CircleTool:
        if (n == 2)
            EndTool();
        break;
    case Angle4Tool:
        if (n == 3)
            EndTool();
        break;
    case DistanceTool:
        if (n == 5)
            EndTool();
        break;
    case TextTool: {
        const std::optional<QString> text = m_textInput ? m_textInput() : std::nullopt;
        if (text)
            m_manager.AddText(*text, pos.x(), pos.y());
        EndTool();
        break;
    }
    default:
        break;
    }
}

void CMeasureCanvas::mouseMoveEvent(QMouseEvent* event)
{
    QPoint pos = event->position().toPoint();
    if (m_bPanning && m_bRightDown)
        PanStep(pos);
    if ((event->modifiers() & Qt::ShiftModifier) && m_manager.ToolMode() == LineTool) {
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
    if (m_manager.ToolMode() == AreaTool) {
        EndTool();
        RefreshResults();
        emit resultsChanged();
    }
}

void CMeasureCanvas::UpdateCursor(QPoint pos)
{
    if (m_bPanning)
        return;
    if (m_manager.ToolMode() == SelectMode && m_manager.HitCursor(pos.x(), pos.y()) == 1)
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
    const QSize view = ViewSize();
    if (width() > view.width() || height() > view.height()) {
        m_bPanning = true;
        setCursor(Qt::OpenHandCursor);
    }
}

void CMeasureCanvas::PanStep(QPoint pos)
{
    const QSize view = ViewSize();
    QPoint scroll = m_scroll;
    // The picture moves with the hand and stops at its edges.
    if (width() > view.width())
        scroll.setX(std::clamp(scroll.x() + pos.x() - m_lastPan.x(), view.width() - width(), 0));
    if (height() > view.height())
        scroll.setY(std::clamp(scroll.y() + pos.y() - m_lastPan.y(), view.height() - height(), 0));
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

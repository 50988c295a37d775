#include "calibration/CalibrationRuler.h"

#include "measure/ShapeManager.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kTick = 20; // half-length of the end ticks, and the grab span across a bar
constexpr int kGrabEnd = 10; // grab span along a bar at its ends
constexpr int kHoverEnd = 5; // the same for the cursor
} // namespace

CCalibrationRuler::CCalibrationRuler(CShapeManager* manager)
    : CMeasureShape(manager, KindCalibrationRuler)
{
}

void CCalibrationRuler::SetRect(int left, int top, int right, int bottom)
{
    m_nLeft = left;
    m_nTop = top;
    m_nRight = right;
    m_nBottom = bottom;
}

void CCalibrationRuler::PlaceCentred(QSize picture)
{
    if (picture.isEmpty()) {
        SetRect(100, 100, 100 + kDefaultSpan, 100 + kDefaultSpan);
        return;
    }
    // A small picture gets bars of half its size, so every handle stays on it.
    const int span =
            std::max(2, std::min({ kDefaultSpan, picture.width() / 2, picture.height() / 2 }));
    const int left = (picture.width() - span) / 2;
    const int top = (picture.height() - span) / 2;
    SetRect(left, top, left + span, top + span);
}

void CCalibrationRuler::Draw(QPainter& painter, bool hidden)
{
    if (hidden || !m_bActive)
        return;
    const int mx = MidX();
    const int my = MidY();
    DrawThinLine(painter, QPoint(m_nLeft, my - kTick), QPoint(m_nLeft, my + kTick));
    DrawThinLine(painter, QPoint(m_nLeft, my), QPoint(m_nRight, my));
    DrawThinLine(painter, QPoint(m_nRight, my - kTick), QPoint(m_nRight, my + kTick));
    DrawThinLine(painter, QPoint(mx - kTick, m_nTop), QPoint(mx + kTick, m_nTop));
    DrawThinLine(painter, QPoint(mx, m_nTop), QPoint(mx, m_nBottom));
    DrawThinLine(painter, QPoint(mx - kTick, m_nBottom), QPoint(mx + kTick, m_nBottom));
}

int CCalibrationRuler::HandleAt(int x, int y, int endTolerance) const
{
    const int mx = MidX();
    const int my = MidY();
    auto near = [](int v, int centre, int span) { return std::abs(v - centre) <= span; };
    if (near(x, m_nLeft, endTolerance) && near(y, my, kTick))
        return LeftEnd;
    if (near(x, m_nRight, endTolerance) && near(y, my, kTick))
        return RightEnd;
    if (near(x, mx, kTick) && near(y, m_nTop, endTolerance))
        return TopEnd;
    if (near(x, mx, kTick) && near(y, m_nBottom, endTolerance))
        return BottomEnd;
    if (near(x, mx, kTick) && near(y, my, kTick))
        return Centre;
    return None;
}

int CCalibrationRuler::OnLButtonDown(int x, int y, int)
{
    if (!m_bActive)
        return -1;
    m_nGrabbed = HandleAt(x, y, kGrabEnd);
    m_last = QPoint(x, y);
    return m_nGrabbed == None ? -1 : m_nGrabbed;
}

void CCalibrationRuler::OnLButtonUp(int, int, int)
{
    m_nGrabbed = None;
}

void CCalibrationRuler::OnMouseMove(int x, int y, int)
{
    if (!m_bActive || m_nGrabbed == None || !m_manager->ButtonDown())
        return;
    const int dx = x - m_last.x();
    const int dy = y - m_last.y();
    int left = m_nLeft;
    int right = m_nRight;
    int top = m_nTop;
    int bottom = m_nBottom;
    switch (m_nGrabbed) {
    case LeftEnd:
        left += dx;
        right -= dx;
        break;
    case RightEnd:
        left -= dx;
        right += dx;
        break;
    case TopEnd:
        top += dy;
        bottom -= dy;
        break;
    case BottomEnd:
        top -= dy;
        bottom += dy;
        break;
    default:
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        break;
    }
    // Crossed or touching ends would give a negative or infinite scale.
    if (right <= left || bottom <= top)
        return;
    m_last = QPoint(x, y);
    Invalidate();
    SetRect(left, top, right, bottom);
    Invalidate();
    m_manager->CalibrationRulerMoved();
}

int CCalibrationRuler::CursorTest(int x, int y, int) const
{
    return m_bActive && HandleAt(x, y, kHoverEnd) != None ? 2 : -1;
}

void CCalibrationRuler::Invalidate()
{
    InvalidatePoints({ QPoint(m_nLeft, m_nTop - kTick), QPoint(m_nRight, m_nBottom + kTick),
            QPoint(m_nLeft - kTick, m_nTop), QPoint(m_nRight + kTick, m_nBottom) });
}

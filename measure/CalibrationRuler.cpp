#include "measure/CalibrationRuler.h"

#include "measure/DrawContext.h"
#include "measure/ShapeHost.h"

namespace {
constexpr int kTick = CReferenceRect::kTick;
constexpr int kGrabEnd = 10; // grab span along a bar at its ends
constexpr int kHoverEnd = 5; // the same for the cursor
} // namespace

CCalibrationRuler::CCalibrationRuler(CShapeHost* host) : CMeasureShape(host, KindCalibrationRuler)
{
}

std::unique_ptr<CMeasureShape> CCalibrationRuler::Clone() const
{
    return std::make_unique<CCalibrationRuler>(*this);
}

void CCalibrationRuler::SetRect(int left, int top, int right, int bottom)
{
    m_rect = { left, top, right, bottom };
}

void CCalibrationRuler::Draw(CDrawContext& dc, bool hidden)
{
    if (hidden || !m_bActive)
        return;
    const CReferenceRect& r = m_rect;
    const int mx = r.MidX();
    const int my = r.MidY();
    DrawThinLine(dc, QPoint(r.left, my - kTick), QPoint(r.left, my + kTick));
    DrawThinLine(dc, QPoint(r.left, my), QPoint(r.right, my));
    DrawThinLine(dc, QPoint(r.right, my - kTick), QPoint(r.right, my + kTick));
    DrawThinLine(dc, QPoint(mx - kTick, r.top), QPoint(mx + kTick, r.top));
    DrawThinLine(dc, QPoint(mx, r.top), QPoint(mx, r.bottom));
    DrawThinLine(dc, QPoint(mx - kTick, r.bottom), QPoint(mx + kTick, r.bottom));
}

int CCalibrationRuler::OnLButtonDown(int x, int y, int)
{
    if (!m_bActive)
        return -1;
    m_nGrabbed = m_rect.HandleAt(x, y, kGrabEnd);
    m_press = QPoint(x, y);
    m_pressRect = m_rect;
    return m_nGrabbed == CReferenceRect::None ? -1 : m_nGrabbed;
}

void CCalibrationRuler::OnLButtonUp(int, int, int)
{
    m_nGrabbed = CReferenceRect::None;
}

void CCalibrationRuler::OnMouseMove(int x, int y, int)
{
    if (!m_bActive || m_nGrabbed == CReferenceRect::None || !m_host->ButtonHeld())
        return;
    // From the press, so after a drag past the other end the bar waits at its shortest until
    // the mouse comes back to it.
    const std::optional<CReferenceRect> moved =
            m_pressRect.Dragged(static_cast<Handle>(m_nGrabbed), x - m_press.x(), y - m_press.y());
    if (!moved || *moved == m_rect)
        return;
    Invalidate();
    m_rect = *moved;
    Invalidate();
    m_host->CalibrationRulerMoved();
}

int CCalibrationRuler::CursorTest(int x, int y, int) const
{
    return m_bActive && m_rect.HandleAt(x, y, kHoverEnd) != CReferenceRect::None ? 2 : -1;
}

void CCalibrationRuler::Invalidate()
{
    const CReferenceRect& r = m_rect;
    InvalidatePoints({ QPoint(r.left, r.top - kTick), QPoint(r.right, r.bottom + kTick),
            QPoint(r.left - kTick, r.top), QPoint(r.right + kTick, r.bottom) });
}

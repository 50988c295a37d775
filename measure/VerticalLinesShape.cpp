#include "measure/VerticalLinesShape.h"

#include "base/Trace.h"
#include "measure/ResultRow.h"
#include "measure/TextLabel.h"

#include "measure/MeasureGeometry.h"
#include "measure/PerpendicularShape.h"
#include "measure/DrawContext.h"
#include "measure/ShapeHost.h"

CVerticalLinesShape::CVerticalLinesShape(CShapeHost* host)
    : CClickShape(host, KindVerticalLines) { }

std::unique_ptr<CMeasureShape> CVerticalLinesShape::Clone() const
{
    return std::make_unique<CVerticalLinesShape>(*this);
}

int CVerticalLinesShape::PerpendicularCount() const
{
    return ChildCount();
}

CPerpendicularShape* CVerticalLinesShape::Perpendicular(int index) const
{
    return static_cast<CPerpendicularShape*>(Child(index));
}

void CVerticalLinesShape::Draw(CDrawContext& dc, bool hidden)
{
    if (hidden || m_points.empty())
        return;
    const QPoint a = m_points[0];
    const QPoint b = PointCount() >= 2 ? m_points[1] : m_rubber;
    QPoint from;
    QPoint to;
    MeasureGeometry::ExtendedLine(a, b, from, to);
    DrawLine(dc, from, to, m_bHighlighted);
    DrawCross(dc, a.x(), a.y());
    if (PointCount() >= 2)
        DrawCross(dc, b.x(), b.y());
    DrawChildren(dc, false);
}

int CVerticalLinesShape::OnLButtonDown(int x, int y, int mode)
{
    if (mode == VerticalLinesTool)
        return PressClick(x, y);
    if (mode != SelectMode)
        return -1;
    const int hit = SelectPress(x, y);
    m_nDraggedEnd = (m_nHitPart == 0 || m_nHitPart == 1) && hit == m_nHitPart ? hit : -1;
    return hit;
}

void CVerticalLinesShape::OnLButtonUp(int x, int y, int mode)
{
    if (mode == VerticalLinesTool && m_bInConstruction) {
        if (m_nClicks < 2)
            AddOneCoord(x, y);
        else if (PointCount() == 2)
            AddChild(std::make_unique<CPerpendicularShape>(m_host, PointF(0), PointF(1),
                    QPointF(x, y) + m_host->SnappedOffset(QPoint(x, y))));
        ++m_nClicks;
        Invalidate();
    }
    if (mode == SelectMode) {
        EndDrag();
        m_nDraggedEnd = -1;
    }
    // A perpendicular too short to see disappears on every release.
    ForwardToChildren(&CMeasureShape::OnLButtonUp, x, y, mode);
}

void CVerticalLinesShape::OnMouseMove(int x, int y, int mode)
{
    if (mode == VerticalLinesTool) {
        if (m_bInConstruction) {
            m_rubber = QPoint(x, y);
            Invalidate();
        }
        return;
    }
    if (mode == SelectMode && m_bInConstruction && m_nDraggedEnd >= 0
            && m_nDraggedEnd < PointCount()) {
        m_points[m_nDraggedEnd] = QPoint(x, y);
        if (size_t(m_nDraggedEnd) < m_fine.size())
            m_fine[size_t(m_nDraggedEnd)] = QPointF(); // moved by hand
        if (PointCount() == 2) {
            for (int i = 0; i < PerpendicularCount(); ++i)
                Perpendicular(i)->SetBaseline(PointF(0), PointF(1));
        }
        Invalidate();
    }
    CMeasureShape::OnMouseMove(x, y, mode);
}

void CVerticalLinesShape::Invalidate()
{
    // The baseline crosses the whole picture.
    m_host->InvalidateAll();
}

void CVerticalLinesShape::AppendRows(std::vector<CResultRow>& rows) const
{
    qCDebug(lcTrace, "result rows of %d perpendiculars", PerpendicularCount());
    for (int i = 0; i < PerpendicularCount(); ++i) {
        const CPerpendicularShape* p = Perpendicular(i);
        if (p->ValueLabel())
            AddRow(rows, p->ValueLabel()->Id(), "length", QString::asprintf("%.3f", p->Length()),
                    m_host->UnitText());
    }
}

bool CVerticalLinesShape::DropOnCancel() const
{
    if (!InConstruction() || ChildCount() > 0)
        return false;
    qCDebug(lcTrace, "Remove vertlines");
    return true;
}

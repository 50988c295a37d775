#include "measure/AngleShape.h"

#include "measure/DrawContext.h"
#include "measure/ResultRow.h"
#include "measure/ShapeHost.h"
#include "measure/TextLabel.h"

CAngleShape::CAngleShape(CShapeHost* host, int kind, int points)
    : CClickShape(host, kind), m_nPoints(points)
{
}

CAngleShape::CAngleShape(const CAngleShape& other)
    : CClickShape(other), m_nPoints(other.m_nPoints), m_label(CounterpartOf(other, other.m_label))
{
}

int CAngleShape::OnLButtonDown(int x, int y, int mode)
{
    // An angle's kind is its tool's mode.
    if (mode != m_kind)
        return CMeasureShape::OnLButtonDown(x, y, mode);
    return PressClick(x, y);
}

void CAngleShape::OnLButtonUp(int x, int y, int mode)
{
    if (mode != m_kind) {
        CMeasureShape::OnLButtonUp(x, y, mode);
        return;
    }
    if (!m_bInConstruction)
        return;
    TakeClick(x, y, PointCount() < m_nPoints);
    if (PointCount() == m_nPoints) {
        m_bInConstruction = false;
        if (!m_label)
            m_label = static_cast<CTextLabel*>(
                    AddChild(std::make_unique<CTextLabel>(m_host, QPoint())));
        AnchorLabel();
    }
    Invalidate();
}

void CAngleShape::OnMouseMove(int x, int y, int mode)
{
    if (mode == m_kind) {
        if (m_bInConstruction && PointCount() < m_nPoints)
            MoveRubber(x, y);
        return;
    }
    if (mode == SelectMode && m_bInConstruction && m_nHitPart >= 0 && m_nHitPart < PointCount()) {
        Invalidate();
        SetPoint(m_nHitPart, x, y);
        AnchorLabel();
        Invalidate();
    }
    CMeasureShape::OnMouseMove(x, y, mode);
}

void CAngleShape::Invalidate()
{
    if (m_bInConstruction)
        InvalidatePoints({ m_rubber });
    else
        InvalidatePoints();
}

void CAngleShape::DrawValue(CDrawContext& dc)
{
    if (m_label) {
        m_label->SetText(QString::asprintf("%.1fdeg.", Angle()));
        m_label->DrawLabel(dc);
    }
}

void CAngleShape::AnchorLabel()
{
    if (m_label && PointCount() == m_nPoints)
        m_label->SetAnchor(QPoint(
                (m_points[0].x() + m_points[2].x()) / 2, (m_points[0].y() + m_points[2].y()) / 2));
}

void CAngleShape::AppendRows(std::vector<CResultRow>& rows) const
{
    AddRow(rows, m_label->Id(), "degree", QString::asprintf("%.1f", Angle()),
            QStringLiteral("deg."));
}

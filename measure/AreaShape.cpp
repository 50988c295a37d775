#include "measure/AreaShape.h"

#include "measure/MeasureGeometry.h"
#include "measure/ShapeManager.h"
#include "measure/TextLabel.h"

CAreaShape::CAreaShape(CShapeManager* manager) : CClickShape(manager, KindArea) { }

CAreaShape::CAreaShape(const CAreaShape& other)
    : CClickShape(other), m_bClosed(other.m_bClosed), m_label(CounterpartOf(other, other.m_label))
{
}

std::unique_ptr<CMeasureShape> CAreaShape::Clone() const
{
    return std::make_unique<CAreaShape>(*this);
}

void CAreaShape::AppendState(std::vector<int64_t>& out) const
{
    CClickShape::AppendState(out);
    out.push_back(m_bClosed ? 1 : 0);
}

double CAreaShape::AreaValue() const
{
    return MeasureGeometry::PolygonArea(m_points.data(), PointCount()) * m_manager->ScaleX()
            * m_manager->ScaleY();
}

void CAreaShape::Draw(QPainter& painter, bool hidden)
{
    if (hidden || m_points.empty())
        return;
    const int n = PointCount();
    for (int i = 0; i + 1 < n; ++i)
        DrawLine(painter, m_points[i], m_points[i + 1], m_bHighlighted);
    if (!m_bClosed) {
        DrawLine(painter, m_points[n - 1], m_rubber, m_bHighlighted);
        return;
    }
    DrawLine(painter, m_points[n - 1], m_points[0], m_bHighlighted);
    if (m_label) {
        m_label->SetText(QString::asprintf("%.4f", AreaValue()) + m_manager->UnitText()
                + QStringLiteral("^2"));
        m_label->DrawLabel(painter);
    }
}

int CAreaShape::OnLButtonDown(int x, int y, int mode)
{
    if (mode != KindArea)
        return CMeasureShape::OnLButtonDown(x, y, mode);
    return PressClick(x, y);
}

void CAreaShape::OnLButtonUp(int x, int y, int mode)
{
    if (mode != KindArea) {
        CMeasureShape::OnLButtonUp(x, y, mode);
        return;
    }
    if (!m_bInConstruction)
        return;
    TakeClick(x, y, !m_bClosed);
    Invalidate();
}

void CAreaShape::OnMouseMove(int x, int y, int mode)
{
    if (mode == KindArea) {
        if (m_bInConstruction && !m_bClosed)
            MoveRubber(x, y);
        return;
    }
    if (mode == SelectMode && m_bInConstruction && m_nHitPart >= 0 && m_nHitPart < PointCount()) {
        Invalidate();
        SetPoint(m_nHitPart, x, y);
        if (m_label && PointCount() > 2)
            m_label->SetAnchor(m_points[0]);
        Invalidate();
    }
    CMeasureShape::OnMouseMove(x, y, mode);
}

void CAreaShape::OnLButtonDblClk(int, int, int mode)
{
    if (mode != KindArea || m_bClosed || !m_bInConstruction)
        return;
    if (!m_label && !m_points.empty())
        m_label = static_cast<CTextLabel*>(
                AddChild(std::make_unique<CTextLabel>(m_manager, m_points[0])));
    m_bClosed = true;
    m_bInConstruction = false;
    Invalidate();
    if (PointCount() < 3)
        DeleteSelf();
}

void CAreaShape::Invalidate()
{
    if (!m_bClosed && m_bInConstruction)
        InvalidatePoints({ m_rubber });
    else
        InvalidatePoints();
}

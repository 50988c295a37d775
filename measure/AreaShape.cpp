#include "measure/AreaShape.h"

#include "measure/MeasureGeometry.h"
#include "measure/DrawContext.h"
#include "measure/ResultRow.h"
#include "measure/ShapeHost.h"
#include "measure/TextLabel.h"

CAreaShape::CAreaShape(CShapeHost* host) : CClickShape(host, KindArea) { }

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
    std::vector<QPointF> points;
    for (int i = 0; i < PointCount(); ++i)
        points.push_back(PointF(i));
    return MeasureGeometry::PolygonArea(points.data(), PointCount()) * m_host->ScaleX()
            * m_host->ScaleY();
}

void CAreaShape::Draw(CDrawContext& dc, bool hidden)
{
    if (hidden || m_points.empty())
        return;
    const int n = PointCount();
    for (int i = 0; i + 1 < n; ++i)
        DrawLine(dc, m_points[i], m_points[i + 1], m_bHighlighted);
    if (!m_bClosed) {
        DrawLine(dc, m_points[n - 1], m_rubber, m_bHighlighted);
        return;
    }
    DrawLine(dc, m_points[n - 1], m_points[0], m_bHighlighted);
    if (m_label) {
        m_label->SetText(
                QString::asprintf("%.4f", AreaValue()) + m_host->UnitText() + QStringLiteral("^2"));
        m_label->DrawLabel(dc);
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
                AddChild(std::make_unique<CTextLabel>(m_host, m_points[0])));
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

void CAreaShape::AppendRows(std::vector<CResultRow>& rows) const
{
    AddRow(rows, m_label->Id(), "acreage", QString::asprintf("%.4f", AreaValue()),
            m_host->UnitText() + QStringLiteral("^2"));
}

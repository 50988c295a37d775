#include "measure/PerpendicularShape.h"

#include "measure/MeasureGeometry.h"
#include "measure/PictureRescale.h"
#include "measure/DrawContext.h"
#include "measure/ShapeHost.h"
#include "measure/TextLabel.h"

#include <cstdlib>

namespace {
constexpr int kMinimumExtent = 5;
}

CPerpendicularShape::CPerpendicularShape(CShapeHost* host, QPoint baseA, QPoint baseB, QPoint p)
    : CMeasureShape(host, KindPerpendicular), m_baseA(baseA), m_baseB(baseB)
{
    m_points = { p, p };
    m_label = static_cast<CTextLabel*>(AddChild(std::make_unique<CTextLabel>(host, p)));
    Recompute();
}

CPerpendicularShape::CPerpendicularShape(const CPerpendicularShape& other)
    : CMeasureShape(other), m_baseA(other.m_baseA), m_baseB(other.m_baseB),
      m_label(CounterpartOf(other, other.m_label))
{
}

std::unique_ptr<CMeasureShape> CPerpendicularShape::Clone() const
{
    return std::make_unique<CPerpendicularShape>(*this);
}

void CPerpendicularShape::AppendState(std::vector<int64_t>& out) const
{
    CMeasureShape::AppendState(out);
    for (const QPoint& p : { m_baseA, m_baseB }) {
        out.push_back(p.x());
        out.push_back(p.y());
    }
}

void CPerpendicularShape::Translate(QPoint d)
{
    CMeasureShape::Translate(d);
    m_baseA += d;
    m_baseB += d;
}

void CPerpendicularShape::Rescale(const CPictureRescale& map)
{
    CMeasureShape::Rescale(map);
    m_baseA = map.Map(m_baseA);
    m_baseB = map.Map(m_baseB);
}

double CPerpendicularShape::Length() const
{
    if (PointCount() != 2)
        return 0.0;
    return MeasureGeometry::ScaledLength(
            m_points[0], m_points[1], m_host->ScaleX(), m_host->ScaleY());
}

void CPerpendicularShape::Draw(CDrawContext& dc, bool hidden)
{
    if (hidden || PointCount() != 2)
        return;
    DrawLine(dc, m_points[0], m_points[1], m_bHighlighted);
    m_label->SetText(QString::asprintf("%.3f", Length()) + m_host->UnitText());
    m_label->DrawLabel(dc);
}

void CPerpendicularShape::OnLButtonUp(int x, int y, int mode)
{
    CMeasureShape::OnLButtonUp(x, y, mode);
    if (std::abs(m_points[0].x() - m_points[1].x()) < kMinimumExtent
            && std::abs(m_points[0].y() - m_points[1].y()) < kMinimumExtent)
        DeleteSelf();
}

void CPerpendicularShape::OnMouseMove(int x, int y, int mode)
{
    if (mode == SelectMode && m_bInConstruction && m_nHitPart == 0) {
        Invalidate();
        m_points[0] = QPoint(x, y);
        Recompute();
        Invalidate();
    }
    CMeasureShape::OnMouseMove(x, y, mode);
}

void CPerpendicularShape::SetBaseline(QPoint a, QPoint b)
{
    m_baseA = a;
    m_baseB = b;
    Recompute();
}

void CPerpendicularShape::Recompute()
{
    m_points[1] = MeasureGeometry::PerpendicularFoot(m_baseA, m_baseB, m_points[0]);
    m_label->SetAnchor(m_points[0]);
}

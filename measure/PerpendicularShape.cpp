#include "measure/PerpendicularShape.h"

#include "measure/MeasureGeometry.h"
#include "measure/PictureRescale.h"
#include "measure/DrawContext.h"
#include "measure/ShapeHost.h"
#include "measure/TextLabel.h"

#include <cmath>
#include <cstdlib>

namespace {
constexpr int kMinimumExtent = 5;
}

CPerpendicularShape::CPerpendicularShape(CShapeHost* host, QPointF baseA, QPointF baseB, QPointF p)
    : CMeasureShape(host, KindPerpendicular), m_baseA(baseA), m_baseB(baseB)
{
    m_points = { p.toPoint(), p.toPoint() };
    m_fine = { p - QPointF(p.toPoint()), QPointF() };
    m_label = static_cast<CTextLabel*>(AddChild(std::make_unique<CTextLabel>(host, p.toPoint())));
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
    for (const QPointF& p : { m_baseA, m_baseB }) {
        out.push_back(std::llround(p.x() * 1e6));
        out.push_back(std::llround(p.y() * 1e6));
    }
}

void CPerpendicularShape::Translate(QPoint d)
{
    CMeasureShape::Translate(d);
    m_baseA += QPointF(d);
    m_baseB += QPointF(d);
}

void CPerpendicularShape::Rescale(const CPictureRescale& map)
{
    CMeasureShape::Rescale(map);
    m_baseA = QPointF(map.Map(m_baseA.toPoint()));
    m_baseB = QPointF(map.Map(m_baseB.toPoint()));
}

double CPerpendicularShape::Length() const
{
    if (PointCount() != 2)
        return 0.0;
    return MeasureGeometry::ScaledLength(PointF(0), PointF(1), m_host->ScaleX(), m_host->ScaleY());
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
        if (!m_fine.empty())
            m_fine[0] = QPointF(); // moved by hand
        Recompute();
        Invalidate();
    }
    CMeasureShape::OnMouseMove(x, y, mode);
}

void CPerpendicularShape::SetBaseline(QPointF a, QPointF b)
{
    m_baseA = a;
    m_baseB = b;
    Recompute();
}

void CPerpendicularShape::Recompute()
{
    const QPointF p = PointF(0);
    m_fine.resize(2);
    if (m_baseA == QPointF(m_baseA.toPoint()) && m_baseB == QPointF(m_baseB.toPoint())
            && p == QPointF(m_points[0])) {
        // Whole pixels: the foot as it always was.
        m_points[1] = MeasureGeometry::PerpendicularFoot(
                m_baseA.toPoint(), m_baseB.toPoint(), m_points[0]);
        m_fine[1] = QPointF();
    } else {
        const QPointF foot = MeasureGeometry::PerpendicularFoot(m_baseA, m_baseB, p);
        m_points[1] = foot.toPoint();
        m_fine[1] = foot - QPointF(m_points[1]);
    }
    m_label->SetAnchor(m_points[0]);
}

#include "measure/DistanceShape.h"

#include "measure/DistanceCircleShape.h"
#include "measure/LineShape.h"
#include "measure/MeasureGeometry.h"
#include "measure/DrawContext.h"
#include "measure/ResultRow.h"
#include "measure/ShapeHost.h"
#include "measure/TextLabel.h"

namespace {
constexpr int kClicks = 6;
}

CDistanceShape::CDistanceShape(CShapeHost* host) : CClickShape(host, KindDistance) { }

CDistanceShape::CDistanceShape(const CDistanceShape& other)
    : CClickShape(other), m_circleA(CounterpartOf(other, other.m_circleA)),
      m_circleB(CounterpartOf(other, other.m_circleB)), m_line(CounterpartOf(other, other.m_line))
{
}

std::unique_ptr<CMeasureShape> CDistanceShape::Clone() const
{
    return std::make_unique<CDistanceShape>(*this);
}

double CDistanceShape::Distance() const
{
    return m_line ? m_line->Length() : 0.0;
}

double CDistanceShape::Direction() const
{
    return m_line ? m_line->Direction() : 0.0;
}

void CDistanceShape::Draw(CDrawContext& dc, bool hidden)
{
    if (hidden || m_points.empty())
        return;
    const int n = PointCount();
    switch (n) {
    case 1:
    case 4:
        DrawCross(dc, m_points[n - 1].x(), m_points[n - 1].y());
        break;
    case 2: {
        DrawCross(dc, m_points[0].x(), m_points[0].y());
        DrawCross(dc, m_points[1].x(), m_points[1].y());
        const auto c = MeasureGeometry::CircleThrough(m_points[0], m_points[1], m_rubber);
        DrawEllipse(dc,
                QRect(c.centre - QPoint(c.radius, c.radius), QSize(2 * c.radius, 2 * c.radius)),
                m_bHighlighted);
        break;
    }
    case 5:
        DrawCross(dc, m_points[3].x(), m_points[3].y());
        DrawCross(dc, m_points[4].x(), m_points[4].y());
        break;
    default:
        break;
    }
    if (m_circleA)
        m_circleA->Draw(dc, false);
    if (m_circleB)
        m_circleB->Draw(dc, false);
    if (m_line)
        m_line->Draw(dc, false);
}

int CDistanceShape::OnLButtonDown(int x, int y, int mode)
{
    // The distance tool is mode 9; kind 9 is its circle.
    if (mode != KindDistanceCircle)
        return CMeasureShape::OnLButtonDown(x, y, mode);
    return PressClick(x, y);
}

void CDistanceShape::OnLButtonUp(int x, int y, int mode)
{
    if (mode != KindDistanceCircle) {
        CMeasureShape::OnLButtonUp(x, y, mode);
        if (mode == SelectMode)
            AttachLine();
        return;
    }
    if (!m_bInConstruction)
        return;
    TakeClick(x, y, PointCount() < kClicks);
    if (PointCount() >= 3 && !m_circleA) {
        auto circle = std::make_unique<CDistanceCircleShape>(m_host);
        circle->BuildFrom(m_points[0], m_points[1], m_points[2]);
        m_circleA = static_cast<CDistanceCircleShape*>(AddChild(std::move(circle)));
    }
    if (PointCount() == kClicks && !m_circleB) {
        m_bInConstruction = false;
        auto circle = std::make_unique<CDistanceCircleShape>(m_host);
        circle->BuildFrom(m_points[3], m_points[4], m_points[5]);
        m_circleB = static_cast<CDistanceCircleShape*>(AddChild(std::move(circle)));
        m_line = static_cast<CLineShape*>(AddChild(std::make_unique<CLineShape>(m_host, true)));
        AttachLine();
    }
    Invalidate();
}

void CDistanceShape::OnMouseMove(int x, int y, int mode)
{
    if (mode == KindDistanceCircle) {
        if (m_bInConstruction && PointCount() < 4)
            MoveRubber(x, y);
        return;
    }
    CMeasureShape::OnMouseMove(x, y, mode);
    // The connecting line follows the circles when their centres are dragged.
    if (mode == SelectMode)
        AttachLine();
}

int CDistanceShape::HitTest(int, int) const
{
    // Only the parts are grabbed; the clicked points are not shown once the circles exist.
    return -1;
}

void CDistanceShape::Invalidate()
{
    m_host->InvalidateAll();
}

void CDistanceShape::SetHighlighted(bool on)
{
    CMeasureShape::SetHighlighted(on);
    for (const auto& child : m_children)
        child->SetHighlighted(on);
}

void CDistanceShape::AttachLine()
{
    if (!m_line || !m_circleA || !m_circleB)
        return;
    if (m_line->PointCount() == 2 && m_line->PointF(0) == m_circleB->ExactCentre()
            && m_line->PointF(1) == m_circleA->ExactCentre())
        return;
    m_line->SetEnds(m_circleB->ExactCentre(), m_circleA->ExactCentre());
    Invalidate();
}

void CDistanceShape::AppendRows(std::vector<CResultRow>& rows) const
{
    if (!IsComplete())
        return;
    const QString unit = m_host->UnitText();
    AddRow(rows, m_line->ValueLabel()->Id(), "distance",
            QString::asprintf("%.3f", m_line->Length()), unit);
    AddRow(rows, m_line->SecondLabel()->Id(), "degree",
            QString::asprintf("%.1f", m_line->Direction()), QStringLiteral("deg."));
    // Every value the picture shows is also a row: the two circles' diameters follow.
    for (const CCircleShape* circle : { static_cast<const CCircleShape*>(m_circleA),
                 static_cast<const CCircleShape*>(m_circleB) }) {
        if (circle)
            circle->AppendRows(rows);
    }
}

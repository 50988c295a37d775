#include "measure/CircleShape.h"

#include "measure/MeasureGeometry.h"
#include "measure/PictureRescale.h"
#include "measure/DrawContext.h"
#include "measure/ResultRow.h"
#include "measure/ShapeHost.h"
#include "measure/TextLabel.h"

#include <cmath>

namespace {
constexpr int kCentreTolerance2 = 100;
constexpr int kRimTolerance = 10;
const QPoint kLabelShift(5, 0);
} // namespace

CCircleShape::CCircleShape(CShapeHost* host) : CCircleShape(host, KindCircle) { }

CCircleShape::CCircleShape(CShapeHost* host, int kind) : CClickShape(host, kind) { }

CCircleShape::CCircleShape(const CCircleShape& other)
    : CClickShape(other), m_nRadius(other.m_nRadius), m_fittedRadius(other.m_fittedRadius),
      m_centreRest(other.m_centreRest), m_bComplete(other.m_bComplete),
      m_label(CounterpartOf(other, other.m_label))
{
}

std::unique_ptr<CMeasureShape> CCircleShape::Clone() const
{
    return std::make_unique<CCircleShape>(*this);
}

void CCircleShape::AppendState(std::vector<int64_t>& out) const
{
    CClickShape::AppendState(out);
    out.push_back(m_nRadius);
    out.push_back(m_bComplete ? 1 : 0);
    if (m_fittedRadius > 0.0) {
        out.push_back(std::llround(m_fittedRadius * 1e6));
        out.push_back(std::llround(m_centreRest.x() * 1e6));
        out.push_back(std::llround(m_centreRest.y() * 1e6));
    }
}

void CCircleShape::Rescale(const CPictureRescale& map)
{
    CClickShape::Rescale(map);
    m_nRadius = map.MapLength(m_nRadius);
    m_fittedRadius = 0.0;
}

double CCircleShape::AreaValue() const
{
    return ExactRadius() * ExactRadius() * m_host->ScaleX() * m_host->ScaleY()
            * MeasureGeometry::kPi;
}

double CCircleShape::Diameter() const
{
    return (m_host->ScaleX() + m_host->ScaleY()) / 2.0 * 2.0 * ExactRadius();
}

void CCircleShape::Draw(CDrawContext& dc, bool hidden)
{
    if (hidden || m_points.empty())
        return;
    if (!m_bComplete) {
        for (const QPoint& p : m_points)
            DrawCross(dc, p.x(), p.y());
        if (PointCount() == 2) {
            const auto c = MeasureGeometry::CircleThrough(m_points[0], m_points[1], m_rubber);
            DrawEllipse(dc,
                    QRect(c.centre - QPoint(c.radius, c.radius), QSize(2 * c.radius, 2 * c.radius)),
                    m_bHighlighted);
        }
        return;
    }
    const QPoint c = Centre();
    DrawCross(dc, c.x(), c.y());
    DrawEllipse(dc, QRect(c - QPoint(m_nRadius, m_nRadius), QSize(2 * m_nRadius, 2 * m_nRadius)),
            m_bHighlighted);
    if (m_label) {
        m_label->SetText(QString::asprintf("%.3f", Diameter()) + m_host->UnitText());
        m_label->DrawLabel(dc);
    }
}

int CCircleShape::OnLButtonDown(int x, int y, int mode)
{
    if (mode != KindCircle || m_kind != KindCircle)
        return CMeasureShape::OnLButtonDown(x, y, mode);
    return PressClick(x, y);
}

void CCircleShape::OnLButtonUp(int x, int y, int mode)
{
    if (mode != KindCircle || m_kind != KindCircle) {
        CMeasureShape::OnLButtonUp(x, y, mode);
        return;
    }
    if (!m_bInConstruction || m_bComplete)
        return;
    TakeClick(x, y, PointCount() < 3);
    if (PointCount() == 3)
        Complete();
    Invalidate();
}

void CCircleShape::OnMouseMove(int x, int y, int mode)
{
    if (mode == KindCircle && m_kind == KindCircle) {
        if (m_bInConstruction && !m_bComplete)
            MoveRubber(x, y);
        return;
    }
    if (mode == SelectMode && m_bInConstruction && m_bComplete) {
        if (m_nHitPart == 0 || m_nHitPart == 1)
            m_fittedRadius = 0.0; // moved by hand: the clicks' circle again
        if (m_nHitPart == 0) {
            Invalidate();
            m_points[0] = QPoint(x, y);
            if (m_label)
                m_label->SetAnchor(m_points[0] + kLabelShift);
            Invalidate();
        } else if (m_nHitPart == 1) {
            Invalidate();
            const double dx = x - m_points[0].x();
            const double dy = y - m_points[0].y();
            m_nRadius = static_cast<int>(std::sqrt(dx * dx + dy * dy));
            Invalidate();
        }
    }
    CMeasureShape::OnMouseMove(x, y, mode);
}

int CCircleShape::PointTest(int x, int y) const
{
    if (!m_bComplete)
        return CMeasureShape::PointTest(x, y);
    const int dx = x - m_points[0].x();
    const int dy = y - m_points[0].y();
    const int d2 = dx * dx + dy * dy;
    if (d2 < kCentreTolerance2)
        return 0;
    const int inner = m_nRadius - kRimTolerance;
    const int outer = m_nRadius + kRimTolerance;
    if (inner * inner <= d2 && d2 <= outer * outer)
        return 1;
    return -1;
}

void CCircleShape::Invalidate()
{
    if (m_bComplete) {
        const QPoint r(m_nRadius, m_nRadius);
        InvalidatePoints({ m_points[0] - r, m_points[0] + r });
    } else if (m_bInConstruction) {
        // The preview circle can reach far beyond the clicked points.
        m_host->InvalidateAll();
    } else {
        InvalidatePoints();
    }
}

void CCircleShape::BuildFrom(QPoint p0, QPoint p1, QPoint p2)
{
    m_points = { p0, p1, p2 };
    Complete();
}

void CCircleShape::Complete()
{
    const auto c = MeasureGeometry::CircleThrough(m_points[0], m_points[1], m_points[2], m_nRadius);
    m_points[0] = c.centre;
    m_nRadius = c.radius;
    // Snapping to edges fits the circle to the rim the clicks lie near.
    QPointF centre(c.centre);
    double radius = c.radius;
    m_fittedRadius = 0.0;
    if (c.radius > 0 && m_host->FitCircle(centre, radius)) {
        m_points[0] = centre.toPoint();
        m_nRadius = int(std::lround(radius));
        m_fittedRadius = radius;
        m_centreRest = centre - QPointF(m_points[0]);
    }
    m_bComplete = true;
    m_bInConstruction = false;
    if (!m_label)
        m_label =
                static_cast<CTextLabel*>(AddChild(std::make_unique<CTextLabel>(m_host, QPoint())));
    m_label->SetAnchor(m_points[0] + kLabelShift);
}

void CCircleShape::AppendRows(std::vector<CResultRow>& rows) const
{
    if (m_label)
        AddRow(rows, m_label->Id(), "diameter", QString::asprintf("%.3f", Diameter()),
                m_host->UnitText());
}

bool CCircleShape::ReferenceLength(double& pixels, QPoint& centre) const
{
    if (!m_bComplete)
        return false;
    pixels = 2.0 * ExactRadius();
    centre = Centre();
    return true;
}

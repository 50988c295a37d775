#include "measure/LineShape.h"

#include "measure/MeasureGeometry.h"
#include "measure/DrawContext.h"
#include "measure/ResultRow.h"
#include "measure/ShapeHost.h"
#include "measure/TextLabel.h"

#include <cmath>
#include <cstdlib>

namespace {
constexpr int kMinimumExtent = 5; // image pixels in x or y
constexpr int kSecondLabelDrop = 30; // a distance's second label sits below the first
} // namespace

CLineShape::CLineShape(CShapeHost* host, bool partOfDistance)
    : CMeasureShape(host, KindLine), m_bDistance(partOfDistance)
{
}

CLineShape::CLineShape(const CLineShape& other)
    : CMeasureShape(other), m_bDistance(other.m_bDistance),
      m_label1(CounterpartOf(other, other.m_label1)), m_label2(CounterpartOf(other, other.m_label2))
{
}

std::unique_ptr<CMeasureShape> CLineShape::Clone() const
{
    return std::make_unique<CLineShape>(*this);
}

double CLineShape::Length() const
{
    if (PointCount() != 2)
        return 0.0;
    return MeasureGeometry::ScaledLength(PointF(0), PointF(1), m_host->ScaleX(), m_host->ScaleY());
}

double CLineShape::Direction() const
{
    return PointCount() == 2 ? MeasureGeometry::LineDirection(PointF(0), PointF(1)) : 0.0;
}

QString CLineShape::ValueText() const
{
    return QString::asprintf("%.3f", Length()) + m_host->UnitText();
}

void CLineShape::Draw(CDrawContext& dc, bool hidden)
{
    if (hidden || PointCount() != 2)
        return;
    DrawLine(dc, m_points[0], m_points[1], m_bHighlighted);
    if (m_label1) {
        m_label1->SetText(ValueText());
        m_label1->DrawLabel(dc);
    }
}

int CLineShape::OnLButtonDown(int x, int y, int mode)
{
    if (mode == KindLine && !m_bDistance) {
        m_bSelected = true;
        AddOneCoord(x, y);
        m_bInConstruction = true;
        m_nHitPart = 0;
        return 0;
    }
    return CMeasureShape::OnLButtonDown(x, y, mode);
}

void CLineShape::OnLButtonUp(int x, int y, int mode)
{
    CMeasureShape::OnLButtonUp(x, y, mode);
    m_bInConstruction = false;
    m_bSelected = false;
    // A distance's line follows its circle centres and may be short; only lone lines vanish.
    if (m_bDistance)
        return;
    if (PointCount() < 2
            || (std::abs(m_points[0].x() - m_points[1].x()) < kMinimumExtent
                    && std::abs(m_points[0].y() - m_points[1].y()) < kMinimumExtent))
        DeleteSelf();
}

void CLineShape::OnMouseMove(int x, int y, int mode)
{
    if (mode == KindLine && m_bInConstruction && !m_bDistance) {
        // The press point stays as one end; the other end follows the mouse.
        Invalidate();
        if (PointCount() == 1) {
            AddOneCoord(x, y);
            CreateLabels();
        } else if (PointCount() == 2) {
            SetPoint(1, x, y);
        }
        AnchorLabels();
        Invalidate();
        return;
    }
    if (mode == SelectMode && m_bInConstruction && m_nHitPart >= 0 && m_nHitPart < PointCount()) {
        Invalidate();
        SetPoint(m_nHitPart, x, y);
        AnchorLabels();
        Invalidate();
    }
    CMeasureShape::OnMouseMove(x, y, mode);
}

void CLineShape::SetEnds(QPoint p0, QPoint p1)
{
    m_points = { p0, p1 };
    m_fine.clear();
    if (!m_label1)
        CreateLabels();
    AnchorLabels();
}

void CLineShape::SetEnds(QPointF p0, QPointF p1)
{
    const QPoint whole0 = p0.toPoint();
    const QPoint whole1 = p1.toPoint();
    SetEnds(whole0, whole1);
    m_fine = { p0 - QPointF(whole0), p1 - QPointF(whole1) };
}

void CLineShape::CreateLabels()
{
    if (m_label1)
        return;
    m_label1 = static_cast<CTextLabel*>(AddChild(std::make_unique<CTextLabel>(m_host, QPoint())));
    m_label2 = static_cast<CTextLabel*>(AddChild(std::make_unique<CTextLabel>(m_host, QPoint())));
    AnchorLabels();
}

void CLineShape::AnchorLabels()
{
    if (!m_label1 || PointCount() != 2)
        return;
    const QPoint mid(
            (m_points[0].x() + m_points[1].x()) / 2, (m_points[0].y() + m_points[1].y()) / 2);
    m_label1->SetAnchor(mid);
    m_label2->SetAnchor(m_bDistance ? mid + QPoint(0, kSecondLabelDrop) : m_points[1]);
    m_label1->SetText(ValueText());
}

void CLineShape::AppendRows(std::vector<CResultRow>& rows) const
{
    AddRow(rows, m_label1->Id(), "length", QString::asprintf("%.3f", Length()), m_host->UnitText());
}

bool CLineShape::ReferenceLength(double& pixels, QPoint& centre) const
{
    if (PointCount() < 2)
        return false;
    const QPoint a = m_points[0];
    const QPoint b = m_points[1];
    pixels = std::hypot(double(b.x() - a.x()), double(b.y() - a.y()));
    centre = (a + b) / 2;
    return true;
}

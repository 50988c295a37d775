#include "measure/Angle4Shape.h"

#include "measure/MeasureGeometry.h"
#include "measure/ShapeManager.h"
#include "measure/TextLabel.h"

namespace {
constexpr int kPoints = 4;
}

CAngle4Shape::CAngle4Shape(CShapeManager* manager) : CMeasureShape(manager, KindAngle4) { }

double CAngle4Shape::Angle() const
{
    if (PointCount() != kPoints)
        return 0.0;
    return MeasureGeometry::Angle4(m_points[0], m_points[1], m_points[2], m_points[3]);
}

void CAngle4Shape::Draw(QPainter& painter, bool hidden)
{
    if (hidden || m_points.empty())
        return;
    const bool h = m_bHighlighted;
    switch (PointCount()) {
    case 1:
        DrawLine(painter, m_points[0], m_rubber, h);
        break;
    case 2:
        DrawLine(painter, m_points[0], m_points[1], h);
        break;
    case 3:
        DrawLine(painter, m_points[0], m_points[1], h);
        DrawLine(painter, m_points[2], m_rubber, h);
        break;
    default:
        DrawLine(painter, m_points[0], m_points[1], h);
        DrawLine(painter, m_points[2], m_points[3], h);
        if (m_label) {
            m_label->SetText(QString::asprintf("%.1fdeg.", Angle()));
            m_label->DrawLabel(painter);
        }
    }
}

int CAngle4Shape::OnLButtonDown(int x, int y, int mode)
{
    if (mode != KindAngle4)
        return CMeasureShape::OnLButtonDown(x, y, mode);
    m_bSelected = true;
    if (m_nClicks == 0) {
        m_bInConstruction = true;
        m_rubber = QPoint(x, y);
    }
    return 0;
}

void CAngle4Shape::OnLButtonUp(int x, int y, int mode)
{
    if (mode != KindAngle4) {
        CMeasureShape::OnLButtonUp(x, y, mode);
        return;
    }
    if (!m_bInConstruction)
        return;
    if (PointCount() < kPoints)
        AddOneCoord(x, y);
    ++m_nClicks;
    if (PointCount() == kPoints) {
        m_bInConstruction = false;
        if (!m_label)
            m_label = static_cast<CTextLabel*>(
                    AddChild(std::make_unique<CTextLabel>(m_manager, QPoint())));
        AnchorLabel();
    }
    Invalidate();
}

void CAngle4Shape::OnMouseMove(int x, int y, int mode)
{
    if (mode == KindAngle4) {
        if (m_bInConstruction && PointCount() < kPoints) {
            Invalidate();
            m_rubber = QPoint(x, y);
            Invalidate();
        }
        return;
    }
    if (mode == kSelectMode && m_bInConstruction && m_nHitPart >= 0 && m_nHitPart < PointCount()) {
        Invalidate();
        SetPoint(m_nHitPart, x, y);
        AnchorLabel();
        Invalidate();
    }
    CMeasureShape::OnMouseMove(x, y, mode);
}

void CAngle4Shape::Invalidate()
{
    if (m_bInConstruction)
        InvalidatePoints({ m_rubber });
    else
        InvalidatePoints();
}

void CAngle4Shape::AnchorLabel()
{
    if (m_label && PointCount() == kPoints)
        m_label->SetAnchor(QPoint(
                (m_points[0].x() + m_points[2].x()) / 2, (m_points[0].y() + m_points[2].y()) / 2));
}

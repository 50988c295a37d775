#include "measure/Angle3Shape.h"

#include "measure/MeasureGeometry.h"
#include "measure/DrawContext.h"
#include "measure/ShapeHost.h"

namespace {
constexpr int kPoints = 3;
}

CAngle3Shape::CAngle3Shape(CShapeHost* host) : CAngleShape(host, KindAngle3, kPoints) { }

std::unique_ptr<CMeasureShape> CAngle3Shape::Clone() const
{
    return std::make_unique<CAngle3Shape>(*this);
}

double CAngle3Shape::Angle() const
{
    if (PointCount() != kPoints)
        return 0.0;
    if (m_host->DirectedAngles())
        return MeasureGeometry::Angle3(PointF(0), PointF(1), PointF(2));
    return MeasureGeometry::ArmAngle(PointF(0), PointF(1), PointF(2));
}

void CAngle3Shape::Draw(CDrawContext& dc, bool hidden)
{
    if (hidden || m_points.empty())
        return;
    const bool h = m_bHighlighted;
    switch (PointCount()) {
    case 1:
        DrawLine(dc, m_points[0], m_rubber, h);
        break;
    case 2:
        DrawLine(dc, m_points[0], m_points[1], h);
        DrawLine(dc, m_points[1], m_rubber, h);
        break;
    default:
        DrawLine(dc, m_points[0], m_points[1], h);
        DrawLine(dc, m_points[1], m_points[2], h);
        DrawValue(dc);
    }
}

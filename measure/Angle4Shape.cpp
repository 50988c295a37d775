#include "measure/Angle4Shape.h"

#include "measure/MeasureGeometry.h"

namespace {
constexpr int kPoints = 4;
}

CAngle4Shape::CAngle4Shape(CShapeHost* host) : CAngleShape(host, KindAngle4, kPoints) { }

std::unique_ptr<CMeasureShape> CAngle4Shape::Clone() const
{
    return std::make_unique<CAngle4Shape>(*this);
}

double CAngle4Shape::Angle() const
{
    if (PointCount() != kPoints)
        return 0.0;
    return MeasureGeometry::Angle4(PointF(0), PointF(1), PointF(2), PointF(3));
}

void CAngle4Shape::Draw(CDrawContext& dc, bool hidden)
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
        break;
    case 3:
        DrawLine(dc, m_points[0], m_points[1], h);
        DrawLine(dc, m_points[2], m_rubber, h);
        break;
    default:
        DrawLine(dc, m_points[0], m_points[1], h);
        DrawLine(dc, m_points[2], m_points[3], h);
        DrawValue(dc);
    }
}

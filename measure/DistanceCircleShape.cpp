#include "measure/DistanceCircleShape.h"

CDistanceCircleShape::CDistanceCircleShape(CShapeHost* host)
    : CCircleShape(host, KindDistanceCircle)
{
}

std::unique_ptr<CMeasureShape> CDistanceCircleShape::Clone() const
{
    return std::make_unique<CDistanceCircleShape>(*this);
}

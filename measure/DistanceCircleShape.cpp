#include "measure/DistanceCircleShape.h"

CDistanceCircleShape::CDistanceCircleShape(CShapeManager* manager)
    : CCircleShape(manager, KindDistanceCircle)
{
}

std::unique_ptr<CMeasureShape> CDistanceCircleShape::Clone() const
{
    return std::make_unique<CDistanceCircleShape>(*this);
}

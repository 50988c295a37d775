#include "measure/DistanceCircleShape.h"

CDistanceCircleShape::CDistanceCircleShape(CShapeManager* manager)
    : CCircleShape(manager, KindDistanceCircle)
{
}

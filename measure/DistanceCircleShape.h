#pragma once

#include "measure/CircleShape.h"

// One of the two circles of a distance; built from three clicks at once, edited like a circle.
class CDistanceCircleShape : public CCircleShape
{
public:
    explicit CDistanceCircleShape(CShapeHost* host);

    std::unique_ptr<CMeasureShape> Clone() const override;
};

#pragma once

#include "measure/AngleShape.h"

// Three clicks: arm end, vertex, arm end.
class CAngle3Shape : public CAngleShape
{
public:
    explicit CAngle3Shape(CShapeHost* host);

    std::unique_ptr<CMeasureShape> Clone() const override;

    void Draw(CDrawContext& dc, bool hidden) override;
    double Angle() const override;
};

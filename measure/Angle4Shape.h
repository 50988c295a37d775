#pragma once

#include "measure/AngleShape.h"

// Four clicks: line A p0-p1, line B p2-p3.
class CAngle4Shape : public CAngleShape
{
public:
    explicit CAngle4Shape(CShapeHost* host);

    std::unique_ptr<CMeasureShape> Clone() const override;

    void Draw(CDrawContext& dc, bool hidden) override;
    double Angle() const override;
};

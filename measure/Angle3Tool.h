#pragma once

#include "measure/Angle3Shape.h"
#include "measure/ClickTool.h"

// Three clicks: an arm, the vertex, the other arm.
class CAngle3Tool : public CClickTool<CAngle3Shape>
{
public:
    CAngle3Tool() : CClickTool(Angle3Tool, KindAngle3, 3) { }
    bool SnapsToEdges() const override { return true; }
};

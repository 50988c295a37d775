#pragma once

#include "measure/Angle4Shape.h"
#include "measure/ClickTool.h"

// Four clicks: two lines, the angle between them.
class CAngle4Tool : public CClickTool<CAngle4Shape>
{
public:
    CAngle4Tool() : CClickTool(Angle4Tool, KindAngle4, 4) { }
    bool SnapsToEdges() const override { return true; }
};

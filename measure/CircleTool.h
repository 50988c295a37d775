#pragma once

#include "measure/CircleShape.h"
#include "measure/ClickTool.h"

// Three clicks on the rim.
class CCircleTool : public CClickTool<CCircleShape>
{
public:
    CCircleTool() : CClickTool(CircleTool, KindCircle, 3) { }
};

#pragma once

#include "measure/MeasureTool.h"

// Takes what is under the press in hand: the newest shape, else the newest free text, else
// the calibration reference; dragging moves it, or the point or label pressed.
class CSelectTool : public CMeasureTool
{
public:
    CSelectTool() : CMeasureTool(SelectMode) { }

    void Press(CDrawingEdit& edit, QPoint p) override;
    bool ShowsGrabCursor() const override { return true; }
};

#pragma once

#include "measure/DrawingEdit.h"
#include "measure/LineShape.h"
#include "measure/MeasureTool.h"

// A line from the press to the release; every press starts a new one, the release ends the
// tool.
class CLineTool : public CMeasureTool
{
public:
    CLineTool() : CMeasureTool(LineTool) { }

    void Press(CDrawingEdit& edit, QPoint p) override
    {
        edit.Add(std::make_unique<CLineShape>(&edit.Host()))->OnLButtonDown(p.x(), p.y(), Mode());
    }
    bool Finished() const override { return Releases() >= 1; }
    bool SnapsWithShift() const override { return true; }
    bool SnapsToEdges() const override { return true; }
};

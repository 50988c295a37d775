#pragma once

#include "measure/ClickTool.h"
#include "measure/VerticalLinesShape.h"

// Two clicks for a baseline, then a perpendicular per click until the tool is ended. The
// baseline stays open across steps, and ending the tool keeps it once it has perpendiculars.
class CVerticalLinesTool : public CClickTool<CVerticalLinesShape>
{
public:
    CVerticalLinesTool() : CClickTool(VerticalLinesTool, KindVerticalLines, 0) { }

    void Cancel(CDrawingEdit& edit) override
    {
        edit.FinishOpen();
        edit.DropUnfinished();
    }
    bool ResumesOpenShapes() const override { return true; }
    bool SnapsToEdges() const override { return true; }
};

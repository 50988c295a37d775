#pragma once

#include "measure/AreaShape.h"
#include "measure/ClickTool.h"

// Clicks on the outline; a double-click closes the polygon and ends the tool.
class CAreaTool : public CClickTool<CAreaShape>
{
public:
    CAreaTool() : CClickTool(AreaTool, KindArea, 0) { }
    bool SnapsToEdges() const override { return true; }

    void DoubleClick(CDrawingEdit& edit, QPoint p) override
    {
        CClickTool::DoubleClick(edit, p);
        m_bClosed = true;
    }
    bool Finished() const override { return m_bClosed; }

private:
    bool m_bClosed = false;
};

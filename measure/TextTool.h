#pragma once

#include "measure/MeasureTool.h"

// A free text where the mouse is released; the text is asked for, then the tool is done.
// Choosing it again starts it again, and it leaves the shapes of other tools as they are.
class CTextTool : public CMeasureTool
{
public:
    CTextTool() : CMeasureTool(TextTool) { }

    void Settle(CDrawing& drawing, const CToolServices& services, QPoint window) override;
    bool Finished() const override { return m_bDone; }
    bool EndsWhenChosenAgain() const override { return false; }
    bool TakesOver() const override { return false; }

private:
    bool m_bDone = false;
};

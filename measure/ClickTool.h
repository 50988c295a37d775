#pragma once

#include "measure/DrawingEdit.h"
#include "measure/MeasureShape.h"
#include "measure/MeasureTool.h"

// A tool that builds one shape of its kind click by click: a press goes to the shape of the
// kind still being drawn, or to a new one. Done after a number of releases (0: never).
template <class TShape> class CClickTool : public CMeasureTool
{
public:
    CClickTool(int mode, int kind, int releases)
        : CMeasureTool(mode), m_kind(kind), m_finishingRelease(releases)
    {
    }

    void Press(CDrawingEdit& edit, QPoint p) override
    {
        CMeasureShape* target = edit.Unfinished(m_kind);
        if (!target)
            target = edit.Add(std::make_unique<TShape>(&edit.Host()));
        target->OnLButtonDown(p.x(), p.y(), Mode());
    }
    bool Finished() const override
    {
        return m_finishingRelease > 0 && Releases() >= m_finishingRelease;
    }

protected:
    int Kind() const { return m_kind; }

private:
    int m_kind;
    int m_finishingRelease;
};

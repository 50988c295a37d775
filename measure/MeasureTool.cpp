#include "measure/MeasureTool.h"

#include "measure/DrawingEdit.h"
#include "measure/MeasureShape.h"

void CMeasureTool::Press(CDrawingEdit&, QPoint) { }

void CMeasureTool::Move(CDrawingEdit& edit, QPoint p)
{
    edit.Forward(&CMeasureShape::OnMouseMove, p, m_mode);
}

void CMeasureTool::Release(CDrawingEdit& edit, QPoint p)
{
    edit.Forward(&CMeasureShape::OnLButtonUp, p, m_mode);
    ++m_releases;
}

void CMeasureTool::DoubleClick(CDrawingEdit& edit, QPoint p)
{
    edit.ForwardDoubleClick(p, m_mode);
}

void CMeasureTool::Settle(CDrawing&, const CToolServices&, QPoint) { }

void CMeasureTool::Cancel(CDrawingEdit& edit)
{
    edit.DropUnfinished();
}

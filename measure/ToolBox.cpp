#include "measure/ToolBox.h"

#include "base/Trace.h"
#include "measure/Drawing.h"
#include "measure/SelectTool.h"

CToolBox::CToolBox(CDrawing& drawing) : m_drawing(drawing), m_tool(std::make_unique<CMeasureTool>())
{
}

CToolBox::~CToolBox() = default;

void CToolBox::Install(std::unique_ptr<CMeasureTool> tool)
{
    m_tool = std::move(tool);
    m_drawing.SetToolResumesOpenShapes(m_tool->ResumesOpenShapes());
    qCDebug(lcTrace) << "tool mode" << m_tool->Mode();
}

int CToolBox::Choose(int mode, ToolFactory make)
{
    std::unique_ptr<CMeasureTool> next = make();
    if (mode == Mode() && next->EndsWhenChosenAgain()) {
        Cancel();
        return Mode();
    }
    if (next->TakesOver()) {
        m_drawing.CancelUnfinished();
        if (!next->ResumesOpenShapes())
            m_drawing.FinishOpenShapes();
    }
    Install(std::move(next));
    return Mode();
}

void CToolBox::Use(ToolFactory make)
{
    Install(make());
}

void CToolBox::Cancel()
{
    m_drawing.CancelTool(*m_tool);
    Install(MakeTool<CSelectTool>());
}

void CToolBox::Press(QPoint window)
{
    m_drawing.Press(window, *m_tool);
}

void CToolBox::Move(QPoint window)
{
    m_drawing.Move(window, *m_tool);
}

void CToolBox::Release(QPoint window)
{
    m_drawing.Release(window, *m_tool);
}

void CToolBox::DoubleClick(QPoint window)
{
    m_drawing.DoubleClick(window, *m_tool);
}

void CToolBox::Settle(QPoint window)
{
    m_tool->Settle(m_drawing, m_services, window);
    EndIfFinished();
}

bool CToolBox::EndIfFinished()
{
    if (!m_tool->Finished())
        return false;
    const int mode = Mode();
    Install(MakeTool<CSelectTool>());
    if (m_ended)
        m_ended(mode);
    return true;
}

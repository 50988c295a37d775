#include "measure/TextTool.h"

#include "measure/Drawing.h"

void CTextTool::Settle(CDrawing& drawing, const CToolServices& services, QPoint window)
{
    const std::optional<QString> text = services.askText ? services.askText() : std::nullopt;
    if (text)
        drawing.AddText(*text, window.x(), window.y());
    m_bDone = true;
}

#include "measure/ClickShape.h"

#include "measure/PictureRescale.h"

CClickShape::CClickShape(CShapeHost* host, int kind) : CMeasureShape(host, kind) { }

int CClickShape::PressClick(int x, int y)
{
    m_bSelected = true;
    if (m_nClicks == 0) {
        m_bInConstruction = true;
        m_rubber = QPoint(x, y);
    }
    return 0;
}

void CClickShape::TakeClick(int x, int y, bool keepPoint)
{
    if (keepPoint)
        AddOneCoord(x, y);
    ++m_nClicks;
}

void CClickShape::MoveRubber(int x, int y)
{
    Invalidate();
    m_rubber = QPoint(x, y);
    Invalidate();
}

void CClickShape::Rescale(const CPictureRescale& map)
{
    CMeasureShape::Rescale(map);
    m_rubber = map.Map(m_rubber);
}

#pragma once

#include "measure/MeasureShape.h"

// A shape built from successive clicks in its own tool, its open end following the pointer.
class CClickShape : public CMeasureShape
{
public:
    int ClickCount() const { return m_nClicks; }
    void Rescale(const CPictureRescale& map) override;

protected:
    CClickShape(CShapeHost* host, int kind);

    // Press in the shape's tool; the first one starts the construction at the pointer.
    int PressClick(int x, int y);
    // Release in the tool: counted always, the point kept only while the shape still takes one.
    void TakeClick(int x, int y, bool keepPoint);
    // Both the old and the new rubber-band end are repainted.
    void MoveRubber(int x, int y);

    int m_nClicks = 0;
    QPoint m_rubber;
};

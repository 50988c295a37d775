#pragma once

#include "measure/ClickShape.h"

class CPerpendicularShape;

// A baseline through two clicked points; every later click adds a perpendicular to it.
class CVerticalLinesShape : public CClickShape
{
public:
    explicit CVerticalLinesShape(CShapeManager* manager);

    std::unique_ptr<CMeasureShape> Clone() const override;

    void Draw(QPainter& painter, bool hidden) override;
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;
    void Invalidate() override;

    int PerpendicularCount() const;
    CPerpendicularShape* Perpendicular(int index) const;

private:
    int m_nDraggedEnd = -1;
};

#pragma once

#include "measure/ClickShape.h"

class CPerpendicularShape;

// A baseline through two clicked points; every later click adds a perpendicular to it.
class CVerticalLinesShape : public CClickShape
{
public:
    explicit CVerticalLinesShape(CShapeHost* host);

    std::unique_ptr<CMeasureShape> Clone() const override;
    void AppendRows(std::vector<CResultRow>& rows) const override;
    // Without a perpendicular the baseline is still being drawn; with one it stays when the
    // tool changes, and counts from then on.
    bool DropOnCancel() const override;
    bool Settled() const override { return !InConstruction() || ChildCount() > 0; }
    void FinishOpen() override { SetInConstruction(false); }

    void Draw(CDrawContext& dc, bool hidden) override;
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;
    void Invalidate() override;

    int PerpendicularCount() const;
    CPerpendicularShape* Perpendicular(int index) const;

private:
    int m_nDraggedEnd = -1;
};

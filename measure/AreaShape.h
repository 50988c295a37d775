#pragma once

#include "measure/ClickShape.h"

class CTextLabel;

// A polygon closed by a double-click, measured by its calibrated area.
class CAreaShape : public CClickShape
{
public:
    explicit CAreaShape(CShapeHost* host);
    CAreaShape(const CAreaShape& other);

    std::unique_ptr<CMeasureShape> Clone() const override;
    void AppendRows(std::vector<CResultRow>& rows) const override;
    bool DropOnCancel() const override { return InConstruction(); }
    void AppendState(std::vector<int64_t>& out) const override;

    double AreaValue() const override;
    void Draw(CDrawContext& dc, bool hidden) override;
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;
    void OnLButtonDblClk(int x, int y, int mode) override;
    void Invalidate() override;

    bool IsClosed() const { return m_bClosed; }
    CTextLabel* ValueLabel() const { return m_label; }

private:
    bool m_bClosed = false;
    CTextLabel* m_label = nullptr;
};

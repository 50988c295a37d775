#pragma once

#include "measure/ClickShape.h"

class CTextLabel;

// An angle between clicked lines; the label sits halfway between the first and third point.
class CAngleShape : public CClickShape
{
public:
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;
    void Invalidate() override;
    void AppendRows(std::vector<CResultRow>& rows) const override;
    bool DropOnCancel() const override { return InConstruction(); }

    virtual double Angle() const = 0;
    CTextLabel* ValueLabel() const { return m_label; }

protected:
    CAngleShape(CShapeHost* host, int kind, int points);
    CAngleShape(const CAngleShape& other);

    void DrawValue(CDrawContext& dc);

    const int m_nPoints;

private:
    void AnchorLabel();

    CTextLabel* m_label = nullptr;
};

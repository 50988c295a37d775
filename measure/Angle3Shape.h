#pragma once

#include "measure/MeasureShape.h"

class CTextLabel;

// Three clicks: arm end, vertex, arm end.
class CAngle3Shape : public CMeasureShape
{
public:
    explicit CAngle3Shape(CShapeManager* manager);

    void Draw(QPainter& painter, bool hidden) override;
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;
    void Invalidate() override;

    double Angle() const;
    CTextLabel* ValueLabel() const { return m_label; }
    int ClickCount() const { return m_nClicks; }

private:
    void AnchorLabel();

    int m_nClicks = 0;
    QPoint m_rubber;
    CTextLabel* m_label = nullptr;
};

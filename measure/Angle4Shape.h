#pragma once

#include "measure/MeasureShape.h"

class CTextLabel;

// Four clicks: line A p0-p1, line B p2-p3.
class CAngle4Shape : public CMeasureShape
{
public:
    explicit CAngle4Shape(CShapeManager* manager);

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

#pragma once

#include "measure/MeasureShape.h"

class CTextLabel;

// A perpendicular from a clicked point P to its foot F on the parent's baseline.
class CPerpendicularShape : public CMeasureShape
{
public:
    // Points between pixels where they were snapped to edges.
    CPerpendicularShape(CShapeHost* host, QPointF baseA, QPointF baseB, QPointF p);
    CPerpendicularShape(const CPerpendicularShape& other);

    std::unique_ptr<CMeasureShape> Clone() const override;
    void AppendState(std::vector<int64_t>& out) const override;
    void Translate(QPoint d) override;
    void Rescale(const CPictureRescale& map) override;

    void Draw(CDrawContext& dc, bool hidden) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;

    double Length() const;
    CTextLabel* ValueLabel() const { return m_label; }
    // The baseline moved: the foot is recomputed from P.
    void SetBaseline(QPointF a, QPointF b);

private:
    void Recompute();

    QPointF m_baseA;
    QPointF m_baseB;
    CTextLabel* m_label = nullptr;
};

#pragma once

#include "measure/MeasureShape.h"

class CTextLabel;

// A straight line measured by its calibrated length; also the connecting line of a distance.
class CLineShape : public CMeasureShape
{
public:
    explicit CLineShape(CShapeHost* host, bool partOfDistance = false);
    CLineShape(const CLineShape& other);

    std::unique_ptr<CMeasureShape> Clone() const override;
    void AppendRows(std::vector<CResultRow>& rows) const override;
    bool DropOnCancel() const override { return InConstruction(); }
    bool ReferenceLength(double& pixels, QPoint& centre) const override;

    void Draw(CDrawContext& dc, bool hidden) override;
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;

    double Length() const;
    double Direction() const;
    bool PartOfDistance() const { return m_bDistance; }
    CTextLabel* ValueLabel() const { return m_label1; }
    CTextLabel* SecondLabel() const { return m_label2; }
    // Sets both ends at once (a distance's connecting line), creating the labels.
    void SetEnds(QPoint p0, QPoint p1);
    // Ends between pixels (the centres of circles fitted to their rims).
    void SetEnds(QPointF p0, QPointF p1);
    QString ValueText() const;

private:
    void CreateLabels();
    void AnchorLabels();

    bool m_bDistance;
    CTextLabel* m_label1 = nullptr;
    CTextLabel* m_label2 = nullptr; // carries the row id of a distance's angle; never drawn
};

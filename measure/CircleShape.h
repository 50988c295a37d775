#pragma once

#include "measure/ClickShape.h"

class CTextLabel;

// A circle through three clicked points; after completion point 0 is the centre.
class CCircleShape : public CClickShape
{
public:
    explicit CCircleShape(CShapeHost* host);
    CCircleShape(const CCircleShape& other);

    std::unique_ptr<CMeasureShape> Clone() const override;
    void AppendRows(std::vector<CResultRow>& rows) const override;
    bool DropOnCancel() const override { return InConstruction(); }
    bool ReferenceLength(double& pixels, QPoint& centre) const override;
    void AppendState(std::vector<int64_t>& out) const override;
    void Rescale(const CPictureRescale& map) override;

    double AreaValue() const override;
    void Draw(CDrawContext& dc, bool hidden) override;
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;
    int PointTest(int x, int y) const override;
    void Invalidate() override;

    double Diameter() const;
    // The radius the values are of: fitted to the rim, else through the clicks.
    double ExactRadius() const { return m_fittedRadius > 0.0 ? m_fittedRadius : m_nRadius; }
    int Radius() const { return m_nRadius; }
    QPoint Centre() const { return m_points.front(); }
    QPointF ExactCentre() const
    {
        return QPointF(m_points.front()) + (m_fittedRadius > 0.0 ? m_centreRest : QPointF());
    }
    bool IsComplete() const { return m_bComplete; }
    CTextLabel* ValueLabel() const { return m_label; }
    // Computes the circle from three points at once (a distance's circle).
    void BuildFrom(QPoint p0, QPoint p1, QPoint p2);

protected:
    CCircleShape(CShapeHost* host, int kind);
    void Complete();

    int m_nRadius = 0;
    // The radius fitted to the rim when snapping to edges; 0 while the clicks stand.
    double m_fittedRadius = 0.0;
    QPointF m_centreRest; // the fitted centre beyond its pixel, kept when the circle moves
    bool m_bComplete = false;
    CTextLabel* m_label = nullptr;
};

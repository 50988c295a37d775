#pragma once

#include "measure/ClickShape.h"

class CDistanceCircleShape;
class CLineShape;

// Six clicks: two circles of three points each and the line between their centres.
class CDistanceShape : public CClickShape
{
public:
    explicit CDistanceShape(CShapeHost* host);
    CDistanceShape(const CDistanceShape& other);

    std::unique_ptr<CMeasureShape> Clone() const override;
    void AppendRows(std::vector<CResultRow>& rows) const override;
    bool DropOnCancel() const override { return InConstruction(); }

    void Draw(CDrawContext& dc, bool hidden) override;
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;
    int HitTest(int x, int y) const override;
    void Invalidate() override;
    void SetHighlighted(bool on) override;

    CDistanceCircleShape* CircleA() const { return m_circleA; }
    CDistanceCircleShape* CircleB() const { return m_circleB; }
    CLineShape* ConnectingLine() const { return m_line; }
    bool IsComplete() const { return m_line != nullptr; }
    double Distance() const;
    double Direction() const;

private:
    void AttachLine();

    CDistanceCircleShape* m_circleA = nullptr;
    CDistanceCircleShape* m_circleB = nullptr;
    CLineShape* m_line = nullptr;
};

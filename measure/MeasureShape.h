#pragma once

#include "base/ToolModes.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class CDrawContext;
class CPictureRescale;
class CShapeHost;
class QPen;
struct CResultRow;

// One measurement drawn on the picture. Points are image pixels; the draw context's transform
// maps them to the target. Every call reaches a shape through the drawing, under its lock.
class CMeasureShape
{
public:
    static constexpr int kBodyHit = 10000;
    // How much wider the lines of the shape in hand are drawn.
    static constexpr int kMarkedExtraWidth = 2;

    CMeasureShape(CShapeHost* host, int kind);
    virtual ~CMeasureShape();
    CMeasureShape& operator=(const CMeasureShape&) = delete;

    // A deep copy for the drawing's history: the same id, points and flags, copies of the
    // children, and the same host.
    virtual std::unique_ptr<CMeasureShape> Clone() const = 0;
    // The numbers that tell one state of the shape from another: kind, id, points, what the
    // kind adds, then the children's. Value texts are left out: they follow from the rest.
    virtual void AppendState(std::vector<int64_t>& out) const;
    // The whole shape and its children, d image pixels further.
    virtual void Translate(QPoint d);
    // The whole shape and its children laid over the live picture at another size.
    virtual void Rescale(const CPictureRescale& map);

    int Kind() const { return m_kind; }
    uint32_t Id() const { return m_id; }
    virtual double AreaValue() const { return 0.0; }
    virtual void Draw(CDrawContext& dc, bool hidden);

    // The rows of the results list this shape shows, in the host's unit.
    virtual void AppendRows(std::vector<CResultRow>& rows) const;
    // Whether a tool's cancel takes the shape away: it is still being drawn.
    virtual bool DropOnCancel() const { return false; }
    // Whether the drawing's history holds the shape: it is finished.
    virtual bool Settled() const { return !m_bInConstruction; }
    // A shape that keeps taking clicks across steps (a baseline) stops taking them.
    virtual void FinishOpen() { }
    // The length a scale can be set from (a line's length, a circle's diameter) in image
    // pixels and its middle; false when the shape offers none.
    virtual bool ReferenceLength(double& pixels, QPoint& centre) const;

    virtual int OnLButtonDown(int x, int y, int mode);
    virtual void OnLButtonUp(int x, int y, int mode);
    virtual void OnMouseMove(int x, int y, int mode);
    virtual void OnLButtonDblClk(int x, int y, int mode);

    virtual void Invalidate();
    virtual int HitTest(int x, int y) const;
    virtual int CursorTest(int x, int y, int mode) const;
    virtual void SetSelected(bool selected) { m_bSelected = selected; }
    int AddOneCoord(int x, int y);
    virtual int SetPoint(int index, int x, int y);
    virtual void MoveBy(int x, int y);
    virtual int PointTest(int x, int y) const;
    virtual bool BodyTest(int, int) const { return false; }
    void DeleteSelf();
    virtual void SetHighlighted(bool on) { m_bHighlighted = on; }

    bool IsSelected() const { return m_bSelected; }
    bool IsHighlighted() const { return m_bHighlighted; }
    bool InConstruction() const { return m_bInConstruction; }
    void SetInConstruction(bool on) { m_bInConstruction = on; }
    bool IsRemoved() const { return m_bRemoved; }
    int HitPart() const { return m_nHitPart; }
    int PointCount() const { return static_cast<int>(m_points.size()); }
    QPoint Point(int index) const { return m_points[index]; }
    // The point to a part of a pixel where it was snapped to an edge.
    QPointF PointF(int index) const;
    const std::vector<QPoint>& Points() const { return m_points; }
    int ChildCount() const { return static_cast<int>(m_children.size()); }
    CMeasureShape* Child(int index) const { return m_children[index].get(); }
    CMeasureShape* Parent() const { return m_parent; }

    // Takes ownership; the child is drawn, offered presses and removed with this shape.
    CMeasureShape* AddChild(std::unique_ptr<CMeasureShape> child);
    // Hands a child over to the host for destruction once the current event is done.
    void DetachChild(CMeasureShape* child);

protected:
    // Copies everything but the parent; the children are cloned and owned by the copy.
    CMeasureShape(const CMeasureShape& other);
    // The copy's child at the place other's child has among other's children.
    template <class T> T* CounterpartOf(const CMeasureShape& other, T* otherChild) const
    {
        for (size_t i = 0; i < other.m_children.size(); ++i) {
            if (other.m_children[i].get() == otherChild)
                return static_cast<T*>(m_children[i].get());
        }
        return nullptr;
    }

    // The pen of the shape's lines: dotted while its row is highlighted, thicker while the
    // shape (or the shape it belongs to) is in hand.
    QPen LinePen(const CDrawContext& dc, bool highlighted) const;
    void DrawThinLine(CDrawContext& dc, QPoint a, QPoint b) const;
    void DrawLine(CDrawContext& dc, QPoint a, QPoint b, bool highlighted) const;
    void DrawEllipse(CDrawContext& dc, const QRect& box, bool highlighted) const;
    void DrawText(CDrawContext& dc, const QString& text, int x, int y) const;
    void DrawCross(CDrawContext& dc, int x, int y) const;
    void DrawChildren(CDrawContext& dc, bool hidden);
    // The placed point index takes what snapping left over at (x, y), or nothing.
    void TakeSnap(int index, int x, int y);
    // A row of the results list with this shape's numbers.
    static void AddRow(std::vector<CResultRow>& rows, uint32_t id, const char* type,
            const QString& value, const QString& unit);

    // Mode 13 press: own hit first, then the children in order.
    int SelectPress(int x, int y);
    // Mode 13 release and move reach every child so dragged labels and parts follow.
    void ForwardToChildren(void (CMeasureShape::*handler)(int, int, int), int x, int y, int mode);
    void EndDrag();
    // Window rectangle of the points (and extra points) grown by the invalidation margin.
    void InvalidatePoints(std::initializer_list<QPoint> extra = {});

    CShapeHost* m_host;
    uint32_t m_id;
    int m_kind;
    std::vector<QPoint> m_points;
    // What snapped points have beyond their pixel, by index; missing entries are (0, 0).
    std::vector<QPointF> m_fine;
    bool m_bInConstruction = false;
    bool m_bSelected = false;
    QPoint m_press;
    int m_nHitPart = -1;
    mutable bool m_bCursorHit = false;
    std::vector<std::unique_ptr<CMeasureShape>> m_children;
    bool m_bHighlighted = false;
    bool m_bRemoved = false;
    CMeasureShape* m_parent = nullptr;
};

#pragma once

#include <QPoint>
#include <QPointF>

#include <functional>
#include <optional>

// "Snap to edges": the points a measuring tool places move to the strongest edge near the
// pointer, to a part of a pixel, and a circle is fitted to its rim. The edge finding itself is
// handed in (it reads the picture); this keeps what the tool placed and where it was moved.
// Used under the drawing's lock.
class CEdgeSnap
{
public:
    // How far from the pointer an edge is looked for, in screen pixels.
    static constexpr double kReach = 6.0;

    // image: picture pixels, pixel centres at whole numbers; radius in picture pixels.
    using PointFinder = std::function<std::optional<QPointF>(QPointF image, double radius)>;
    // The circle given (centre, radius) moved onto the rim it lies near; false without one.
    using CircleFinder = std::function<bool(QPointF& centre, double& radius)>;

    void SetFinders(PointFinder points, CircleFinder circles);
    void SetOn(bool on);
    bool On() const { return m_on; }
    // Shift held: this point goes where the pointer is.
    void SetFree(bool free) { m_free = free; }

    // The pixel a tool that snaps gets for the pointer at image; what was left over below a
    // pixel is kept for the point the tool places there.
    QPoint Place(QPoint image, bool toolSnaps, float zoom);
    // The sub-pixel rest of a point placed at image in this event; (0, 0) for any other.
    QPointF OffsetAt(QPoint image) const;
    bool FitCircle(QPointF& centre, double& radius) const;
    // Where the next point would go, shown before the button is let go.
    std::optional<QPointF> Mark() const { return m_mark; }

private:
    PointFinder m_points;
    CircleFinder m_circles;
    bool m_on = false;
    bool m_free = false;
    bool m_placed = false;
    QPoint m_pixel;
    QPointF m_rest;
    std::optional<QPointF> m_mark;
};

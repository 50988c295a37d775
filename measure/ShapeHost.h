#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

class CMeasureShape;

// What a shape asks of the drawing it belongs to while it is edited: ids, the scale its
// values read in, invalidation of the canvas and disposal of removed parts. Every call comes
// under the drawing's lock; none takes a lock of its own.
class CShapeHost
{
public:
    virtual ~CShapeHost() = default;

    // Shapes made while one mouse event is handled share its id.
    virtual uint32_t NextShapeId() = 0;

    // Effective scale: a calibration without a usable scale measures in pixels ("px").
    virtual double ScaleX() const = 0;
    virtual double ScaleY() const = 0;
    virtual QString UnitText() const = 0;
    // Three-point angles from the first arm round to the second (0 to 360).
    virtual bool DirectedAngles() const = 0;
    // Whether the left button is held (a drag, not a hover).
    virtual bool ButtonHeld() const = 0;
    // Average character width and height of the window font, for hit tests on texts.
    virtual QSize HitCharSize() const = 0;

    // The canvas's mapping, for invalidation.
    virtual QPoint ImageToWindow(QPoint image) const = 0;
    virtual float CanvasZoom() const = 0;
    virtual void InvalidateWindowRect(const QRect& rect) = 0;
    virtual void InvalidateAll() = 0;

    // A top-level shape removed itself: destroyed once the current event is done.
    virtual void DetachShape(CMeasureShape* shape) = 0;
    virtual void Retire(std::unique_ptr<CMeasureShape> shape) = 0;
    // The on-screen reference took a drag step.
    virtual void CalibrationRulerMoved() = 0;

    // Snapping to edges: what a point placed at image in this event has beyond its pixel, and
    // a circle moved onto the rim it lies near (false: none, or snapping is off).
    virtual QPointF SnappedOffset(QPoint) const { return {}; }
    virtual bool FitCircle(QPointF&, double&) const { return false; }
};

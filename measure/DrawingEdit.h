#pragma once

#include <QPoint>

#include <cstdint>
#include <memory>
#include <vector>

class CCalibrationRuler;
class CMeasureShape;
class CShapeHost;
class CTextLabel;

// What a tool may do to the drawing while it handles one mouse event, under the drawing's
// lock. Points are image pixels.
class CDrawingEdit
{
public:
    using PointerHandler = void (CMeasureShape::*)(int x, int y, int mode);

    virtual ~CDrawingEdit() = default;

    // What new shapes are made with.
    virtual CShapeHost& Host() = 0;
    // Takes the shape into the drawing, newest last.
    virtual CMeasureShape* Add(std::unique_ptr<CMeasureShape> shape) = 0;
    // The first shape of the kind still being drawn, if any.
    virtual CMeasureShape* Unfinished(int kind) const = 0;
    virtual const std::vector<std::unique_ptr<CMeasureShape>>& Shapes() const = 0;
    virtual const std::vector<std::unique_ptr<CTextLabel>>& TextLabels() const = 0;
    virtual CCalibrationRuler* Ruler() const = 0;
    // What the press took in hand: a top-level shape and one of its parts, or a free text.
    virtual void Select(uint32_t shape, uint32_t part, uint32_t text) = 0;

    // Release and move reach every shape, then the texts and the reference, newest first.
    virtual void Forward(PointerHandler handler, QPoint p, int mode) = 0;
    // A double-click reaches every shape, newest first.
    virtual void ForwardDoubleClick(QPoint p, int mode) = 0;
    // Shapes still being drawn go; shapes kept open across tools (a baseline) are closed.
    virtual void DropUnfinished() = 0;
    virtual void FinishOpen() = 0;
};

#pragma once

#include "measure/ViewTransform.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QPoint>

#include <cstdint>

class CFrameRasteriser;
class QPainter;
class QStaticText;

// The look of shapes and labels, from the colour settings.
struct CDrawStyle
{
    QPen shapePen;
    QFont labelFont;
    QColor textColour;
};

// One pass of drawing the measurements: where it goes (the canvas, a live frame, a picture
// being burnt in), through which transform, in which style, and what is in hand. Shapes draw
// through it and through nothing else.
class CDrawContext
{
public:
    enum class Target { Canvas, Frame, Image };

    CDrawContext(QPainter& painter, Target target, const CViewTransform& view,
            const CDrawStyle& style, CFrameRasteriser* raster = nullptr);

    QPainter& Painter() const { return m_painter; }
    Target DrawTarget() const { return m_target; }
    // Saved pictures show no marks of what is in hand and no smoothed text.
    bool BurningIn() const { return m_target == Target::Image; }
    const CViewTransform& View() const { return m_view; }
    float Zoom() const { return m_view.zoom; }
    const QPen& ShapePen() const { return m_style.shapePen; }
    const QFont& LabelFont() const { return m_style.labelFont; }
    QColor TextColour() const { return m_style.textColour; }
    // The raw bottom-up frame drawn on, if any.
    CFrameRasteriser* Raster() const { return m_raster; }

    // What the last press took in hand: a top-level shape, or one part of it.
    void SetMarked(uint32_t shape, uint32_t part)
    {
        m_markedShape = shape;
        m_markedPart = part;
    }
    bool IsMarked(uint32_t shapeId) const;

    // Image pixels to the target's (mirrored on bottom-up targets).
    QPoint ImageToTarget(QPoint image) const { return m_view.ImageToTarget(image); }
    // Window pixels to the target's.
    QPoint ToTarget(QPoint window) const { return m_view.ToTarget(window); }

    // A line between target points, stepped straight into raw frames.
    void Line(QPoint a, QPoint b, const QPen& pen) const;
    // A one-pixel circle stepped into a raw frame; false when not drawing on one.
    bool Circle(QPoint centre, int radius, const QPen& pen) const;
    // A text kept upright on a mirrored target.
    void UprightText(QPoint target, const QStaticText& text) const;

private:
    QPainter& m_painter;
    Target m_target;
    CViewTransform m_view;
    const CDrawStyle& m_style;
    CFrameRasteriser* m_raster;
    uint32_t m_markedShape = 0;
    uint32_t m_markedPart = 0;
};

#pragma once

#include "measure/LabelSprite.h"

#include <QPoint>

#include <cstdint>
#include <vector>

class QPen;

// Draws straight into a bottom-up 24-bit frame, in the frame's own row order: lines, circles
// and pre-rendered label text. Qt paints 24-bit pixels a span at a time and text through a
// mirror slowly; these few primitives are what the live overlays need, at memory speed.
class CFrameRasteriser
{
public:
    CFrameRasteriser(uint8_t* frame, int width, int height);

    // A line with the pen's width laid across the minor axis; dotted and dashed pens keep
    // their rhythm.
    void Line(QPoint a, QPoint b, const QPen& pen);
    // A one-pixel midpoint circle; any pen other than solid draws every third step.
    void Circle(QPoint centre, int radius, const QPen& pen);
    // Blends a label's premultiplied pixels; top is the upright row of the text's top.
    void Sprite(int left, int top, const std::vector<CLabelSpritePixel>& pixels);

private:
    void Plot(int x, int y, const uint8_t bgr[3]);

    uint8_t* m_frame;
    int m_width;
    int m_height;
    std::size_t m_stride;
};

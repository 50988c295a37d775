#pragma once

#include <QSize>

#include <optional>

// The rules of the on-screen reference, apart from its drawing: a horizontal and a vertical
// bar through the centre of a rectangle. Dragging an end grows or shrinks its bar about the
// centre; the centre handle moves the whole reference; ends never cross or touch, which would
// give a negative or infinite scale: a drag past that stops the ends as close as the bar's
// parity allows (1 or 2 pixels apart).
struct CReferenceRect
{
    enum Handle { None = 0, LeftEnd, RightEnd, TopEnd, BottomEnd, Centre };

    // Length of both bars of a reference placed for the user (Reset's 200 pixels).
    static constexpr int kDefaultSpan = 200;
    static constexpr int kTick = 20; // half-length of the end ticks, and the grab span across

    int left = 100;
    int top = 100;
    int right = 400;
    int bottom = 400;

    int MidX() const { return (left + right + 1) / 2; }
    int MidY() const { return (top + bottom + 1) / 2; }
    // Both bars have a length: the reference can be seen, grabbed and measured with.
    bool HasExtent() const { return right > left && bottom > top; }

    // The default reference centred on a picture of that size; a small picture gets bars of
    // half its size so every handle stays on it. Without a size, where Reset puts it.
    static CReferenceRect Centred(QSize picture);
    // Which handle lies under (x, y); ends are grabbed within endTolerance along their bar.
    Handle HandleAt(int x, int y, int endTolerance) const;
    // The reference after dragging handle by (dx, dy), the ends stopped short of each other;
    // nothing without a handle or when the result has no extent.
    std::optional<CReferenceRect> Dragged(Handle handle, int dx, int dy) const;

    bool operator==(const CReferenceRect&) const = default;
};

#include "calibration/ReferenceRect.h"

#include <algorithm>
#include <cstdlib>

CReferenceRect CReferenceRect::Centred(QSize picture)
{
    if (picture.isEmpty())
        return { 100, 100, 100 + kDefaultSpan, 100 + kDefaultSpan };
    const int span =
            std::max(2, std::min({ kDefaultSpan, picture.width() / 2, picture.height() / 2 }));
    const int x = (picture.width() - span) / 2;
    const int y = (picture.height() - span) / 2;
    return { x, y, x + span, y + span };
}

CReferenceRect::Handle CReferenceRect::HandleAt(int x, int y, int endTolerance) const
{
    const int mx = MidX();
    const int my = MidY();
    auto near = [](int v, int centre, int span) { return std::abs(v - centre) <= span; };
    if (near(x, left, endTolerance) && near(y, my, kTick))
        return LeftEnd;
    if (near(x, right, endTolerance) && near(y, my, kTick))
        return RightEnd;
    if (near(x, mx, kTick) && near(y, top, endTolerance))
        return TopEnd;
    if (near(x, mx, kTick) && near(y, bottom, endTolerance))
        return BottomEnd;
    if (near(x, mx, kTick) && near(y, my, kTick))
        return Centre;
    return None;
}

std::optional<CReferenceRect> CReferenceRect::Dragged(Handle handle, int dx, int dy) const
{
    // Each step of an end changes its bar by two pixels; the last allowed leaves it 1 or 2 long.
    auto stopped = [](int shrink, int length) { return std::min(shrink, (length - 1) / 2); };
    CReferenceRect r = *this;
    switch (handle) {
    case None:
        return std::nullopt;
    case LeftEnd:
        dx = stopped(dx, right - left);
        r.left += dx;
        r.right -= dx;
        break;
    case RightEnd:
        dx = -stopped(-dx, right - left);
        r.left -= dx;
        r.right += dx;
        break;
    case TopEnd:
        dy = stopped(dy, bottom - top);
        r.top += dy;
        r.bottom -= dy;
        break;
    case BottomEnd:
        dy = -stopped(-dy, bottom - top);
        r.top -= dy;
        r.bottom += dy;
        break;
    case Centre:
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
        break;
    }
    if (!r.HasExtent())
        return std::nullopt;
    return r;
}

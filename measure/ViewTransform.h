#pragma once

#include <QPoint>

// How picture pixels reach a drawing target: the zoom, the pan (window pixels the picture is
// moved by) and, for a bottom-up frame, its height, which mirrors every y.
struct CViewTransform
{
    float zoom = 1.0f;
    int panX = 0;
    int panY = 0;
    int flipHeight = 0; // 0: a top-down target

    QPoint ToTarget(QPoint window) const
    {
        return flipHeight > 0 ? QPoint(window.x(), flipHeight - 1 - window.y()) : window;
    }
    QPoint ImageToTarget(QPoint image) const
    {
        return ToTarget({ static_cast<int>(image.x() * zoom - panX),
                static_cast<int>(image.y() * zoom - panY) });
    }
    QPoint WindowToImage(QPoint window) const
    {
        return { static_cast<int>((panX + window.x()) / zoom),
            static_cast<int>((panY + window.y()) / zoom) };
    }
};

#pragma once

#include <QPoint>
#include <QSize>

// Placement of n items of one size: a single row, or a grid as wide as the client allows,
// with a 10-pixel margin around and between items.
class CThumbLayout
{
public:
    static constexpr int kMargin = 10;

    static CThumbLayout Compute(int count, QSize itemSize, int clientWidth, bool singleRow);

    QPoint ItemPos(int i) const;
    QSize InnerSize() const;

    int columns = 0;
    int rows = 0;
    QSize itemSize;
};

#include "image/ThumbLayout.h"

#include <algorithm>

CThumbLayout CThumbLayout::Compute(int count, QSize itemSize, int clientWidth, bool singleRow)
{
    CThumbLayout l;
    l.itemSize = itemSize;
    count = std::max(0, count);
    if (singleRow) {
        l.columns = count;
        l.rows = 1;
        return l;
    }
    const int cell = std::max(1, itemSize.width() + kMargin);
    l.columns = std::max(1, clientWidth / cell);
    l.rows = (count + l.columns - 1) / l.columns;
    l.columns = std::min(l.columns, count);
    return l;
}

QPoint CThumbLayout::ItemPos(int i) const
{
    const int c = std::max(1, columns);
    return { (i % c) * (itemSize.width() + kMargin) + kMargin,
        (i / c) * (itemSize.height() + kMargin) + kMargin };
}

QSize CThumbLayout::InnerSize() const
{
    return { columns * (itemSize.width() + kMargin) + kMargin,
        rows * (itemSize.height() + kMargin) + kMargin };
}

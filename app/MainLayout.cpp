#include "app/MainLayout.h"

CMainLayout CMainLayout::Compute(int W, int H, bool hasLeft, bool hasBottom, int buttonHeight)
{
    CMainLayout l;
    l.panelVisible = hasLeft;
    l.thumbVisible = hasBottom;
    const int left = hasLeft ? 278 : 13;
    const int areaWidth = hasLeft ? W - 291 : W - 26;
    const int buttonX = hasLeft ? 263 : 0;
    l.panelHost = QRect(13, 13, 252, H - 39);
    l.thumbHost = QRect(left, H - 158, areaWidth, 145);
    l.videoHost = QRect(left, 13, areaWidth, hasBottom ? H - 184 : H - 26);
    l.hidePanelButton = l.showPanelButton = QPoint(buttonX, 0);
    l.hideStripButton = l.showStripButton = QPoint(buttonX, H - buttonHeight);
    return l;
}

CDisplaySize CDisplaySize::Compute(int displayScale, QSize host, QSize source)
{
    CDisplaySize d;
    const int w = source.width();
    const int h = source.height();
    if (w <= 0 || h <= 0)
        return d;
    if (displayScale == 0) {
        const int W = host.width();
        const int H = host.height();
        if (static_cast<double>(H) / h >= static_cast<double>(W) / w) {
            d.width = W;
            d.height = static_cast<int>(static_cast<double>(h) * W / w);
        } else {
            d.width = static_cast<int>(static_cast<double>(H) * w / h);
            d.height = H;
        }
        d.zoom = static_cast<float>(static_cast<double>(d.width) / w);
        return d;
    }
    const int scale = displayScale < 1 || displayScale > 3 ? 1 : displayScale;
    d.width = w * scale;
    d.height = h * scale;
    d.zoom = static_cast<float>(scale);
    return d;
}

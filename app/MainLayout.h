#pragma once

#include <QRect>
#include <QSize>

// Placement of the main window's four areas for a client size of W x H.
struct CMainLayout
{
    bool panelVisible = false;
    bool thumbVisible = false;
    QRect panelHost;
    QRect thumbHost;
    QRect videoHost;
    QPoint hidePanelButton; // "<<", shown with the panel
    QPoint showPanelButton; // ">>", shown without it
    QPoint hideStripButton; // "V", shown with the strip
    QPoint showStripButton; // "A", shown without it

    static CMainLayout Compute(
            int width, int height, bool hasLeft, bool hasBottom, int buttonHeight);
};

// The canvas size for a display scale: 0 fits the source into the host keeping its aspect,
// 1..3 are integer zooms.
struct CDisplaySize
{
    int width = 0;
    int height = 0;
    float zoom = 1.0f;

    static CDisplaySize Compute(int displayScale, QSize host, QSize source);
};

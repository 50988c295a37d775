#pragma once

#include <QImage>
#include <QSize>

// Shows the pump's finished views without the user-interface thread. The pump composes each
// view straight into the presenter's memory, one of two slots in turn, so that showing it
// copies nothing on this side.
class IViewPresenter
{
public:
    virtual ~IViewPresenter() = default;
    // Memory for a view of that size in slot 0 or 1, writable once what was last shown from it
    // has been read. The image does not own the memory: it stays valid until the next call for
    // the same slot or the presenter goes.
    virtual QImage View(int slot, QSize size) = 0;
    // Shows the view in slot; false when there is nowhere to show it now (the canvas then
    // paints it as before).
    virtual bool Present(int slot) = 0;
};

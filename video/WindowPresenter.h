#pragma once

#include "video/ViewPresenter.h"

#include <QPoint>
#include <QRegion>

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

struct xcb_connection_t;

// Puts the live view onto the main window's X11 window through shared memory, on the
// connection Qt draws with, the way a video sink does: a camera frame then neither wakes the
// user-interface thread nor is copied into the window's backing store.
//
// Qt keeps drawing the window. The owner hands over where the view goes each time before Qt
// paints (SetTarget, user-interface thread): a put sent before that reaches the server before
// Qt's own drawing and is painted over; one sent after it is clipped to what the view may
// cover, so it never lands on a scroll bar or panel over the picture.
class CWindowPresenter : public IViewPresenter
{
public:
    // Null where the display is not X11 with shared memory, or with KALVEX_DIRECT_VIEW=0.
    static std::unique_ptr<CWindowPresenter> Create();
    ~CWindowPresenter() override;
    CWindowPresenter(const CWindowPresenter&) = delete;
    CWindowPresenter& operator=(const CWindowPresenter&) = delete;

    // User-interface thread. window: the X11 window; origin: the view's top left in it; shown:
    // the part of the window the view may cover. An empty region or a window whose pixels are
    // not 32-bit RGB stops the puts.
    void SetTarget(uint32_t window, QPoint origin, const QRegion& shown);

    QImage View(int slot, QSize size) override;
    bool Present(int slot) override;

private:
    struct CSlot
    {
        uint32_t segment = 0; // 0: none attached
        uint8_t* data = nullptr;
        QSize size;
        unsigned int pendingSequence = 0; // a reply that says the server read the slot
        bool pending = false;
    };

    explicit CWindowPresenter(xcb_connection_t* connection);
    bool Attach(CSlot& slot, QSize size);
    void Detach(CSlot& slot);
    void WaitRead(CSlot& slot);
    // The window's depth when its pixels are 32-bit little-endian RGB; 0 otherwise.
    uint8_t UsableDepth(uint32_t window) const;

    xcb_connection_t* m_connection;
    std::array<CSlot, 2> m_slots; // the pump thread's

    mutable std::mutex m_mutex; // the target and the requests that use it
    uint32_t m_window = 0;
    uint8_t m_depth = 0;
    uint32_t m_gc = 0;
    QPoint m_origin;
    QRegion m_shown; // what the clip rectangles say
    bool m_shows = false;
};

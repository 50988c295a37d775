#include "video/WindowPresenter.h"

#include <QGuiApplication>

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <vector>

namespace {
// xcb hands out replies and errors in malloc'd memory.
struct CFree
{
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using CReply = std::unique_ptr<T, CFree>;

qsizetype BytesPerLine(QSize size)
{
    return static_cast<qsizetype>(size.width()) * 4;
}
} // namespace

std::unique_ptr<CWindowPresenter> CWindowPresenter::Create()
{
    if (qEnvironmentVariable("KALVEX_DIRECT_VIEW") == QLatin1String("0") || !qGuiApp
            || QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return {};
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
    if (!shm || !shm->present)
        return {};
    std::unique_ptr<CWindowPresenter> presenter(new CWindowPresenter(connection));
    // A server on another machine lists the extension but cannot reach our memory.
    CSlot probe;
    if (!presenter->Attach(probe, QSize(4, 4)))
        return {};
    presenter->Detach(probe);
    return presenter;
}

CWindowPresenter::CWindowPresenter(xcb_connection_t* connection) : m_connection(connection) { }

CWindowPresenter::~CWindowPresenter()
{
    for (CSlot& slot : m_slots)
        Detach(slot);
    if (m_gc)
        xcb_free_gc(m_connection, m_gc);
    xcb_flush(m_connection);
}

bool CWindowPresenter::Attach(CSlot& slot, QSize size)
{
    Detach(slot);
    const std::size_t bytes = static_cast<std::size_t>(BytesPerLine(size)) * size.height();
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0)
        return false;
    void* data = shmat(id, nullptr, 0);
    if (data == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    const uint32_t segment = xcb_generate_id(m_connection);
    CReply<xcb_generic_error_t> error(
            xcb_request_check(m_connection, xcb_shm_attach_checked(m_connection, segment, id, 0)));
    // Gone with the last detach, ours or the server's, however the program ends.
    shmctl(id, IPC_RMID, nullptr);
    if (error) {
        shmdt(data);
        return false;
    }
    slot.segment = segment;
    slot.data = static_cast<uint8_t*>(data);
    slot.size = size;
    return true;
}

void CWindowPresenter::Detach(CSlot& slot)
{
    if (!slot.segment)
        return;
    WaitRead(slot);
    xcb_shm_detach(m_connection, slot.segment);
    shmdt(slot.data);
    slot = {};
}

void CWindowPresenter::WaitRead(CSlot& slot)
{
    if (!slot.pending)
        return;
    slot.pending = false;
    // Requests are served in order: the reply to one sent after the put means it was read.
    // A frame later it has long arrived, so this rarely waits.
    CReply<xcb_get_input_focus_reply_t>(xcb_get_input_focus_reply(
            m_connection, xcb_get_input_focus_cookie_t { slot.pendingSequence }, nullptr));
}

QImage CWindowPresenter::View(int slot, QSize size)
{
    CSlot& s = m_slots.at(static_cast<std::size_t>(slot));
    if (size.isEmpty())
        return {};
    WaitRead(s);
    if (s.size != size && !Attach(s, size))
        return QImage(size, QImage::Format_RGB32);
    return QImage(s.data, size.width(), size.height(), BytesPerLine(size), QImage::Format_RGB32);
}

bool CWindowPresenter::Present(int slot)
{
    CSlot& s = m_slots.at(static_cast<std::size_t>(slot));
    const std::lock_guard lock(m_mutex);
    if (!m_shows || !s.segment)
        return false;
    const auto width = static_cast<uint16_t>(s.size.width());
    const auto height = static_cast<uint16_t>(s.size.height());
    xcb_shm_put_image(m_connection, m_window, m_gc, width, height, 0, 0, width, height,
            static_cast<int16_t>(m_origin.x()), static_cast<int16_t>(m_origin.y()), m_depth,
            XCB_IMAGE_FORMAT_Z_PIXMAP, 0, s.segment, 0);
    s.pendingSequence = xcb_get_input_focus(m_connection).sequence;
    s.pending = true;
    xcb_flush(m_connection);
    return true;
}

void CWindowPresenter::SetTarget(uint32_t window, QPoint origin, const QRegion& shown)
{
    const std::lock_guard lock(m_mutex);
    if (window != m_window) {
        if (m_gc)
            xcb_free_gc(m_connection, m_gc);
        m_gc = 0;
        m_shown = {};
        m_window = window;
        m_depth = window ? UsableDepth(window) : 0;
        if (m_depth) {
            m_gc = xcb_generate_id(m_connection);
            const uint32_t noExposures = 0;
            xcb_create_gc(m_connection, m_gc, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
        }
    }
    m_origin = origin;
    m_shows = m_gc && !shown.isEmpty();
    if (!m_shows || shown == m_shown)
        return;
    m_shown = shown;
    std::vector<xcb_rectangle_t> rects;
    for (const QRect& r : shown)
        rects.push_back({ static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()),
                static_cast<uint16_t>(r.width()), static_cast<uint16_t>(r.height()) });
    xcb_set_clip_rectangles(m_connection, XCB_CLIP_ORDERING_UNSORTED, m_gc, 0, 0,
            static_cast<uint32_t>(rects.size()), rects.data());
}

uint8_t CWindowPresenter::UsableDepth(uint32_t window) const
{
    CReply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    CReply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
    if (!attributes || !geometry)
        return 0;
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return 0;
    bool fourBytes = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
        fourBytes |= f.data->depth == geometry->depth && f.data->bits_per_pixel == 32;
    if (!fourBytes)
        return 0;
    for (auto screen = xcb_setup_roots_iterator(setup); screen.rem; xcb_screen_next(&screen)) {
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem;
                xcb_depth_next(&depth)) {
            for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
                    xcb_visualtype_next(&visual)) {
                const xcb_visualtype_t& v = *visual.data;
                if (v.visual_id == attributes->visual)
                    return v.red_mask == 0xFF0000 && v.green_mask == 0xFF00 && v.blue_mask == 0xFF
                            ? geometry->depth
                            : 0;
            }
        }
    }
    return 0;
}

#include "video/RecordingFeed.h"

#include "base/FrameLayout.h"
#include "capture/TavoGraphDll.h"

#include <cstring>

void CRecordingFeed::Start(Drawer drawer)
{
    const std::lock_guard lock(m_mutex);
    m_drawer = std::move(drawer);
    m_fed = 0;
    m_active = true;
}

void CRecordingFeed::Stop()
{
    const std::lock_guard lock(m_mutex);
    m_active = false;
    m_drawer = {};
}

void CRecordingFeed::OnFrame(const uint8_t* frame, int width, int height)
{
    if (!m_active.load() || !frame || width <= 0 || height <= 0)
        return;
    const std::lock_guard lock(m_mutex);
    if (!m_active.load())
        return;
    // The pump's frame is the live picture's: the drawing goes into a copy.
    const std::size_t bytes = FrameBytes(width, height);
    m_copy.resize(bytes);
    std::memcpy(m_copy.data(), frame, bytes);
    if (m_drawer)
        m_drawer(m_copy.data(), width, height);
    if (m_graph.PushRecordingFrame(m_copy.data(), width, height) >= 0)
        ++m_fed;
}

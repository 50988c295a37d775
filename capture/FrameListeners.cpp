#include "capture/FrameListeners.h"

#include <algorithm>

int CFrameListeners::Add(Listener listener)
{
    const std::lock_guard lock(m_mutex);
    m_listeners.emplace_back(++m_lastId, std::move(listener));
    return m_lastId;
}

void CFrameListeners::Remove(int id)
{
    // The lock waits for a call in progress: the listener's owner may go once this returns.
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_listeners, [id](const auto& entry) { return entry.first == id; });
}

void CFrameListeners::Notify() const
{
    const std::lock_guard lock(m_mutex);
    for (const auto& [id, listener] : m_listeners)
        if (listener)
            listener();
}

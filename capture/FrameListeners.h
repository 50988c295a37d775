#pragma once

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

// Who wants to hear of each new frame. Shared by the graph, which adds and removes listeners
// on its controlling thread, and its grabbers, which call them on a streaming thread.
class CFrameListeners
{
public:
    using Listener = std::function<void()>;

    // Returns the listener's id, never 0.
    int Add(Listener listener);
    // Once this returns the listener is not running and is not called again.
    void Remove(int id);
    // Calls every listener, one after another, on the calling thread.
    void Notify() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<int, Listener>> m_listeners;
    int m_lastId = 0;
};

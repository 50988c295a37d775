#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

class CTavoGraphDll;

// Hands the pump's frames, with the drawing burnt in, to a recording of the program's own
// frames. Inactive it costs one check per new frame.
class CRecordingFeed
{
public:
    // Burns the drawing into a 24-bit BGR frame (rows bottom-up, padded to 4 bytes).
    using Drawer = std::function<void(uint8_t* frame, int width, int height)>;

    explicit CRecordingFeed(CTavoGraphDll& graph) : m_graph(graph) { }

    void Start(Drawer drawer);
    void Stop();
    bool Active() const { return m_active.load(); }
    // Pump thread.
    void OnFrame(const uint8_t* frame, int width, int height);
    uint64_t FramesFed() const { return m_fed.load(); }

private:
    CTavoGraphDll& m_graph;
    std::atomic<bool> m_active { false };
    std::atomic<uint64_t> m_fed { 0 };
    std::mutex m_mutex;
    Drawer m_drawer;
    std::vector<uint8_t> m_copy;
};

#pragma once

#include "video/FrameSource.h"

class CTavoGraphDll;

// The capture library as the frame pump's source.
class CGraphFrameSource : public IFrameSource
{
public:
    explicit CGraphFrameSource(CTavoGraphDll& graph) : m_graph(graph) { }

    int32_t GetCaptureSize(int& width, int& height) override;
    int32_t CaptureToBuf(int32_t* byteCount, uint8_t* buffer) override;
    std::optional<uint64_t> NewestSequence() override;
    int32_t CaptureStamped(int32_t* byteCount, uint8_t* buffer, CFrameStamp& stamp) override;
    bool HoldNewest(TavoHeldFrame& frame) override;
    int WatchFrames(std::function<void()> listener) override;
    void UnwatchFrames(int id) override;

private:
    CTavoGraphDll& m_graph;
};

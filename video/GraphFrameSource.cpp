#include "video/GraphFrameSource.h"

#include "capture/TavoGraphDll.h"

int32_t CGraphFrameSource::GetCaptureSize(int& width, int& height)
{
    return m_graph.GetCaptureSize(width, height);
}

int32_t CGraphFrameSource::CaptureToBuf(int32_t* byteCount, uint8_t* buffer)
{
    return m_graph.CaptureToBuf(byteCount, buffer);
}

std::optional<uint64_t> CGraphFrameSource::NewestSequence()
{
    // No camera, no graph or no frame yet: nothing new to copy.
    TavoFrameStamp stamp;
    return m_graph.GetNewestFrameStamp(&stamp) < 0 ? 0 : stamp.sequence;
}

int32_t CGraphFrameSource::CaptureStamped(int32_t* byteCount, uint8_t* buffer, CFrameStamp& stamp)
{
    TavoFrameStamp copied;
    const int32_t status = m_graph.CaptureToBuf(byteCount, buffer, &copied);
    stamp.sequence = copied.sequence;
    stamp.arrivalNs = copied.arrivalNs;
    return status;
}

int CGraphFrameSource::WatchFrames(std::function<void()> listener)
{
    return m_graph.AddFrameListener(std::move(listener));
}

void CGraphFrameSource::UnwatchFrames(int id)
{
    m_graph.RemoveFrameListener(id);
}

bool CGraphFrameSource::HoldNewest(TavoHeldFrame& frame)
{
    return m_graph.HoldNewestFrame(&frame) >= 0;
}

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

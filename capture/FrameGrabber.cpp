#include "capture/FrameGrabber.h"

#include "base/FrameLayout.h"

#include "capture/CaptureStatus.h"
#include "capture/FrameListeners.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TAVO_PACK_WIDE 1
#endif

#include <chrono>
#include <cstring>
#include <utility>

namespace {
std::atomic<uint64_t> g_lastSequence { 0 };

// A sample mapped for reading for as long as a held frame needs it.
struct CMappedSample
{
    GstSample* sample = nullptr;
    GstMapInfo map {};
    CMappedSample() = default;
    CMappedSample(const CMappedSample&) = delete;
    CMappedSample& operator=(const CMappedSample&) = delete;
    ~CMappedSample()
    {
        gst_buffer_unmap(gst_sample_get_buffer(sample), &map);
        gst_sample_unref(sample);
    }
};

// BGRx to BGR, one row; the unused fourth byte goes.
void PackRowPlain(const uint8_t* in, uint8_t* out, int from, int width)
{
    in += static_cast<std::size_t>(4) * from;
    out += static_cast<std::size_t>(3) * from;
    for (int x = from; x < width; ++x, in += 4, out += 3) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
    }
}

#if defined(TAVO_PACK_WIDE)
// Four pixels a step; each store writes four bytes past its pixels, which the next step
// overwrites, so it stops one pixel short of the row's end.
__attribute__((target("ssse3"))) void PackRowWide(const uint8_t* in, uint8_t* out, int width)
{
    const __m128i pack = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 5 <= width; x += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x),
                _mm_shuffle_epi8(
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x)), pack));
    PackRowPlain(in, out, x, width);
}
#endif

void PackRow(const uint8_t* in, uint8_t* out, int width)
{
#if defined(TAVO_PACK_WIDE)
    static const bool wide = __builtin_cpu_supports("ssse3");
    if (wide)
        return PackRowWide(in, out, width);
#endif
    PackRowPlain(in, out, 0, width);
}

bool RowsInside(int64_t offset, int stride, int width, int height, int bytesPerPixel, size_t size)
{
    const int64_t last =
            offset + static_cast<int64_t>(height - 1) * stride + int64_t { width } * bytesPerPixel;
    return offset >= 0 && last <= static_cast<int64_t>(size);
}
} // namespace

CFrameGrabber::~CFrameGrabber()
{
    if (m_frame.sample)
        gst_sample_unref(m_frame.sample);
    if (m_caps)
        gst_caps_unref(m_caps);
}

int64_t CFrameGrabber::NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch())
            .count();
}

void CFrameGrabber::Attach(GstElement* appSink)
{
    GstAppSinkCallbacks callbacks {};
    callbacks.new_sample = [](GstAppSink* sink, gpointer self) -> GstFlowReturn {
        return static_cast<GstFlowReturn>(OnNewSample(sink, self));
    };
    gst_app_sink_set_callbacks(GST_APP_SINK(appSink), &callbacks, this, nullptr);
}

int CFrameGrabber::OnNewSample(GstAppSink* sink, void* self)
{
    auto* grabber = static_cast<CFrameGrabber*>(self);
    const int64_t arrival = NowNs();
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_EOS;
    grabber->Publish(sample, arrival);
    return GST_FLOW_OK;
}

bool CFrameGrabber::Describe(GstSample* sample, Frame& frame)
{
    GstCaps* caps = gst_sample_get_caps(sample);
    if (!caps)
        return false;
    // Caps change only on renegotiation: parse them once, not per frame.
    if (caps != m_caps) {
        GstVideoInfo info;
        if (!gst_video_info_from_caps(&info, caps))
            return false;
        const GstVideoFormat format = GST_VIDEO_INFO_FORMAT(&info);
        if (format != GST_VIDEO_FORMAT_BGR && format != GST_VIDEO_FORMAT_BGRx)
            return false;
        m_capsBytesPerPixel = format == GST_VIDEO_FORMAT_BGR ? 3 : 4;
        gst_caps_replace(&m_caps, caps);
        m_capsWidth = GST_VIDEO_INFO_WIDTH(&info);
        m_capsHeight = GST_VIDEO_INFO_HEIGHT(&info);
        m_capsStride = GST_VIDEO_INFO_PLANE_STRIDE(&info, 0);
    }
    frame.width = m_capsWidth;
    frame.height = m_capsHeight;
    frame.stride = m_capsStride;
    frame.bytesPerPixel = m_capsBytesPerPixel;
    frame.offset = 0;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (!buffer)
        return false;
    // A producer may pad rows its own way; its video meta then says how.
    if (const GstVideoMeta* meta = gst_buffer_get_video_meta(buffer)) {
        frame.stride = meta->stride[0];
        frame.offset = static_cast<int64_t>(meta->offset[0]);
    }
    return frame.width > 0 && frame.height > 0 && frame.stride >= frame.width * frame.bytesPerPixel;
}

void CFrameGrabber::SetListeners(std::shared_ptr<const CFrameListeners> listeners)
{
    m_listeners = std::move(listeners);
}

void CFrameGrabber::Publish(GstSample* sample, int64_t arrivalNs)
{
    Frame frame;
    if (!Describe(sample, frame)) {
        gst_sample_unref(sample);
        return;
    }
    frame.sample = sample;
    frame.sequence = g_lastSequence.fetch_add(1, std::memory_order_relaxed) + 1;
    frame.arrivalNs = arrivalNs;
    {
        std::lock_guard lock(m_mutex);
        std::swap(m_frame, frame);
    }
    const int64_t now = NowNs();
    m_lastArrivalNs.store(arrivalNs, std::memory_order_release);
    m_lastPublishNs.store(now, std::memory_order_release);
    if (m_frames.fetch_add(1, std::memory_order_release) == 0)
        m_firstNs.store(now, std::memory_order_relaxed);
    m_lastNs.store(now, std::memory_order_relaxed);
    if (frame.sample)
        gst_sample_unref(frame.sample);
    if (m_listeners)
        m_listeners->Notify();
}

double CFrameGrabber::AverageRate() const
{
    const uint64_t frames = m_frames.load(std::memory_order_relaxed);
    const int64_t span =
            m_lastNs.load(std::memory_order_relaxed) - m_firstNs.load(std::memory_order_relaxed);
    if (frames < 2 || span <= 0)
        return 0.0;
    return static_cast<double>(frames - 1) * 1e9 / static_cast<double>(span);
}

int32_t CFrameGrabber::FrameBytes(int32_t& bytes) const
{
    std::lock_guard lock(m_mutex);
    if (!m_frame.sample)
        return TavoStatus::WrongState;
    bytes = FrameStride(m_frame.width) * m_frame.height;
    return TavoStatus::Ok;
}

void CFrameGrabber::CopyRowsBottomUp(
        const uint8_t* src, int srcStride, uint8_t* dst, int width, int height, int bytesPerPixel)
{
    const int dstStride = FrameStride(width);
    const int rowBytes = width * 3;
    const int pad = dstStride - rowBytes;
    uint8_t* out = dst + static_cast<size_t>(height - 1) * dstStride;
    // The producer's padding is not copied, so the caller's padding bytes are always zero.
    for (int y = 0; y < height; ++y, src += srcStride, out -= dstStride) {
        if (bytesPerPixel == 3)
            std::memcpy(out, src, rowBytes);
        else
            PackRow(src, out, width);
        if (pad)
            std::memset(out + rowBytes, 0, pad);
    }
}

int32_t CFrameGrabber::NewestStamp(uint64_t& sequence, int64_t& arrivalNs) const
{
    std::lock_guard lock(m_mutex);
    if (!m_frame.sample)
        return TavoStatus::WrongState;
    sequence = m_frame.sequence;
    arrivalNs = m_frame.arrivalNs;
    return TavoStatus::Ok;
}

int32_t CFrameGrabber::CopyTo(uint8_t* buffer, int32_t& bytes, int* width, int* height,
        uint64_t* sequence, int64_t* arrivalNs) const
{
    TavoHeldFrame held;
    const int32_t status = Hold(held);
    if (status != TavoStatus::Ok)
        return status;
    const int64_t needed = static_cast<int64_t>(FrameStride(held.width)) * held.height;
    if (needed > bytes)
        return TavoStatus::OutOfMemory;
    CopyRowsBottomUp(held.top, held.stride, buffer, held.width, held.height, held.bytesPerPixel);
    bytes = static_cast<int32_t>(needed);
    if (width)
        *width = held.width;
    if (height)
        *height = held.height;
    if (sequence)
        *sequence = held.sequence;
    if (arrivalNs)
        *arrivalNs = held.arrivalNs;
    return TavoStatus::Ok;
}

int32_t CFrameGrabber::Hold(TavoHeldFrame& held) const
{
    Frame frame;
    {
        std::lock_guard lock(m_mutex);
        if (!m_frame.sample)
            return TavoStatus::WrongState;
        frame = m_frame;
        gst_sample_ref(frame.sample);
    }
    auto mapped = std::make_shared<CMappedSample>();
    if (!gst_buffer_map(gst_sample_get_buffer(frame.sample), &mapped->map, GST_MAP_READ)) {
        gst_sample_unref(frame.sample);
        return TavoStatus::Fail;
    }
    mapped->sample = frame.sample;
    // Never lend rows past the producer's buffer, however its meta describes them.
    if (!RowsInside(frame.offset, frame.stride, frame.width, frame.height, frame.bytesPerPixel,
                mapped->map.size))
        return TavoStatus::Fail;
    held.top = mapped->map.data + frame.offset;
    held.stride = frame.stride;
    held.width = frame.width;
    held.height = frame.height;
    held.bytesPerPixel = frame.bytesPerPixel;
    held.sequence = frame.sequence;
    held.arrivalNs = frame.arrivalNs;
    held.keep = std::move(mapped);
    return TavoStatus::Ok;
}

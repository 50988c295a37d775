#pragma once

#include "capture/HeldFrame.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

class CFrameListeners;

typedef struct _GstAppSink GstAppSink;
typedef struct _GstCaps GstCaps;
typedef struct _GstElement GstElement;
typedef struct _GstSample GstSample;

// The end of the pipeline: keeps the newest sample the appsink delivers (BGR, or BGRx, which
// GStreamer makes faster) and copies it into the caller's buffer in the bottom-up,
// 4-byte-padded BGR layout, or lends it as it is (Hold). Sample hand-over takes a short
// lock; the copy itself runs outside it on a reference of the sample.
class CFrameGrabber
{
public:
    CFrameGrabber() = default;
    ~CFrameGrabber();

    CFrameGrabber(const CFrameGrabber&) = delete;
    CFrameGrabber& operator=(const CFrameGrabber&) = delete;

    // Installs the new-sample callback; the grabber must outlive the sink's streaming.
    void Attach(GstElement* appSink);
    // Told of every frame Publish() makes the newest; set before the sink streams.
    void SetListeners(std::shared_ptr<const CFrameListeners> listeners);
    // Takes over the sample's reference and makes it the newest frame.
    void Publish(GstSample* sample, int64_t arrivalNs);

    int32_t FrameBytes(int32_t& bytes) const;
    // sequence and arrivalNs, when given, say which frame was copied.
    int32_t CopyTo(uint8_t* buffer, int32_t& bytes, int* width = nullptr, int* height = nullptr,
            uint64_t* sequence = nullptr, int64_t* arrivalNs = nullptr) const;
    // The newest frame without a copy; WrongState before the first frame.
    int32_t Hold(TavoHeldFrame& held) const;
    // The newest frame's sequence number and arrival; WrongState before the first frame.
    int32_t NewestStamp(uint64_t& sequence, int64_t& arrivalNs) const;

    uint64_t Frames() const { return m_frames.load(std::memory_order_acquire); }
    // Average frames per second since the first frame; 0 before the second.
    double AverageRate() const;
    // Monotonic nanoseconds when the newest frame entered the callback and when it became
    // visible to CopyTo().
    int64_t LastArrivalNs() const { return m_lastArrivalNs.load(std::memory_order_acquire); }
    int64_t LastPublishNs() const { return m_lastPublishNs.load(std::memory_order_acquire); }

    // Top-down rows of 3 (BGR) or 4 (BGRx) bytes a pixel into the bottom-up BGR layout.
    static void CopyRowsBottomUp(const uint8_t* src, int srcStride, uint8_t* dst, int width,
            int height, int bytesPerPixel = 3);
    static int64_t NowNs();

private:
    struct Frame
    {
        GstSample* sample = nullptr;
        int width = 0;
        int height = 0;
        int stride = 0;
        int bytesPerPixel = 3;
        int64_t offset = 0;
        // Unique in the process, so a rebuilt graph never repeats the number of an old frame.
        uint64_t sequence = 0;
        int64_t arrivalNs = 0;
    };

    static int OnNewSample(GstAppSink* sink, void* self);
    bool Describe(GstSample* sample, Frame& frame);

    mutable std::mutex m_mutex;
    Frame m_frame; // guarded by m_mutex

    // Streaming thread only: the caps last parsed and what they said.
    GstCaps* m_caps = nullptr;
    int m_capsWidth = 0;
    int m_capsHeight = 0;
    int m_capsStride = 0;
    int m_capsBytesPerPixel = 3;

    std::shared_ptr<const CFrameListeners> m_listeners;
    std::atomic<uint64_t> m_frames { 0 };
    std::atomic<int64_t> m_firstNs { 0 };
    std::atomic<int64_t> m_lastNs { 0 };
    std::atomic<int64_t> m_lastArrivalNs { 0 };
    std::atomic<int64_t> m_lastPublishNs { 0 };
};

#pragma once

#include "capture/HeldFrame.h"

#include <cstdint>
#include <functional>
#include <optional>

// Which frame a source handed out: a sequence number that grows with every new frame (0: not
// known) and its arrival in nanoseconds of std::chrono::steady_clock.
struct CFrameStamp
{
    uint64_t sequence = 0;
    int64_t arrivalNs = 0;
};

// Where the frame pump gets its frames: the capture library in the program, fakes in tests.
// Frames are 24-bit BGR, rows bottom-up, each row padded to a multiple of 4 bytes.
class IFrameSource
{
public:
    virtual ~IFrameSource() = default;
    virtual int32_t GetCaptureSize(int& width, int& height) = 0;
    // With buffer == nullptr replaces *byteCount by the size of the held frame; otherwise
    // copies the newest frame when *byteCount is large enough. Negative on failure.
    virtual int32_t CaptureToBuf(int32_t* byteCount, uint8_t* buffer) = 0;

    // The newest frame's sequence number, so that the pump copies only frames it has not seen:
    // no value when the source cannot tell (any copy may bring a new frame), 0 without a frame.
    virtual std::optional<uint64_t> NewestSequence() { return std::nullopt; }
    // Calls listener on any thread whenever a new frame becomes the newest, until
    // UnwatchFrames() with the id returned; -1 when the source cannot tell (the pump then looks
    // at its own pace).
    virtual int WatchFrames(std::function<void()> listener)
    {
        (void)listener;
        return -1;
    }
    // Once this returns the listener is not running and is not called again.
    virtual void UnwatchFrames(int id) { (void)id; }

    // The newest frame without a copy, rows top-down; false when the source cannot lend it
    // (the pump then copies).
    virtual bool HoldNewest(TavoHeldFrame& frame)
    {
        (void)frame;
        return false;
    }

    // CaptureToBuf() that also says which frame it copied.
    virtual int32_t CaptureStamped(int32_t* byteCount, uint8_t* buffer, CFrameStamp& stamp)
    {
        stamp = {};
        return CaptureToBuf(byteCount, buffer);
    }
};

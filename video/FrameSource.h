#pragma once

#include <cstdint>

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
};

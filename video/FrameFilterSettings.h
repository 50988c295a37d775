#pragma once

#include <cstdint>

// The software filters run over every frame, in this order, each only when on.
struct CFrameFilterSettings
{
    bool whiteBalance = false;
    int redGain = 0;
    int blueGain = 0;
    bool equalize = false; // the contrast curve ("AHE")
    bool binarize = false;
    int threshold = 128;

    bool operator==(const CFrameFilterSettings&) const = default;
    // Some filter changes the frame.
    bool AnyOn() const { return whiteBalance || equalize || binarize; }

    // Applies white balance, the contrast curve and binarization to a frame buffer.
    void Apply(uint8_t* buffer, int width, int height) const;
};

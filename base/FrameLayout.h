#pragma once

#include <cstddef>
#include <cstdint>

// Frames and pictures share one layout: 24 bits per pixel in the order blue, green, red, rows
// stored bottom-up, each row padded to a multiple of 4 bytes. A frame becomes a picture by
// copying rows.
constexpr int kFrameBitsPerPixel = 24;

// Bytes per row; 0 for a width of 0 or less.
constexpr int FrameStride(int width)
{
    if (width <= 0)
        return 0;
    return static_cast<int>((static_cast<int64_t>(width) * kFrameBitsPerPixel + 31) / 32 * 4);
}

constexpr std::size_t FrameBytes(int width, int height)
{
    return static_cast<std::size_t>(FrameStride(width)) * static_cast<std::size_t>(height);
}

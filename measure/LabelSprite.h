#pragma once

#include <cstdint>

// One pixel of a label's text rendered for raw frames, premultiplied; only the pixels the
// text covers are kept, so blending skips the empty ones.
struct CLabelSpritePixel
{
    int16_t x;
    int16_t y;
    uint8_t a, b, g, r;
};

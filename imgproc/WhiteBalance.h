#pragma once

#include <cstdint>

// Software white balance of a 24-bit blue-green-red frame (rows bottom-up, each padded to a
// multiple of 4 bytes). The gains are offsets added to red and blue and limited to 0-255;
// green and the row padding are not touched; a gain of 0 leaves its channel unchanged.
// Returns 0, or -1 when the buffer is missing or width or height is 0 or less.
int ApplyWhiteBalance(uint8_t* buffer, int width, int height, int redGain, int blueGain);

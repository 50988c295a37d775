#pragma once

#include "base/FrameLayout.h"

#include <cstddef>
#include <cstdint>

// Frame filters that run on every live frame and on every capture to the frame image.
// Buffers are 24-bit blue-green-red, rows bottom-up, each row padded to a multiple of 4 bytes;
// only the width x 3 colour bytes of a row are changed, padding is left alone.

/// @brief Brightness equalization ("AHE"): every colour byte v becomes
/// trunc(127 + (v - 127) x k), clamped to 0-255, with k = 40 x float(0.02).
/// A missing buffer or a width or height of 0 or less leaves everything as it is.
void ApplyContrastCurve(uint8_t* buffer, int width, int height);

/// @brief Binarization ("BIN"): a pixel becomes white when its weighted sum
/// trunc(0.3 R + 0.3 G + 0.11 B), taken from single-precision tables, is at least
/// 255 - threshold, otherwise black.
/// @return 0, or -1 when the buffer is missing or width or height is 0 or less.
int ApplyBinarization(uint8_t* buffer, int width, int height, int threshold);

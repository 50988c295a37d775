#include "video/WhiteBalance.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

using OffsetTable = std::array<uint8_t, 256>;

void BuildOffsetTable(OffsetTable& table, int gain)
{
    gain = std::clamp(gain, -255, 255);
    for (int v = 0; v < 256; ++v) {
        const int out = v + gain;
        table[v] = static_cast<uint8_t>(out < 0 ? 0 : (out > 255 ? 255 : out));
    }
}

} // namespace

int ApplyWhiteBalance(uint8_t* buffer, int width, int height, int redGain, int blueGain)
{
    if (buffer == nullptr || width <= 0 || height <= 0)
        return -1;
    OffsetTable red, blue;
    BuildOffsetTable(red, redGain);
    BuildOffsetTable(blue, blueGain);
    const std::size_t stride = (static_cast<std::size_t>(width) * 24 + 31) / 32 * 4;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = buffer + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = blue[p[0]];
            p[2] = red[p[2]];
        }
    }
    return 0;
}

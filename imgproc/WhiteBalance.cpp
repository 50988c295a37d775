#include "imgproc/WhiteBalance.h"

#include "base/FrameLayout.h"

#include <algorithm>
#include <array>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using OffsetTable = std::array<uint8_t, 256>;

void BuildOffsetTable(OffsetTable& table, int gain)
{
    for (int v = 0; v < 256; ++v) {
        const int out = v + gain;
        table[v] = static_cast<uint8_t>(out < 0 ? 0 : (out > 255 ? 255 : out));
    }
}

#if defined(__SSE2__)
// Sixteen pixels are 48 bytes: three vectors whose channel pattern repeats. A gain is added
// with unsigned saturation when positive and subtracted with it when negative, which is the
// clamped sum without widening.
class CSixteenPixelGains
{
public:
    CSixteenPixelGains(int redGain, int blueGain)
    {
        alignas(16) uint8_t add[48], sub[48];
        for (int i = 0; i < 48; ++i) {
            const int channel = i % 3;
            const int gain = channel == 0 ? blueGain : (channel == 2 ? redGain : 0);
            add[i] = static_cast<uint8_t>(gain > 0 ? gain : 0);
            sub[i] = static_cast<uint8_t>(gain < 0 ? -gain : 0);
        }
        for (int k = 0; k < 3; ++k) {
            m_add[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(add + 16 * k));
            m_sub[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(sub + 16 * k));
        }
    }

    void Apply(uint8_t* p) const
    {
        for (int k = 0; k < 3; ++k) {
            auto* chunk = reinterpret_cast<__m128i*>(p + 16 * k);
            const __m128i v = _mm_adds_epu8(_mm_loadu_si128(chunk), m_add[k]);
            _mm_storeu_si128(chunk, _mm_subs_epu8(v, m_sub[k]));
        }
    }

private:
    __m128i m_add[3];
    __m128i m_sub[3];
};
#endif

} // namespace

int ApplyWhiteBalance(uint8_t* buffer, int width, int height, int redGain, int blueGain)
{
    if (buffer == nullptr || width <= 0 || height <= 0)
        return -1;
    redGain = std::clamp(redGain, -255, 255);
    blueGain = std::clamp(blueGain, -255, 255);
    OffsetTable red, blue;
    BuildOffsetTable(red, redGain);
    BuildOffsetTable(blue, blueGain);
#if defined(__SSE2__)
    const CSixteenPixelGains gains(redGain, blueGain);
#endif
    const std::size_t stride = static_cast<std::size_t>(FrameStride(width));
    for (int y = 0; y < height; ++y) {
        uint8_t* p = buffer + stride * static_cast<std::size_t>(y);
        int x = 0;
#if defined(__SSE2__)
        for (; x + 16 <= width; x += 16, p += 48)
            gains.Apply(p);
#endif
        for (; x < width; ++x, p += 3) {
            p[0] = blue[p[0]];
            p[2] = red[p[2]];
        }
    }
    return 0;
}

#include "imgproc/LiveHistogram.h"

#include "base/FrameLayout.h"
#include "imgproc/WideInstructions.h"

#include <algorithm>
#include <array>

#if defined(KALVEX_X86_DISPATCH)
#include <immintrin.h>
#endif

namespace {

using Ends = CLiveHistogram::Ends;

// Grey 0 needs a weighted sum below 256, grey 255 all three at 255: no branch for either.
void CountRowEnds(const uint8_t* row, int from, int count, Ends& ends)
{
    for (int x = from; x < count; ++x) {
        const uint8_t* p = row + static_cast<std::size_t>(3) * x;
        const int sum = p[0] * 29 + p[1] * 150 + p[2] * 77;
        ends.dark[CLiveHistogram::Luminance] += sum < 256;
        ends.bright[CLiveHistogram::Luminance] += sum >= 255 * 256;
        ends.dark[CLiveHistogram::Blue] += p[0] == 0;
        ends.bright[CLiveHistogram::Blue] += p[0] == 255;
        ends.dark[CLiveHistogram::Green] += p[1] == 0;
        ends.bright[CLiveHistogram::Green] += p[1] == 255;
        ends.dark[CLiveHistogram::Red] += p[2] == 0;
        ends.bright[CLiveHistogram::Red] += p[2] == 255;
    }
}

int CountRowEndsPlain(const uint8_t* row, int count, std::size_t, Ends& ends)
{
    CountRowEnds(row, 0, count, ends);
    return count;
}

#if defined(KALVEX_X86_DISPATCH)
#pragma GCC push_options
#pragma GCC target("avx2")

uint64_t LaneSum(__m256i v)
{
    alignas(32) uint64_t lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), v);
    return lanes[0] + lanes[1] + lanes[2] + lanes[3];
}

// Weighted grey sums of eight pixels from 24 bytes (reads 32): below 256 is grey 0, from
// 255 x 256 on (all three at 255) grey 255.
void CountGreyEnds(const uint8_t* at, __m256i& dark, __m256i& bright)
{
    const __m256i spread = _mm256_setr_epi32(0, 1, 2, 2, 3, 4, 5, 5);
    const __m256i pixels = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
            1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i raw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i p = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(raw, spread), pixels);
    const __m256i parts =
            _mm256_add_epi16(_mm256_maddubs_epi16(p, _mm256_set1_epi32(29 | 75 << 8 | 77 << 16)),
                    _mm256_maddubs_epi16(p, _mm256_set1_epi32(75 << 8)));
    const __m256i sum = _mm256_add_epi32(
            _mm256_and_si256(parts, _mm256_set1_epi32(0xFFFF)), _mm256_srli_epi32(parts, 16));
    dark = _mm256_sub_epi32(dark, _mm256_cmpgt_epi32(_mm256_set1_epi32(256), sum));
    bright = _mm256_sub_epi32(bright, _mm256_cmpgt_epi32(sum, _mm256_set1_epi32(255 * 256 - 1)));
}

// 32 pixels a step, as three vectors of bytes: byte counters of 0 and 255 by place, summed
// by channel (the place's remainder by 3) before they can wrap, and the grey, which needs
// the pixels apart. Only steps with a byte of 8 or less or of 255 are counted: a grey of 0
// has no byte above 8. Reads 104 bytes a step, so it stops where fewer are left.
int CountRowEndsWide(const uint8_t* row, int count, std::size_t readable, Ends& ends)
{
    // channels[k][c]: the bytes of vector k that belong to channel c (0 blue, 1 green, 2 red).
    static const auto channels = [] {
        std::array<std::array<std::array<uint8_t, 32>, 3>, 3> bytes {};
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i < 32; ++i)
                bytes[k][(32 * k + i) % 3][i] = 0xFF;
        return bytes;
    }();
    const __m256i full = _mm256_set1_epi8(-1);
    const __m256i eight = _mm256_set1_epi8(8);
    __m256i dark[3] = {};
    __m256i bright[3] = {};
    __m256i darkTotals[3] = {};
    __m256i brightTotals[3] = {};
    __m256i darkGrey = _mm256_setzero_si256();
    __m256i brightGrey = _mm256_setzero_si256();
    const auto empty = [&] {
        for (int k = 0; k < 3; ++k)
            for (int c = 0; c < 3; ++c) {
                const __m256i mask =
                        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(channels[k][c].data()));
                darkTotals[c] = _mm256_add_epi64(darkTotals[c],
                        _mm256_sad_epu8(_mm256_and_si256(dark[k], mask), _mm256_setzero_si256()));
                brightTotals[c] = _mm256_add_epi64(brightTotals[c],
                        _mm256_sad_epu8(_mm256_and_si256(bright[k], mask), _mm256_setzero_si256()));
            }
        for (int k = 0; k < 3; ++k)
            dark[k] = bright[k] = _mm256_setzero_si256();
    };
    int steps = 0;
    int x = 0;
    for (; x + 32 <= count && static_cast<std::size_t>(3) * x + 104 <= readable; x += 32) {
        const uint8_t* at = row + static_cast<std::size_t>(3) * x;
        const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
        const __m256i v2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 64));
        // Most of a picture is far from both ends: one test of the least and the greatest
        // byte passes it by.
        const __m256i least = _mm256_min_epu8(_mm256_min_epu8(v0, v1), v2);
        const __m256i greatest = _mm256_max_epu8(_mm256_max_epu8(v0, v1), v2);
        const __m256i near = _mm256_or_si256(_mm256_cmpeq_epi8(greatest, full),
                _mm256_cmpeq_epi8(_mm256_min_epu8(least, eight), least));
        if (_mm256_testz_si256(near, near))
            continue;
        const __m256i v[3] = { v0, v1, v2 };
        for (int k = 0; k < 3; ++k) {
            dark[k] = _mm256_sub_epi8(dark[k], _mm256_cmpeq_epi8(v[k], _mm256_setzero_si256()));
            bright[k] = _mm256_sub_epi8(bright[k], _mm256_cmpeq_epi8(v[k], full));
        }
        for (int k = 0; k < 4; ++k)
            CountGreyEnds(at + 24 * k, darkGrey, brightGrey);
        if (++steps == 255) {
            empty();
            steps = 0;
        }
    }
    empty();
    // The grey counts are 32-bit lanes: add their halves as 64-bit.
    const auto wide = [](__m256i v) {
        return LaneSum(_mm256_add_epi64(
                _mm256_and_si256(v, _mm256_set1_epi64x(0xFFFFFFFF)), _mm256_srli_epi64(v, 32)));
    };
    ends.dark[CLiveHistogram::Luminance] += static_cast<uint32_t>(wide(darkGrey));
    ends.bright[CLiveHistogram::Luminance] += static_cast<uint32_t>(wide(brightGrey));
    const CLiveHistogram::Channel order[3] = { CLiveHistogram::Blue, CLiveHistogram::Green,
        CLiveHistogram::Red };
    for (int c = 0; c < 3; ++c) {
        ends.dark[order[c]] += static_cast<uint32_t>(LaneSum(darkTotals[c]));
        ends.bright[order[c]] += static_cast<uint32_t>(LaneSum(brightTotals[c]));
    }
    CountRowEnds(row, x, count, ends);
    return count;
}

#pragma GCC pop_options
#endif

} // namespace

CLiveHistogram::Ends CLiveHistogram::CountEnds(const uint8_t* frame, int width, int height)
{
    Ends ends;
    if (!frame || width <= 0 || height <= 0)
        return ends;
    auto countRow = CountRowEndsPlain;
#if defined(KALVEX_X86_DISPATCH)
    if (UseWideInstructions())
        countRow = CountRowEndsWide;
#endif
    const std::size_t stride = static_cast<std::size_t>(FrameStride(width));
    const std::size_t size = FrameBytes(width, height);
    for (int y = 0; y < height; ++y) {
        const std::size_t at = stride * static_cast<std::size_t>(y);
        countRow(frame + at, width, size - at, ends);
    }
    ends.pixels = static_cast<uint32_t>(width) * static_cast<uint32_t>(height);
    return ends;
}

void CLiveHistogram::Compute(const uint8_t* frame, int width, int height, int step)
{
    for (Counts& counts : m_counts)
        counts.fill(0);
    m_pixels = 0;
    m_ends = {};
    if (!frame || width <= 0 || height <= 0)
        return;
    step = std::max(step, 1);
    const std::size_t stride = static_cast<std::size_t>(FrameStride(width));
    // Neighbours of a smooth picture often share a value; counting every other pixel into a
    // second set of tables keeps one count from waiting on the other.
    std::array<Counts, ChannelCount> odd {};
    Counts& grey = m_counts[Luminance];
    Counts& red = m_counts[Red];
    Counts& green = m_counts[Green];
    Counts& blue = m_counts[Blue];
    Counts& oddGrey = odd[Luminance];
    Counts& oddRed = odd[Red];
    Counts& oddGreen = odd[Green];
    Counts& oddBlue = odd[Blue];
    const std::size_t pixelStep = static_cast<std::size_t>(3) * step;
    const int perRow = (width + step - 1) / step;
    for (int y = 0; y < height; y += step) {
        const uint8_t* row = frame + stride * static_cast<std::size_t>(y);
        int x = 0;
        for (; x + 1 < perRow; x += 2) {
            const uint8_t* p = row + pixelStep * static_cast<std::size_t>(x);
            const uint8_t* q = p + pixelStep;
            ++blue[p[0]];
            ++green[p[1]];
            ++red[p[2]];
            ++grey[Grey(p[0], p[1], p[2])];
            ++oddBlue[q[0]];
            ++oddGreen[q[1]];
            ++oddRed[q[2]];
            ++oddGrey[Grey(q[0], q[1], q[2])];
        }
        if (x < perRow) {
            const uint8_t* p = row + pixelStep * static_cast<std::size_t>(x);
            ++blue[p[0]];
            ++green[p[1]];
            ++red[p[2]];
            ++grey[Grey(p[0], p[1], p[2])];
        }
        m_pixels += static_cast<uint32_t>(perRow);
    }
    for (int channel = 0; channel < ChannelCount; ++channel)
        for (std::size_t value = 0; value < 256; ++value)
            m_counts[channel][value] += odd[channel][value];
    if (step == 1) {
        for (int channel = 0; channel < ChannelCount; ++channel) {
            m_ends.dark[channel] = m_counts[channel][0];
            m_ends.bright[channel] = m_counts[channel][255];
        }
        m_ends.pixels = m_pixels;
    } else {
        m_ends = CountEnds(frame, width, height);
    }
}

int CLiveHistogram::GridStep(int width, int height, int samples)
{
    if (width <= 0 || height <= 0)
        return 1;
    samples = std::max(samples, 1);
    int step = 1;
    const auto counted = [&](int s) {
        return static_cast<int64_t>((width + s - 1) / s) * ((height + s - 1) / s);
    };
    while (counted(step) > samples)
        ++step;
    return step;
}

double CLiveHistogram::DarkClippedShare(Channel channel) const
{
    return m_ends.pixels ? static_cast<double>(m_ends.dark[channel]) / m_ends.pixels : 0.0;
}

double CLiveHistogram::BrightClippedShare(Channel channel) const
{
    return m_ends.pixels ? static_cast<double>(m_ends.bright[channel]) / m_ends.pixels : 0.0;
}

uint32_t CLiveHistogram::Peak(Channel channel) const
{
    const Counts& counts = m_counts[channel];
    return *std::max_element(counts.begin(), counts.end());
}

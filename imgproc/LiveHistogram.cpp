#include "imgproc/LiveHistogram.h"

#include "base/FrameLayout.h"

#include <algorithm>

void CLiveHistogram::Compute(const uint8_t* frame, int width, int height, int step)
{
    for (Counts& counts : m_counts)
        counts.fill(0);
    m_pixels = 0;
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
    return m_pixels ? static_cast<double>(m_counts[channel][0]) / m_pixels : 0.0;
}

double CLiveHistogram::BrightClippedShare(Channel channel) const
{
    return m_pixels ? static_cast<double>(m_counts[channel][255]) / m_pixels : 0.0;
}

uint32_t CLiveHistogram::Peak(Channel channel) const
{
    const Counts& counts = m_counts[channel];
    return *std::max_element(counts.begin(), counts.end());
}

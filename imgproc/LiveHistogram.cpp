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
    Counts& grey = m_counts[Luminance];
    Counts& red = m_counts[Red];
    Counts& green = m_counts[Green];
    Counts& blue = m_counts[Blue];
    for (int y = 0; y < height; y += step) {
        const uint8_t* p = frame + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < width; x += step, p += 3 * step) {
            ++blue[p[0]];
            ++green[p[1]];
            ++red[p[2]];
            ++grey[Grey(p[0], p[1], p[2])];
            ++m_pixels;
        }
    }
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

#pragma once

#include <array>
#include <cstdint>

// Counts of the grey and colour values of a 24-bit BGR frame (rows bottom-up, padded to 4
// bytes), for the live histogram.
class CLiveHistogram
{
public:
    enum Channel { Luminance, Red, Green, Blue, ChannelCount };
    using Counts = std::array<uint32_t, 256>;

    // Counts every step-th pixel of every step-th row (step 1: all of them); a step below 1
    // counts as 1. The ends of every channel (0 and 255) are counted on every pixel all the
    // same, so the clipped shares miss no thin line or small highlight the grid steps over.
    // A missing frame or an empty size gives empty counts.
    void Compute(const uint8_t* frame, int width, int height, int step = 1);
    // The smallest step whose grid of a width x height frame has at most samples pixels.
    static int GridStep(int width, int height, int samples);

    const Counts& Of(Channel channel) const { return m_counts[channel]; }
    // The pixels in the counts, those of the grid.
    uint32_t Pixels() const { return m_pixels; }
    // Shares of all pixels of the frame at the ends of a channel: 0 (black) and 255 (full).
    double DarkClippedShare(Channel channel) const;
    double BrightClippedShare(Channel channel) const;
    // The largest count of the channel, for scaling a drawing of it.
    uint32_t Peak(Channel channel) const;

    // Grey value of one pixel: the eye's weights in 256ths, shared with the focus measure.
    static int Grey(int blue, int green, int red)
    {
        return (blue * 29 + green * 150 + red * 77) >> 8;
    }

    // Pixels of a width x height frame at 0 and at 255, by channel; the frame as for Compute.
    struct Ends
    {
        std::array<uint32_t, ChannelCount> dark {};
        std::array<uint32_t, ChannelCount> bright {};
        uint32_t pixels = 0;
    };
    static Ends CountEnds(const uint8_t* frame, int width, int height);

private:
    std::array<Counts, ChannelCount> m_counts {};
    uint32_t m_pixels = 0;
    Ends m_ends;
};

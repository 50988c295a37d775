#pragma once

#include <cstddef>
#include <cstdint>

// A part of a picture in picture coordinates: x to the right, y downwards from the top row.
struct CFrameRegion
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// How sharp the live picture is, and where its sharpest edges are.
class CFocusMeasure
{
public:
    // Edges weaker than this are never marked, so a flat or noisy picture stays clean.
    static constexpr int kMinPeakEdge = 48;
    // Marked: edges at least this share of the strongest edge of the previous view.
    static constexpr double kPeakShare = 0.4;

    // Variance of the Laplacian of the grey picture over the region of a 24-bit BGR frame
    // (rows bottom-up, padded to 4 bytes); an empty region means the whole frame. The region
    // is cut to the frame; pixels at the frame's border count only as neighbours. 0 for a
    // missing frame or a region smaller than 3 x 3.
    static double VarianceOfLaplacian(
            const uint8_t* frame, int width, int height, CFrameRegion region = {});

    // Paints every pixel of a 32-bit xRGB picture (rows top-down) whose edge strength (the
    // Sobel gradient's |gx| + |gy| of its grey value) is at least threshold with colour, pixel
    // by pixel, so a line one pixel wide is marked at any size. Returns the strongest edge
    // seen, from which the caller takes the next threshold.
    static int MarkPeaks(uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
            uint32_t colour, int threshold);
    // The threshold that marks the sharpest edges, given the strongest of the last picture.
    static int PeakThreshold(int strongestEdge);
};

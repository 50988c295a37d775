#pragma once

#include "calibration/CalibrationSlot.h"

#include <cstdint>
#include <vector>

// Finds one bright disc of known size in a frame and turns its extent into a calibration
// in millimetres (automatic calibration). Works on the frame layout the camera delivers:
// 24-bit blue-green-red, rows bottom-up, each row padded to 4 bytes.
class CCircleDetector
{
public:
    static constexpr int kSizeCount = 10;
    // Nominal diameters in steps of 0.2 mm, indexed like the "Auto circle size" entries.
    static constexpr int kSizeSteps[kSizeCount] = { 1, 3, 5, 7, 9, 11, 13, 17, 21, 25 };
    static constexpr double kStepMillimetres = 0.2;
    static constexpr int kGreyThreshold = 100;
    static constexpr int kMinRun = 5;

    // n is the nominal diameter in 0.2 mm steps. On success slot holds unit 1 ("mm"), both
    // lengths n * 0.2, the disc's edges as the reference rectangle and the derived scale.
    bool Detect(const uint8_t* frame, int width, int height, int n, CCalibrationSlot& slot);

    // Where the disc was found, for tests and traces: estimated centre and radius.
    double CentreX() const { return m_centreX; }
    double CentreY() const { return m_centreY; }
    double Radius() const { return m_radius; }

private:
    bool White(int x, int y) const { return m_mask[static_cast<size_t>(y) * m_width + x] != 0; }
    void Binarise(const uint8_t* frame);
    // Mean centre of the rows (or columns) whose longest bright run beats every earlier one.
    bool MeanRunCentre(bool columns, int& centre) const;
    bool FindEdgeHits(int cx, int cy, int hits[4]) const;
    bool EstimateCircle(int cx, int cy);
    bool MeasureEdges(CCalibrationSlot& slot) const;

    int m_width = 0;
    int m_height = 0;
    std::vector<uint8_t> m_mask; // top-down, 1 = white
    double m_centreX = 0.0;
    double m_centreY = 0.0;
    double m_radius = 0.0;
};

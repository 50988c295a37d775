#pragma once

#include "calibration/CalibrationSlot.h"

#include <QSize>

// How a slot made at one capture size measures at another. The camera sees the same field of
// view at every size it offers, so a pixel covers more when there are fewer of them. When the
// two sizes have another shape the sensor is cropped some way nobody tells us; the width is
// taken as the field kept (what 16:9 modes of 4:3 sensors do) and the result is only a guess.
class CCalibrationScaling
{
public:
    // Two sizes whose width-to-height ratios differ by more than this have another shape.
    static constexpr double kAspectTolerance = 0.01;

    CCalibrationScaling() = default;
    // An unknown size on either side converts nothing.
    static CCalibrationScaling Between(QSize madeAt, QSize now);

    bool Scaled() const { return m_bScaled; }
    bool AspectDiffers() const { return m_bAspectDiffers; }
    QSize MadeAt() const { return m_madeAt; }
    QSize Now() const { return m_now; }
    double XFactor() const { return m_xFactor; }
    double YFactor() const { return m_yFactor; }

    // The slot as it measures now: the size of a pixel converted, and the reference moved so
    // it covers the same part of the picture. The real lengths stay as they were typed.
    CCalibrationSlot Apply(const CCalibrationSlot& slot) const;

private:
    QSize m_madeAt;
    QSize m_now;
    double m_xFactor = 1.0;
    double m_yFactor = 1.0;
    bool m_bScaled = false;
    bool m_bAspectDiffers = false;
};

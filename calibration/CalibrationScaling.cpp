#include "calibration/CalibrationScaling.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {
uint32_t ScaledCoordinate(uint32_t value, double ratio)
{
    const double scaled = std::round(static_cast<double>(value) * ratio);
    if (!(scaled > 0.0))
        return 0;
    return scaled >= std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                          : static_cast<uint32_t>(scaled);
}
} // namespace

CCalibrationScaling CCalibrationScaling::Between(QSize madeAt, QSize now)
{
    CCalibrationScaling s;
    s.m_madeAt = madeAt;
    s.m_now = now;
    if (madeAt.isEmpty() || now.isEmpty() || madeAt == now)
        return s;
    s.m_bScaled = true;
    const double madeAspect = double(madeAt.width()) / madeAt.height();
    const double nowAspect = double(now.width()) / now.height();
    s.m_bAspectDiffers = std::abs(nowAspect / madeAspect - 1.0) > kAspectTolerance;
    s.m_xFactor = double(madeAt.width()) / now.width();
    s.m_yFactor = s.m_bAspectDiffers ? s.m_xFactor : double(madeAt.height()) / now.height();
    return s;
}

CCalibrationSlot CCalibrationScaling::Apply(const CCalibrationSlot& slot) const
{
    if (!m_bScaled)
        return slot;
    CCalibrationSlot out = slot;
    out.xPerPixel = slot.xPerPixel * m_xFactor;
    out.yPerPixel = slot.yPerPixel * m_yFactor;
    out.left = ScaledCoordinate(slot.left, 1.0 / m_xFactor);
    out.right = ScaledCoordinate(slot.right, 1.0 / m_xFactor);
    out.top = ScaledCoordinate(slot.top, 1.0 / m_yFactor);
    out.bottom = ScaledCoordinate(slot.bottom, 1.0 / m_yFactor);
    return out;
}

#include "calibration/CalibrationSlot.h"

#include <cmath>

void CCalibrationSlot::ApplyScaleRuleX()
{
    xPerPixel = xLength / static_cast<double>(static_cast<uint32_t>(right - left));
}

void CCalibrationSlot::ApplyScaleRuleY()
{
    yPerPixel = yLength / static_cast<double>(static_cast<uint32_t>(bottom - top));
}

bool CCalibrationSlot::HasUsableScale() const
{
    auto usable = [](double v) { return std::isfinite(v) && v != 0.0; };
    return usable(xPerPixel) && usable(yPerPixel);
}

QString CCalibrationSlot::UnitName(int unit)
{
    static const char* const names[kUnitCount] = { "um", "mm", "cm", "inch", "dm" };
    return unit >= 0 && unit < kUnitCount ? QString::fromLatin1(names[unit]) : QStringLiteral("px");
}

QString CCalibrationSlot::EffectiveUnitName() const
{
    return HasUsableScale() ? UnitName(unit) : QStringLiteral("px");
}

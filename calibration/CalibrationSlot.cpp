#include "calibration/CalibrationSlot.h"

#include <algorithm>
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

bool CCalibrationSlot::FromKnownLength(
        double pixels, double length, int unit, QPoint centre, CCalibrationSlot& slot)
{
    if (!std::isfinite(pixels) || pixels < 1.0 || !(length >= kMinKnownLength)
            || !(length <= kMaxKnownLength) || unit < 0 || unit >= kUnitCount)
        return false;
    const auto bar = static_cast<uint32_t>(std::lround(std::min(pixels, 1.0e6)));
    auto lowEnd = [bar](int middle) {
        return static_cast<uint32_t>(std::max<int64_t>(0, int64_t(middle) - bar / 2));
    };
    CCalibrationSlot made;
    made.unit = unit;
    made.xPerPixel = made.yPerPixel = length / pixels;
    made.xLength = made.yLength = made.xPerPixel * bar;
    made.left = lowEnd(centre.x());
    made.right = made.left + bar;
    made.top = lowEnd(centre.y());
    made.bottom = made.top + bar;
    slot = made;
    return true;
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

#include "calibration/CalibrationStatus.h"

#include <QLocale>

namespace {
// Six digits are plenty to read; the slot keeps the full value.
QString shortLength(double v)
{
    return QLocale::c().toString(v, 'g', 6);
}
} // namespace

QString CCalibrationStatus::PixelSizeText(const CCalibrationSlot& slot)
{
    if (!slot.HasUsableScale())
        return tr("not calibrated, in pixels");
    const QString unit = slot.EffectiveUnitName();
    const QString x = shortLength(slot.xPerPixel);
    if (slot.xPerPixel == slot.yPerPixel)
        return tr("%1 %2/pixel").arg(x, unit);
    return tr("%1 x %2 %3/pixel").arg(x, shortLength(slot.yPerPixel), unit);
}

QString CCalibrationStatus::Text(const CCalibrationSlot& slot, int slotIndex)
{
    if (slotIndex == kFromFile)
        return tr("Scale from file: %1").arg(PixelSizeText(slot));
    return tr("Scale of calibration %1: %2").arg(slotIndex).arg(PixelSizeText(slot));
}

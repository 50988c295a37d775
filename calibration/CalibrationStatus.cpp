#include "calibration/CalibrationStatus.h"

#include <QLocale>

namespace {
// Six digits are plenty to read; the slot keeps the full value.
QString shortLength(double v)
{
    return QLocale::c().toString(v, 'g', 6);
}

QString sizeText(QSize size)
{
    return QStringLiteral("%1 X %2").arg(size.width()).arg(size.height());
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

QString CCalibrationStatus::ScalingText(const CCalibrationScaling& scaling)
{
    if (!scaling.Scaled())
        return QString();
    if (scaling.AspectDiffers())
        return tr("scaled from %1 by width; the picture has another shape, so the calibration "
                  "may not apply")
                .arg(sizeText(scaling.MadeAt()));
    return tr("scaled from %1").arg(sizeText(scaling.MadeAt()));
}

QString CCalibrationStatus::SlotTitle(int slotIndex, const QString& name)
{
    if (name.isEmpty())
        return tr("Calibration %1").arg(slotIndex);
    return tr("Calibration %1: %2").arg(slotIndex).arg(name);
}

QString CCalibrationStatus::Text(const CCalibrationSlot& slot, int slotIndex, const QString& name,
        const CCalibrationScaling& scaling)
{
    if (slotIndex == kFromFile)
        return tr("Scale from file: %1").arg(PixelSizeText(slot));
    const QString which = name.isEmpty() ? QString::number(slotIndex)
                                         : QStringLiteral("%1 (%2)").arg(slotIndex).arg(name);
    QString text = tr("Scale of calibration %1: %2").arg(which, PixelSizeText(slot));
    if (const QString scaled = ScalingText(scaling); !scaled.isEmpty())
        text += tr(", %1").arg(scaled);
    return text;
}

QString CCalibrationStatus::CsvLine(const CCalibrationSlot& slot, int slotIndex,
        const QString& name, const CCalibrationScaling& scaling)
{
    auto number = [](double v) { return QLocale::c().toString(v, 'g', 10); };
    QString line = QStringLiteral("# scale: ");
    if (!slot.HasUsableScale())
        line += QStringLiteral("none; results in pixels");
    else
        line += QStringLiteral("%1 x %2 %3/pixel")
                        .arg(number(slot.xPerPixel), number(slot.yPerPixel),
                                CCalibrationSlot::UnitName(slot.unit));
    if (slotIndex == kFromFile) {
        line += QStringLiteral("; from the picture file");
    } else if (slotIndex == kFromCommandLine) {
        if (slot.HasUsableScale())
            line += QStringLiteral("; from the command line");
    } else {
        line += QStringLiteral("; calibration %1").arg(slotIndex);
        // A quote inside the name would end the field early for a reader.
        if (!name.isEmpty())
            line += QStringLiteral(" \"%1\"").arg(QString(name).replace(u'"', u'\''));
        if (scaling.Scaled()) {
            line += QStringLiteral("; scaled from ") + sizeText(scaling.MadeAt());
            if (scaling.AspectDiffers())
                line += QStringLiteral(" by width, other shape");
        }
    }
    return line;
}

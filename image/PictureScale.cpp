#include "image/PictureScale.h"

#include <QList>

#include <cmath>

namespace {

struct UnitWord
{
    const char* word;
    const char* unit;
    double factor; // length in `word` times factor = length in `unit`
};

// What ImageJ, Fiji and other microscope software write, mapped to our five units.
constexpr UnitWord kUnitWords[] = {
    { "um", "um", 1.0 },
    { "\\u00B5m", "um", 1.0 },
    { "\xC2\xB5m", "um", 1.0 }, // µm in UTF-8
    { "\xCE\xBCm", "um", 1.0 }, // μm, the Greek letter
    { "micron", "um", 1.0 },
    { "microns", "um", 1.0 },
    { "micrometer", "um", 1.0 },
    { "micrometre", "um", 1.0 },
    { "nm", "um", 0.001 },
    { "mm", "mm", 1.0 },
    { "cm", "cm", 1.0 },
    { "dm", "dm", 1.0 },
    { "m", "mm", 1000.0 },
    { "inch", "inch", 1.0 },
    { "inches", "inch", 1.0 },
    { "in", "inch", 1.0 },
};

bool positiveFinite(double v)
{
    return std::isfinite(v) && v > 0.0;
}

QByteArray number(double v)
{
    return QByteArray::number(v, 'g', 15);
}

// "key=value" lines, as both ImageJ and our PNG chunk write them.
QByteArray valueOf(const QByteArray& text, const QByteArray& key)
{
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith(key + '='))
            return line.mid(key.size() + 1).trimmed();
    }
    return {};
}

uint32_t perMetre(double metresPerUnit, double perPixel)
{
    if (!(metresPerUnit > 0.0) || !positiveFinite(perPixel))
        return 0;
    const double ppm = std::round(1.0 / (perPixel * metresPerUnit));
    return ppm >= 1.0 && ppm <= double(INT32_MAX) ? uint32_t(ppm) : 0;
}

} // namespace

bool CPictureScale::NormaliseUnit(const QString& name, QString& unit, double& factor)
{
    const QByteArray word = name.trimmed().toUtf8();
    for (const UnitWord& w : kUnitWords) {
        if (word.compare(w.word, Qt::CaseInsensitive) == 0) {
            unit = QString::fromLatin1(w.unit);
            factor = w.factor;
            return true;
        }
    }
    // ImageJ 1.x on some systems writes µ as the single Latin-1 byte.
    if (word == "\xB5m") {
        unit = QStringLiteral("um");
        factor = 1.0;
        return true;
    }
    return false;
}

double CPictureScale::MetresPerUnit(const QString& unit)
{
    if (unit == QLatin1String("um"))
        return 1e-6;
    if (unit == QLatin1String("mm"))
        return 1e-3;
    if (unit == QLatin1String("cm"))
        return 1e-2;
    if (unit == QLatin1String("dm"))
        return 1e-1;
    if (unit == QLatin1String("inch"))
        return 0.0254;
    return 0.0;
}

bool CPictureScale::IsValid() const
{
    return MetresPerUnit(unit) > 0.0 && positiveFinite(xPerPixel) && positiveFinite(yPerPixel);
}

int CPictureScale::TiffResolutionUnit() const
{
    if (unit == QLatin1String("cm"))
        return 3;
    if (unit == QLatin1String("inch"))
        return 2;
    return 1;
}

QByteArray CPictureScale::ImageJDescription() const
{
    if (!IsValid())
        return {};
    // ImageJ writes the micro sign as a Java escape; 1.11a is the version other writers of
    // ImageJ-compatible files announce.
    const QByteArray word = unit == QLatin1String("um") ? QByteArray("\\u00B5m") : unit.toLatin1();
    return "ImageJ=1.11a\nunit=" + word + '\n';
}

CPictureScale CPictureScale::FromImageJ(
        const QByteArray& description, double xResolution, double yResolution)
{
    CPictureScale scale;
    if (!description.startsWith("ImageJ=") || !positiveFinite(xResolution))
        return scale;
    double factor = 1.0;
    if (!NormaliseUnit(QString::fromUtf8(valueOf(description, "unit")), scale.unit, factor))
        return {};
    if (!positiveFinite(yResolution))
        yResolution = xResolution;
    scale.xPerPixel = factor / xResolution;
    scale.yPerPixel = factor / yResolution;
    return scale.IsValid() ? scale : CPictureScale();
}

QByteArray CPictureScale::PngText() const
{
    if (!IsValid())
        return {};
    return "unit=" + unit.toLatin1() + "\npixel_width=" + number(xPerPixel)
            + "\npixel_height=" + number(yPerPixel) + '\n';
}

CPictureScale CPictureScale::FromPngText(const QByteArray& text)
{
    CPictureScale scale;
    double factor = 1.0;
    if (!NormaliseUnit(QString::fromUtf8(valueOf(text, "unit")), scale.unit, factor))
        return {};
    bool okX = false, okY = false;
    scale.xPerPixel = valueOf(text, "pixel_width").toDouble(&okX) * factor;
    scale.yPerPixel = valueOf(text, "pixel_height").toDouble(&okY) * factor;
    if (!okY)
        scale.yPerPixel = scale.xPerPixel;
    return okX && scale.IsValid() ? scale : CPictureScale();
}

uint32_t CPictureScale::PixelsPerMetreX() const
{
    return perMetre(MetresPerUnit(unit), xPerPixel);
}

uint32_t CPictureScale::PixelsPerMetreY() const
{
    return perMetre(MetresPerUnit(unit), yPerPixel);
}

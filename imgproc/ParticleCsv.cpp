#include "imgproc/ParticleCsv.h"

#include "base/AtomicFile.h"

#include <QLocale>

namespace {

QString SpreadText(const CParticleCounter::Spread& spread, const QString& unit)
{
    return QStringLiteral("mean %1, sd %2, min %3, max %4 %5")
            .arg(CParticleCsv::Number(spread.mean), CParticleCsv::Number(spread.sd),
                    CParticleCsv::Number(spread.min), CParticleCsv::Number(spread.max), unit);
}

QString ChannelName(CParticleCounter::Channel channel)
{
    switch (channel) {
    case CParticleCounter::Channel::Red:
        return QStringLiteral("red");
    case CParticleCounter::Channel::Green:
        return QStringLiteral("green");
    case CParticleCounter::Channel::Blue:
        return QStringLiteral("blue");
    case CParticleCounter::Channel::Luminance:
        break;
    }
    return QStringLiteral("luminance");
}

} // namespace

QString CParticleCsv::Number(double value)
{
    return QLocale::c().toString(value, 'g', 8);
}

QString CParticleCsv::SummaryLine(const CParticleCounter::Result& result)
{
    const CParticleCounter::Summary& summary = result.summary;
    if (summary.count == 0)
        return QStringLiteral("No objects found");
    const QString unit = result.scale.unit;
    return QStringLiteral("%1 %2; area %3; equivalent diameter %4")
            .arg(summary.count)
            .arg(summary.count == 1 ? QStringLiteral("object") : QStringLiteral("objects"))
            .arg(SpreadText(summary.area, unit + QStringLiteral("^2")),
                    SpreadText(summary.diameter, unit));
}

QString CParticleCsv::SettingsLine(const CParticleCounter::Result& result)
{
    const CParticleCounter::Options& o = result.options;
    const bool dark = o.objects == CParticleCounter::Objects::Dark;
    QString line = result.level < 0
            ? QStringLiteral("no automatic level (one grey value)")
            : QStringLiteral("level %1%2, %3 objects (grey %4 %1)")
                      .arg(result.level)
                      .arg(o.automatic ? QStringLiteral(" by Otsu") : QString(),
                              dark ? QStringLiteral("dark") : QStringLiteral("bright"),
                              dark ? QStringLiteral("<=") : QStringLiteral(">="));
    line += QStringLiteral("; %1; 8-connected; minimum area %2 px")
                    .arg(ChannelName(o.channel))
                    .arg(o.minArea);
    if (o.excludeEdges)
        line += QStringLiteral("; edge objects excluded");
    if (o.split)
        line += QStringLiteral("; touching objects split");
    return line;
}

QByteArray CParticleCsv::Format(const CParticleCounter::Result& result, const QString& scaleLine)
{
    QByteArray bytes(kHeader);
    bytes += '\n';
    for (const CParticleCounter::Particle& p : result.particles) {
        const double values[] = { p.x, p.y, p.area, p.perimeter, p.diameter, p.feret, p.minFeret,
            p.circularity };
        bytes += QByteArray::number(p.number);
        for (const double v : values)
            bytes += ',' + Number(v).toLatin1();
        bytes += '\n';
    }
    auto comment = [&bytes](const QString& text) {
        bytes += "# " + QString(text).replace(u'\n', u' ').replace(u'\r', u' ').toUtf8() + '\n';
    };
    comment(QStringLiteral("objects: %1").arg(result.summary.count));
    if (result.summary.count > 0) {
        const QString unit = result.scale.unit;
        comment(QStringLiteral("area (%1^2): %2")
                        .arg(unit, SpreadText(result.summary.area, {}).trimmed()));
        comment(QStringLiteral("equivalent diameter (%1): %2")
                        .arg(unit, SpreadText(result.summary.diameter, {}).trimmed()));
    }
    comment(QStringLiteral("threshold: ") + SettingsLine(result));
    // The scale line comes whole, "# scale: ..." as the results file has it.
    if (!scaleLine.isEmpty())
        bytes += QString(scaleLine).replace(u'\n', u' ').replace(u'\r', u' ').toUtf8() + '\n';
    return bytes;
}

bool CParticleCsv::Write(const QString& path, const CParticleCounter::Result& result,
        const QString& scaleLine, QString* error)
{
    return CAtomicFile::WriteAll(path, Format(result, scaleLine), error);
}

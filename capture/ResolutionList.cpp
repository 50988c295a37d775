#include "capture/ResolutionList.h"

#include <QStringList>

#include <algorithm>

namespace {

bool HasSize(const CCaptureFormat& format, int width, int height)
{
    return format.width == width && (format.height == height || -format.height == height);
}

} // namespace

QString CResolutionEntry::Label() const
{
    QString text = QStringLiteral("%1 X %2").arg(width).arg(height);
    if (!subtype.isEmpty())
        text += QStringLiteral("  ") + subtype;
    if (rate.IsValid())
        text += QLatin1Char(' ') + rate.FpsText() + QStringLiteral(" fps");
    return text;
}

QString CResolutionEntry::Key() const
{
    return rate.IsValid() ? subtype + QLatin1Char(' ') + rate.Text() : subtype;
}

bool CResolutionEntry::ParseKey(const QString& key, QString& subtype, CFrameRate& rate)
{
    const QStringList parts = key.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return false;
    subtype = parts[0];
    rate = parts.size() > 1 ? CFrameRate::Parse(parts[1]) : CFrameRate();
    return true;
}

CFrameRate CResolutionList::FastestRate(const CCaptureFormat& format)
{
    CFrameRate fastest;
    for (const CFrameRate& rate : format.frameRates)
        if (rate.IsValid() && rate.Fps() > fastest.Fps())
            fastest = rate;
    return fastest;
}

int CResolutionList::Choose(
        const QList<CCaptureFormat>& formats, int width, int height, const QString& subtype)
{
    int best = -1;
    for (int i = 0; i < formats.size(); ++i) {
        if (!HasSize(formats[i], width, height))
            continue;
        if (!subtype.isEmpty() && formats[i].subtype == subtype)
            return i;
        if (best < 0 || FastestRate(formats[i]).Fps() > FastestRate(formats[best]).Fps())
            best = i;
    }
    return best;
}

QList<CResolutionEntry> CResolutionList::Build(const QList<CCaptureFormat>& formats)
{
    QList<CResolutionEntry> entries;
    QList<std::pair<int, int>> sizes;
    for (const CCaptureFormat& format : formats) {
        const std::pair<int, int> size { format.width, qAbs(format.height) };
        if (!sizes.contains(size))
            sizes.append(size);
    }
    for (const auto& [width, height] : sizes) {
        const CCaptureFormat& chosen = formats[Choose(formats, width, height, {})];
        if (chosen.frameRates.isEmpty()) {
            entries.append({ width, height, chosen.subtype, {} });
            continue;
        }
        QList<CFrameRate> rates = chosen.frameRates;
        std::stable_sort(rates.begin(), rates.end(),
                [](const CFrameRate& a, const CFrameRate& b) { return a.Fps() > b.Fps(); });
        for (const CFrameRate& rate : rates)
            entries.append({ width, height, chosen.subtype, rate });
    }
    return entries;
}

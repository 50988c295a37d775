#include "image/ImageFolder.h"

#include <QDir>

#include <algorithm>

namespace {
const char* const kSuffixes[] = { "bmp", "jpg", "jpeg", "png", "tif", "tiff" };
}

bool CImageFolder::IsListedName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return false;
    const QString suffix = name.mid(dot + 1).toLower();
    return std::any_of(std::begin(kSuffixes), std::end(kSuffixes),
            [&suffix](const char* s) { return suffix == QLatin1String(s); });
}

QString CImageFolder::NamePatterns()
{
    QStringList patterns;
    for (const char* s : kSuffixes)
        patterns << QStringLiteral("*.") + QLatin1String(s);
    for (const char* s : kSuffixes)
        patterns << QStringLiteral("*.") + QString::fromLatin1(s).toUpper();
    return patterns.join(QLatin1Char(' '));
}

QStringList CImageFolder::Scan(const QString& folder)
{
    QString path = folder;
    if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    QDir dir(path);
    if (path.isEmpty() || !dir.exists())
        return {};
    QStringList names;
    const QStringList all =
            dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString& name : all) {
        if (IsListedName(name))
            names.append(name);
    }
    // The desktop this program came from enumerates folders in name order, so time-stamped
    // snapshots appear oldest first; readdir order here is arbitrary.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

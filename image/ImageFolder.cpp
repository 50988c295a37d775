#include "image/ImageFolder.h"

#include <QDir>

#include <algorithm>

bool CImageFolder::IsListedName(const QString& name)
{
    if (name.size() < 4)
        return false;
    const QString tail = name.right(4).toLower();
    return tail == QLatin1String(".bmp") || tail == QLatin1String(".jpg");
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

#include "app/SnapshotNamer.h"

#include <QFileInfo>

CSnapshotNamer::CSnapshotNamer(Clock clock) : m_clock(std::move(clock)) { }

QString CSnapshotNamer::TimeStamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyyMMddHHmmss"));
}

QString CSnapshotNamer::JoinPath(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

QString CSnapshotNamer::Now() const
{
    return TimeStamp(m_clock ? m_clock() : QDateTime::currentDateTime());
}

QString CSnapshotNamer::UniqueName(const QString& folder, const QString& extension) const
{
    const QString stamp = Now();
    QString name = stamp + extension;
    for (int n = 2; QFileInfo::exists(JoinPath(folder, name)); ++n)
        name = stamp + QLatin1Char('_') + QString::number(n) + extension;
    return name;
}

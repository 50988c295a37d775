#include "base/SnapshotNamer.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <filesystem>

CSnapshotNamer::CSnapshotNamer(Clock clock) : m_clock(std::move(clock)) { }

QString CSnapshotNamer::TimeStamp(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyyMMddHHmmss"));
}

QString CSnapshotNamer::JoinPath(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

bool CSnapshotNamer::MakeFolder(const QString& folder, QString* reason)
{
    std::error_code error;
    const std::filesystem::path path(folder.toStdString());
    if (std::filesystem::is_directory(path, error))
        return true;
    if (std::filesystem::create_directories(path, error) || std::filesystem::is_directory(path))
        return true;
    if (reason)
        *reason = error ? QString::fromLocal8Bit(error.message().c_str())
                        : QCoreApplication::translate("CSnapshotNamer", "Not a folder");
    return false;
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

#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

// Time-stamped picture names: "%Y%m%d%H%M%S" plus the extension, joined to the folder with
// "/". A name already on disk gets "_2", "_3" ... before the extension, so a second picture
// within the same second never replaces the first.
class CSnapshotNamer
{
public:
    using Clock = std::function<QDateTime()>;

    explicit CSnapshotNamer(Clock clock = {});

    static QString TimeStamp(const QDateTime& when);
    static QString JoinPath(const QString& folder, const QString& name);
    // The image and measurement folders do not exist on a fresh profile: made when first
    // needed. False with the system's reason when the folder cannot be made.
    static bool MakeFolder(const QString& folder, QString* reason = nullptr);

    QString Now() const;
    // The file name (without folder) for a new picture in folder; extension with its dot.
    QString UniqueName(const QString& folder, const QString& extension) const;

private:
    Clock m_clock;
};

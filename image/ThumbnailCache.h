#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>

#include <deque>

// Thumbnails already decoded in this run, shared by every list (the strip and the ThumbView
// grid show the same folder). A file changed on disk since is a miss. User-interface thread only.
class CThumbnailCache
{
public:
    static CThumbnailCache& Instance();

    explicit CThumbnailCache(int capacity = 2000);

    // Null when the file is unknown or has changed since it was stored.
    QImage Find(const QString& path) const;
    void Store(const QString& path, const QImage& thumbnail);
    void Forget(const QString& path);
    void Clear();
    int Size() const { return static_cast<int>(m_entries.size()); }

private:
    struct Entry
    {
        QImage thumbnail;
        QDateTime modified;
        qint64 size = 0;
    };

    const int m_capacity;
    QHash<QString, Entry> m_entries;
    std::deque<QString> m_order; // oldest first, for eviction
};

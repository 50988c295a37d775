#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>

#include <deque>

// Thumbnails already decoded in this run, shared by every list (the strip and the ThumbView
// grid show the same folder). A file changed on disk since is a miss. The pictures stay within a
// memory budget: the least recently shown go first. User-interface thread only.
class CThumbnailCache
{
public:
    static CThumbnailCache& Instance();

    static constexpr qint64 kBudgetBytes = 64ll << 20;

    explicit CThumbnailCache(qint64 budgetBytes = kBudgetBytes);

    // Null when the file is unknown or has changed since it was stored; a hit counts as shown.
    QImage Find(const QString& path);
    void Store(const QString& path, const QImage& thumbnail);
    void Forget(const QString& path);
    void Clear();
    int Size() const { return static_cast<int>(m_entries.size()); }
    qint64 Bytes() const { return m_bytes; }

private:
    struct Entry
    {
        QImage thumbnail;
        QDateTime modified;
        qint64 size = 0;
    };

    void Touch(const QString& path);

    const qint64 m_budget;
    qint64 m_bytes = 0;
    QHash<QString, Entry> m_entries;
    std::deque<QString> m_order; // least recently shown first, for eviction
};

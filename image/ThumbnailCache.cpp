#include "image/ThumbnailCache.h"

#include <QFileInfo>

CThumbnailCache& CThumbnailCache::Instance()
{
    static CThumbnailCache cache;
    return cache;
}

CThumbnailCache::CThumbnailCache(int capacity) : m_capacity(capacity) { }

QImage CThumbnailCache::Find(const QString& path) const
{
    const auto it = m_entries.constFind(path);
    if (it == m_entries.constEnd())
        return {};
    const QFileInfo info(path);
    if (!info.exists() || info.lastModified() != it->modified || info.size() != it->size)
        return {};
    return it->thumbnail;
}

void CThumbnailCache::Store(const QString& path, const QImage& thumbnail)
{
    if (thumbnail.isNull() || m_capacity <= 0)
        return;
    const QFileInfo info(path);
    if (!info.exists())
        return;
    if (!m_entries.contains(path))
        m_order.push_back(path);
    m_entries.insert(path, { thumbnail, info.lastModified(), info.size() });
    while (static_cast<int>(m_order.size()) > m_capacity) {
        m_entries.remove(m_order.front());
        m_order.pop_front();
    }
}

void CThumbnailCache::Forget(const QString& path)
{
    if (m_entries.remove(path))
        std::erase(m_order, path);
}

void CThumbnailCache::Clear()
{
    m_entries.clear();
    m_order.clear();
}

#include "image/ThumbnailCache.h"

#include <QFileInfo>

#include <algorithm>

CThumbnailCache& CThumbnailCache::Instance()
{
    static CThumbnailCache cache;
    return cache;
}

CThumbnailCache::CThumbnailCache(qint64 budgetBytes) : m_budget(budgetBytes) { }

void CThumbnailCache::Touch(const QString& path)
{
    const auto it = std::find(m_order.begin(), m_order.end(), path);
    if (it != m_order.end())
        m_order.erase(it);
    m_order.push_back(path);
}

QImage CThumbnailCache::Find(const QString& path)
{
    const auto it = m_entries.constFind(path);
    if (it == m_entries.constEnd())
        return {};
    const QFileInfo info(path);
    if (!info.exists() || info.lastModified() != it->modified || info.size() != it->size)
        return {};
    Touch(path);
    return it->thumbnail;
}

void CThumbnailCache::Store(const QString& path, const QImage& thumbnail)
{
    if (thumbnail.isNull() || thumbnail.sizeInBytes() > m_budget)
        return;
    const QFileInfo info(path);
    if (!info.exists())
        return;
    Forget(path);
    m_entries.insert(path, { thumbnail, info.lastModified(), info.size() });
    m_order.push_back(path);
    m_bytes += thumbnail.sizeInBytes();
    while (m_bytes > m_budget && !m_order.empty()) {
        m_bytes -= m_entries.value(m_order.front()).thumbnail.sizeInBytes();
        m_entries.remove(m_order.front());
        m_order.pop_front();
    }
}

void CThumbnailCache::Forget(const QString& path)
{
    const auto it = m_entries.find(path);
    if (it == m_entries.end())
        return;
    m_bytes -= it->thumbnail.sizeInBytes();
    m_entries.erase(it);
    std::erase(m_order, path);
}

void CThumbnailCache::Clear()
{
    m_entries.clear();
    m_order.clear();
    m_bytes = 0;
}

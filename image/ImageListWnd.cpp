#include "image/ImageListWnd.h"

#include "base/Trace.h"
#include "base/UserMessages.h"
#include "image/FileManager.h"
#include "image/ImageFolder.h"
#include "image/ImageListItem.h"
#include "image/ImageListOwner.h"
#include "image/ThumbnailCache.h"
#include "image/ThumbnailLoader.h"
#include "image/ThumbnailPool.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {

const QColor kBackground(99, 125, 165);

// What the items of one list hold at a time: the visible ones and the nearest beyond, so a
// folder of any size costs the same. The cache keeps more for the way back.
constexpr qint64 kHeldBytes = 32ll << 20;

void PaintBackground(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, kBackground);
    palette.setColor(QPalette::Base, kBackground);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

CImageListWnd::CImageListWnd(QWidget* parent)
    : QAbstractScrollArea(parent), m_inner(new QWidget(viewport())),
      m_pool(std::make_unique<CThumbnailPool>(
              QSize(CThumbnailLoader::kWidth, CThumbnailLoader::kHeight)))
{
    setObjectName(QStringLiteral("CScrollWnd"));
    setFrameShape(QFrame::NoFrame);
    PaintBackground(viewport());
    PaintBackground(m_inner);
    m_inner->setObjectName(QStringLiteral("innerCanvas"));
    horizontalScrollBar()->setSingleStep(CScrollAxis::kLineStep);
    verticalScrollBar()->setSingleStep(CScrollAxis::kLineStep);
    connect(m_pool.get(), &CThumbnailPool::thumbnailReady, this, &CImageListWnd::OnThumbnailReady);
    connect(m_pool.get(), &CThumbnailPool::idle, this, &CImageListWnd::thumbnailsReady);
    Layout();
}

CImageListWnd::~CImageListWnd()
{
    // Workers stop and join before any item they could report to goes.
    m_pool.reset();
}

void CImageListWnd::SetSingleRow(bool singleRow)
{
    m_singleRow = singleRow;
    Layout();
}

void CImageListWnd::SetItemSize(int width, int height)
{
    m_itemSize = QSize(width, height);
    for (CImageListItem* item : m_items)
        item->resize(m_itemSize);
    Layout();
}

int CImageListWnd::HeldThumbnailLimit()
{
    const qint64 perPicture = qint64(CThumbnailLoader::kWidth) * CThumbnailLoader::kHeight * 3;
    return int(std::max<qint64>(1, kHeldBytes / perPicture));
}

qint64 CImageListWnd::HeldThumbnailBytes() const
{
    qint64 bytes = 0;
    for (const CImageListItem* item : m_items)
        bytes += item->Thumbnail().sizeInBytes();
    return bytes;
}

void CImageListWnd::KeepNearVisible()
{
    const int count = Count();
    const QRect visible(QPoint(m_hAxis.Position(), m_vAxis.Position()), viewport()->size());
    int first = -1, last = -1;
    for (int i = 0; i < count; ++i) {
        if (m_items[i]->geometry().intersects(visible)) {
            first = first < 0 ? i : first;
            last = i;
        }
    }
    if (first < 0) {
        // Nothing in view (not shown yet): start from the item at the scroll position.
        const int column = visible.left() / std::max(1, m_itemSize.width() + CThumbLayout::kMargin);
        const int row = visible.top() / std::max(1, m_itemSize.height() + CThumbLayout::kMargin);
        first = last =
                std::clamp(row * std::max(1, m_layout.columns) + column, 0, std::max(0, count - 1));
    }
    const int keep = std::max(HeldThumbnailLimit(), last - first + 1);
    int low = std::max(0, first - (keep - (last - first + 1)) / 2);
    const int high = std::min(count, low + keep);
    low = std::max(0, high - keep);
    for (int i = 0; i < count; ++i) {
        CImageListItem* item = m_items[i];
        const bool near = i >= low && i < high;
        if (near && !item->ThumbnailDone() && item->Ticket() == 0) {
            RequestThumbnail(item);
        } else if (!near && (item->ThumbnailDone() || item->Ticket() != 0)) {
            if (item->Ticket() != 0) {
                m_waiting.erase(item->Ticket());
                m_pool->Cancel(item->Ticket());
            }
            item->ReleaseThumbnail();
        }
    }
    PrioritizeVisible();
}

void CImageListWnd::SetFolder(const QString& folder, bool caption)
{
    if (folder.isEmpty())
        return;
    m_folder = folder;
    m_caption = caption;
    Clear();
    const QStringList names = CImageFolder::Scan(folder);
    m_entries.reserve(names.size());
    m_items.reserve(names.size());
    for (const QString& name : names) {
        CFileEntry entry;
        entry.index = static_cast<int>(m_entries.size());
        entry.name = name;
        entry.folder = folder;
        m_entries.push_back(entry);
        AddItem(entry);
    }
    UpdateScrollSize();
    KeepNearVisible();
}

void CImageListWnd::CreateIn(QWidget* host)
{
    setParent(host);
    setGeometry(host->rect());
    show();
    UpdateScrollSize();
}

void CImageListWnd::RecreateItemWindows()
{
    for (CImageListItem* item : m_items)
        item->show();
}

void CImageListWnd::AddFile(const QString& name)
{
    AddFileIn(name, m_folder);
}

void CImageListWnd::AddFileIn(const QString& name, const QString& folder)
{
    CFileEntry entry;
    entry.index = m_entries.empty() ? 0 : m_entries.back().index + 1;
    entry.name = name;
    entry.folder = folder;
    m_entries.push_back(entry);
    AddItem(entry);
    Layout();
}

CImageListItem* CImageListWnd::AddItem(const CFileEntry& entry)
{
    auto* item = new CImageListItem(entry, m_caption, m_inner);
    item->resize(m_itemSize);
    connect(item, &CImageListItem::doubleClicked, this, &CImageListWnd::OnItemDoubleClicked);
    connect(item, &CImageListItem::contextMenuRequested, this, &CImageListWnd::OnItemMenu);
    m_items.push_back(item);
    item->show();
    return item;
}

void CImageListWnd::RequestThumbnail(CImageListItem* item, bool useCache)
{
    if (!item->HasFile())
        return;
    const quint64 previous = item->Ticket();
    const QImage cached = useCache ? CThumbnailCache::Instance().Find(item->FullPath()) : QImage();
    const quint64 ticket = cached.isNull() ? m_pool->Request(item->FullPath()) : 0;
    if (previous != 0) {
        m_waiting.erase(previous);
        m_pool->Cancel(previous);
    }
    if (ticket == 0) {
        item->SetThumbnail(cached);
        return;
    }
    item->SetTicket(ticket);
    m_waiting.emplace(ticket, item);
}

void CImageListWnd::OnThumbnailReady(quint64 ticket, const QImage& thumbnail)
{
    const auto it = m_waiting.find(ticket);
    if (it == m_waiting.end())
        return;
    CImageListItem* item = it->second;
    m_waiting.erase(it);
    item->SetThumbnail(thumbnail);
    CThumbnailCache::Instance().Store(item->FullPath(), thumbnail);
}

int CImageListWnd::PendingThumbnails() const
{
    return static_cast<int>(m_waiting.size());
}

void CImageListWnd::DropItem(CImageListItem* item)
{
    if (item->Ticket() != 0) {
        m_waiting.erase(item->Ticket());
        m_pool->Cancel(item->Ticket());
    }
    // The item may be the one whose menu or double-click got us here.
    item->hide();
    item->disconnect(this);
    item->deleteLater();
}

bool CImageListWnd::RemoveFile(const QString& name, QString* error)
{
    bool allGone = true;
    std::vector<CFileEntry> kept;
    for (const CFileEntry& entry : m_entries) {
        if (entry.name != name) {
            kept.push_back(entry);
            continue;
        }
        if (entry.HasFile()) {
            const QString path = entry.FullPath();
            CThumbnailCache::Instance().Forget(path);
            QString why;
            if (CFileManager::MoveToTrash(path, &why)) {
                emit fileRemoved(path);
            } else {
                qCDebug(lcTrace) << "could not remove" << path << why;
                if (error && allGone)
                    *error = QStringLiteral("%1\n\n%2").arg(path, why);
                allGone = false;
            }
        }
    }
    m_entries.swap(kept);
    ForgetFile(name);
    return allGone;
}

void CImageListWnd::ForgetFile(const QString& name)
{
    std::erase_if(m_entries, [&name](const CFileEntry& entry) { return entry.name == name; });
    std::erase_if(m_items, [this, &name](CImageListItem* item) {
        if (item->Name() != name)
            return false;
        DropItem(item);
        return true;
    });
    Layout();
}

int CImageListWnd::IndexOfName(const QString& name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_items[i]->Name() == name)
            return i;
    }
    return -1;
}

void CImageListWnd::RefreshThumbnail(const QString& name)
{
    for (CImageListItem* item : m_items) {
        if (item->Name() != name)
            continue;
        CThumbnailCache::Instance().Forget(item->FullPath());
        // An item far from view fetches the file as it is when it comes near.
        if (item->ThumbnailDone() || item->Ticket() != 0)
            RequestThumbnail(item, false);
    }
}

void CImageListWnd::Clear()
{
    m_pool->CancelAll();
    m_waiting.clear();
    for (CImageListItem* item : m_items) {
        item->SetTicket(0);
        DropItem(item);
    }
    m_items.clear();
    m_entries.clear();
    Layout();
}

CImageListItem* CImageListWnd::Item(int position) const
{
    if (position < 0 || position >= Count())
        return nullptr;
    return m_items[position];
}

int CImageListWnd::PositionOf(const CImageListItem* item) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

void CImageListWnd::Layout()
{
    m_layout = CThumbLayout::Compute(Count(), m_itemSize, viewport()->width(), m_singleRow);
    m_inner->resize(m_layout.InnerSize());
    for (int i = 0; i < Count(); ++i)
        m_items[i]->setGeometry(QRect(m_layout.ItemPos(i), m_itemSize));
    // Keep the bars in step with the new content without jumping back to the origin.
    if (!contentsRect().isEmpty()) {
        const QSize visible = contentsRect().size();
        m_hAxis.SetSizes(m_inner->width(), visible.width());
        m_vAxis.SetSizes(m_inner->height(), visible.height());
        SyncScrollBars();
    }
    KeepNearVisible();
}

void CImageListWnd::UpdateScrollSize()
{
    if (contentsRect().isEmpty())
        return;
    Layout();
    // The page is the whole client, as if no bar were shown.
    const QSize visible = contentsRect().size();
    m_hAxis.SetSizes(m_inner->width(), visible.width());
    m_vAxis.SetSizes(m_inner->height(), visible.height());
    m_hAxis.ScrollTo(0);
    m_vAxis.ScrollTo(0);
    SyncScrollBars();
    KeepNearVisible();
}

void CImageListWnd::SyncScrollBars()
{
    m_syncing = true;
    const auto apply = [](QScrollBar* bar, const CScrollAxis& axis) {
        bar->setRange(0, axis.Maximum());
        bar->setPageStep(std::max(1, axis.Page()));
        bar->setValue(axis.Position());
    };
    apply(horizontalScrollBar(), m_hAxis);
    apply(verticalScrollBar(), m_vAxis);
    m_syncing = false;
    m_inner->move(-m_hAxis.Position(), -m_vAxis.Position());
}

void CImageListWnd::resizeEvent(QResizeEvent* event)
{
    qCDebug(lcTrace) << "CImageListWnd::OnSize" << event->size();
    UpdateScrollSize();
}

void CImageListWnd::scrollContentsBy(int, int)
{
    if (m_syncing)
        return;
    m_hAxis.ScrollTo(horizontalScrollBar()->value());
    m_vAxis.ScrollTo(verticalScrollBar()->value());
    m_inner->move(-m_hAxis.Position(), -m_vAxis.Position());
    KeepNearVisible();
}

void CImageListWnd::PrioritizeVisible()
{
    if (m_waiting.empty())
        return;
    const QRect visible(QPoint(m_hAxis.Position(), m_vAxis.Position()), viewport()->size());
    std::vector<quint64> tickets;
    for (CImageListItem* item : m_items) {
        if (item->Ticket() != 0 && item->geometry().intersects(visible))
            tickets.push_back(item->Ticket());
    }
    m_pool->Prioritize(tickets);
}

void CImageListWnd::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0 || !m_vAxis.HasRange()) {
        event->ignore();
        return;
    }
    const int lines = m_wheelLines != 0 ? m_wheelLines : QApplication::wheelScrollLines();
    m_vAxis.Wheel(delta, lines);
    SyncScrollBars();
    KeepNearVisible();
    event->accept();
}

void CImageListWnd::OnItemDoubleClicked(CImageListItem* item)
{
    const int position = PositionOf(item);
    if (m_owner)
        Display(position);
    else
        Open(position, true);
}

void CImageListWnd::OnItemMenu(CImageListItem* item, const QPoint& globalPos)
{
    const int position = PositionOf(item);
    if (position < 0)
        return;
    QMenu* menu = CreateItemMenu(position, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

QMenu* CImageListWnd::CreateItemMenu(int position, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    // The item may go before the menu's choice arrives: find its position again then.
    const QPointer<CImageListItem> item = Item(position);
    const auto at = [this, item] { return PositionOf(item.data()); };
    if (m_owner) {
        menu->setObjectName(QStringLiteral("ADVTHUMB"));
        menu->addAction(tr("Display"), this, [this, at] { Display(at()); });
        menu->addAction(tr("Remove"), this, [this, at] { Remove(at()); });
    } else {
        menu->setObjectName(QStringLiteral("ThumbMenu"));
        menu->addAction(tr("Open"), this, [this, at] { Open(at(), false); });
        menu->addAction(tr("Open Folder"), this, [this, at] { OpenFolder(at()); });
        menu->addAction(tr("Remove"), this, [this, at] { Remove(at()); });
    }
    return menu;
}

void CImageListWnd::Open(int position, bool reapplyZoom)
{
    const CImageListItem* item = Item(position);
    if (!item || !item->HasFile())
        return;
    emit openRequested(item->FullPath(), reapplyZoom);
}

void CImageListWnd::OpenFolder(int position)
{
    const CImageListItem* item = Item(position);
    if (!item || !item->HasFile())
        return;
    const QString folder = QFileInfo(item->FullPath()).absolutePath();
    CFileManager::ShowItem(item->FullPath(),
            [list = QPointer<CImageListWnd>(this), folder](const QString& reason) {
                if (!list)
                    return;
                const QString text = tr("The folder %1 cannot be shown.\n\n%2")
                                             .arg(QDir::toNativeSeparators(folder), reason);
                UserMessages().Error({ .text = text, .caption = tr("Open Folder") });
            });
}

void CImageListWnd::Display(int position)
{
    const CImageListItem* item = Item(position);
    if (item && item->HasFile() && m_owner)
        m_owner->DisplayImage(item->FullPath());
}

void CImageListWnd::Remove(int position)
{
    const CImageListItem* item = Item(position);
    if (!item)
        return;
    const QString name = item->Name();
    if (m_owner) {
        // Every item with the name goes, so the owner drops each of their pictures, from the
        // back so the positions still hold.
        for (int i = Count() - 1; i >= 0; --i) {
            if (m_items[i]->Name() == name)
                m_owner->RemoveFusionImage(i);
        }
    }
    QString error;
    const bool removed = RemoveFile(name, &error);
    UpdateScrollSize();
    if (removed)
        return;
    const QString text = tr("The picture could not be removed:\n%1").arg(error);
    UserMessages().Error({ .text = text, .caption = tr("Remove") });
}

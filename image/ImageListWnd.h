#pragma once

#include "image/FileEntry.h"
#include "image/ScrollAxis.h"
#include "image/ThumbLayout.h"

#include <QAbstractScrollArea>
#include <QString>

#include <memory>
#include <unordered_map>
#include <vector>

class CImageListItem;
class CImageListOwner;
class CThumbnailPool;
class QMenu;

// The thumbnail list: a scrolling single row or grid of the BMP and JPEG pictures of one folder,
// or of files added one by one. Names and places show at once; the pictures are decoded on
// worker threads and fill in as they arrive.
class CImageListWnd : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit CImageListWnd(QWidget* parent = nullptr);
    ~CImageListWnd() override;

    void SetSingleRow(bool singleRow);
    bool SingleRow() const { return m_singleRow; }
    void SetItemSize(int width, int height);
    QSize ItemSize() const { return m_itemSize; }
    // A list with an owner serves the Image Merge dialog: "Display" and "Remove".
    void SetOwner(CImageListOwner* owner) { m_owner = owner; }
    CImageListOwner* Owner() const { return m_owner; }

    // Rescans: ignored for an empty folder, else drops every item and lists the folder.
    void SetFolder(const QString& folder, bool caption = true);
    void SetFolderPath(const QString& folder) { m_folder = folder; }
    const QString& Folder() const { return m_folder; }
    // Makes the list a visible child filling the host.
    void CreateIn(QWidget* host);
    // Item windows exist as soon as their entries do; kept for the callers' rescan sequence.
    void RecreateItemWindows();
    void AddFile(const QString& name);
    void AddFileIn(const QString& name, const QString& folder);
    // Moves the file of every entry with that name to the trash and drops those items, even when
    // a file cannot be moved. False when a file is still on disk, with why in error.
    bool RemoveFile(const QString& name, QString* error = nullptr);
    // Drops the items with that name without touching the disk (the file went elsewhere).
    void ForgetFile(const QString& name);
    // Position of the first item with that name, or -1.
    int IndexOfName(const QString& name) const;
    void RefreshThumbnail(const QString& name);
    void Clear();
    void Layout();
    // Recomputes the content size, scrolls back to the origin and lays out.
    void UpdateScrollSize();

    int Count() const { return static_cast<int>(m_items.size()); }
    // The decoded pictures the items hold, and how many items may hold one at a time.
    qint64 HeldThumbnailBytes() const;
    static int HeldThumbnailLimit();
    CImageListItem* Item(int position) const;
    const std::vector<CFileEntry>& Entries() const { return m_entries; }
    QWidget* InnerCanvas() const { return m_inner; }
    const CScrollAxis& HorizontalAxis() const { return m_hAxis; }
    const CScrollAxis& VerticalAxis() const { return m_vAxis; }
    // Thumbnails still being decoded.
    int PendingThumbnails() const;
    // Lines per wheel notch; the desktop's setting unless set (CScrollAxis::kWheelPage: pages).
    void SetWheelScrollLines(int lines) { m_wheelLines = lines; }

    // The item commands, by position.
    void Open(int position, bool reapplyZoom);
    void OpenFolder(int position);
    void Remove(int position);
    void Display(int position);
    // "ThumbMenu" (Open, Open Folder, Remove) or, with an owner, "ADVTHUMB" (Display, Remove).
    QMenu* CreateItemMenu(int position, QWidget* parent);

signals:
    // Open a picture as the still: the main window loads it, switches to still mode, repaints
    // and updates the side panel; reapplyZoom after a double-click.
    void openRequested(const QString& path, bool reapplyZoom);
    void fileRemoved(const QString& path);
    // Every thumbnail asked for so far is in.
    void thumbnailsReady();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CImageListItem* AddItem(const CFileEntry& entry);
    void RequestThumbnail(CImageListItem* item, bool useCache = true);
    void DropItem(CImageListItem* item);
    void OnThumbnailReady(quint64 ticket, const QImage& thumbnail);
    void OnItemDoubleClicked(CImageListItem* item);
    void OnItemMenu(CImageListItem* item, const QPoint& globalPos);
    int PositionOf(const CImageListItem* item) const;
    void SyncScrollBars();
    void PrioritizeVisible();
    // Items within the budget around the visible ones hold or fetch their picture; the rest
    // let it go.
    void KeepNearVisible();

    QString m_folder;
    std::vector<CFileEntry> m_entries;
    std::vector<CImageListItem*> m_items;
    bool m_caption = true;
    bool m_singleRow = true;
    QSize m_itemSize { 130, 110 };
    CImageListOwner* m_owner = nullptr;
    QWidget* m_inner = nullptr;
    CThumbLayout m_layout;
    CScrollAxis m_hAxis;
    CScrollAxis m_vAxis;
    int m_wheelLines = 0;
    bool m_syncing = false;
    std::unique_ptr<CThumbnailPool> m_pool;
    std::unordered_map<quint64, CImageListItem*> m_waiting;
};

#pragma once

#include "image/FileEntry.h"

#include <QFont>
#include <QImage>
#include <QWidget>

// One item window of the thumbnail list: its entry, its thumbnail and its caption.
class CImageListItem : public QWidget
{
    Q_OBJECT
public:
    CImageListItem(const CFileEntry& entry, bool caption, QWidget* parent = nullptr);

    const CFileEntry& Entry() const { return m_entry; }
    const QString& Name() const { return m_entry.name; }
    QString FullPath() const { return m_entry.FullPath(); }
    bool HasFile() const { return m_entry.HasFile(); }

    const QImage& Thumbnail() const { return m_thumbnail; }
    void SetThumbnail(const QImage& thumbnail);
    bool ThumbnailDone() const { return m_done; }
    // Far from view the picture is let go; it is fetched again when the item comes near.
    void ReleaseThumbnail()
    {
        m_thumbnail = QImage();
        m_done = false;
        m_ticket = 0;
    }
    // The decode whose picture this item waits for (0: none).
    quint64 Ticket() const { return m_ticket; }
    void SetTicket(quint64 ticket)
    {
        m_ticket = ticket;
        m_done = false;
    }

    // The caption as drawn: the name at the caption size, a little smaller when it is wider than
    // the item, shortened in the middle only when even the smallest size is too wide.
    QFont CaptionFont() const;
    QString CaptionText() const;

    // The item as painted: white, the stretched thumbnail, the caption and the white frame.
    QImage Render() const;

signals:
    void doubleClicked(CImageListItem* item);
    void contextMenuRequested(CImageListItem* item, const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int CaptionRoom() const;

    CFileEntry m_entry;
    QImage m_thumbnail;
    bool m_caption = true;
    bool m_done = false;
    quint64 m_ticket = 0;
};

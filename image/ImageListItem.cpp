#include "image/ImageListItem.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kCaptionPixels = 12;
// Smallest size a long name shrinks to before it is shortened.
constexpr int kSmallestCaptionPixels = 9;
// Room kept free at each side, under the item's white frame.
constexpr int kCaptionInset = 2;

QFont CaptionFontOf(int pixels)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

} // namespace

CImageListItem::CImageListItem(const CFileEntry& entry, bool caption, QWidget* parent)
    : QWidget(parent), m_entry(entry), m_caption(caption)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The right button opens this item's own menu on release; no context menu event may
    // reach the main window's About menu first.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setToolTip(m_entry.name);
}

void CImageListItem::SetThumbnail(const QImage& thumbnail)
{
    m_thumbnail = thumbnail;
    m_done = true;
    m_ticket = 0;
    update();
}

int CImageListItem::CaptionRoom() const
{
    return std::max(0, width() - 2 * kCaptionInset);
}

QFont CImageListItem::CaptionFont() const
{
    // Time-stamped names are a few pixels too wide for a 130-pixel item at the full size: a
    // slightly smaller font keeps the whole name, extension included.
    for (int pixels = kCaptionPixels; pixels > kSmallestCaptionPixels; --pixels) {
        const QFont font = CaptionFontOf(pixels);
        if (QFontMetrics(font).horizontalAdvance(m_entry.name) <= CaptionRoom())
            return font;
    }
    return CaptionFontOf(kSmallestCaptionPixels);
}

QString CImageListItem::CaptionText() const
{
    // Shortened in the middle, so the extension stays readable; the tooltip has the whole name.
    return QFontMetrics(CaptionFont()).elidedText(m_entry.name, Qt::ElideMiddle, CaptionRoom());
}

QImage CImageListItem::Render() const
{
    const int w = width(), h = height();
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    if (HasFile() && !m_thumbnail.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(0, 0, w, h), m_thumbnail);
    }
    if (m_caption) {
        painter.setFont(CaptionFont());
        const QFontMetrics metrics(painter.font());
        const QString text = CaptionText();
        const int textWidth = metrics.horizontalAdvance(text);
        const int textHeight = metrics.height();
        int x = (w - textWidth) / 2;
        if (x <= 0)
            x = kCaptionInset;
        int y = h - textHeight;
        if (y <= 0)
            y = 0;
        painter.fillRect(QRect(x, y, textWidth, textHeight), Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(x, y + metrics.ascent()), text);
    }
    painter.setPen(QPen(Qt::white, 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, 0, w, h));
    return image;
}

void CImageListItem::paintEvent(QPaintEvent*)
{
    // Composed off-screen first so a repaint never shows a half-drawn item.
    const QImage image = Render();
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

void CImageListItem::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked(this);
}

void CImageListItem::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        emit contextMenuRequested(this, event->globalPosition().toPoint());
}

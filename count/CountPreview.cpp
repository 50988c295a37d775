#include "count/CountPreview.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>

CCountPreview::CCountPreview(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(240, 180);
}

void CCountPreview::SetPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

QTransform CCountPreview::ImageToWidget() const
{
    if (m_picture.isNull())
        return {};
    const double scale =
            std::min(double(width()) / m_picture.width(), double(height()) / m_picture.height());
    const double dx = (width() - m_picture.width() * scale) / 2;
    const double dy = (height() - m_picture.height() * scale) / 2;
    return QTransform(scale, 0, 0, scale, dx, dy);
}

void CCountPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    if (m_picture.isNull())
        return;
    const QTransform toWidget = ImageToWidget();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(toWidget.mapRect(QRectF(m_picture.rect())), m_picture);
    m_overlay.Draw(painter, toWidget);
}

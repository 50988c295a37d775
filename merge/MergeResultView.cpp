#include "merge/MergeResultView.h"

#include "image/ImagePainter.h"
#include "image/xImage.h"

#include <QMouseEvent>
#include <QPainter>

CMergeResultView::CMergeResultView(QWidget* parent) : QWidget(parent) { }

void CMergeResultView::SetImage(const CxImage* image)
{
    m_image = image;
    m_scaled = {};
    update();
}

void CMergeResultView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!m_image || !m_image->HasPixels() || width() <= 0 || height() <= 0)
        return;
    // Halftone-like: an area-averaged reduction, kept until the size or picture changes.
    if (m_scaled.size() != size()) {
        m_scaled = CImagePainter::ToQImage(*m_image).scaled(
                size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    painter.drawImage(0, 0, m_scaled);
}

void CMergeResultView::resizeEvent(QResizeEvent*)
{
    m_scaled = {};
}

void CMergeResultView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_image && m_image->HasPixels())
        emit doubleClicked();
}

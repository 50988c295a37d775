#include "merge/MergeView.h"

#include "image/ImagePainter.h"
#include "image/xImage.h"
#include "video/FramePump.h"

#include <QPainter>

CMergeView::CMergeView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CMergeView::SetStill(bool still)
{
    m_bStill = still;
    update();
}

void CMergeView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_bStill) {
        const CxImage* image = m_still ? m_still() : nullptr;
        if (image && image->HasPixels())
            CImagePainter::DrawStretched(painter, *image, 0, 0, width(), height());
        return;
    }
    if (m_pump)
        m_pump->PaintView([&painter](const QImage& view) { painter.drawImage(0, 0, view); });
}

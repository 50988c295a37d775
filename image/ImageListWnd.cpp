#include "image/ImageListWnd.h"

#include <QPainter>

CImageListWnd::CImageListWnd(QWidget* parent) : QWidget(parent) { }

void CImageListWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(99, 125, 165));
}

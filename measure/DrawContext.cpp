#include "measure/DrawContext.h"

#include "measure/FrameRasteriser.h"

#include <QCoreApplication>
#include <QPainter>
#include <QStaticText>
#include <QThread>

CDrawContext::CDrawContext(QPainter& painter, Target target, const CViewTransform& view,
        const CDrawStyle& style, CFrameRasteriser* raster)
    : m_painter(painter), m_target(target), m_view(view), m_style(style), m_raster(raster)
{
}

bool CDrawContext::IsMarked(uint32_t shapeId) const
{
    if (BurningIn())
        return false;
    return (shapeId == m_markedShape && m_markedPart == 0) || shapeId == m_markedPart;
}

void CDrawContext::Line(QPoint a, QPoint b, const QPen& pen) const
{
    if (!m_raster) {
        m_painter.setPen(pen);
        m_painter.drawLine(a, b);
        return;
    }
    m_raster->Line(a, b, pen);
}

bool CDrawContext::Circle(QPoint centre, int radius, const QPen& pen) const
{
    if (!m_raster)
        return false;
    m_raster->Circle(centre, radius, pen);
    return true;
}

void CDrawContext::UprightText(QPoint target, const QStaticText& given) const
{
    // A laid-out text holds the font engine of the thread that laid it out, and font engines
    // are not shared between threads: the frame pump lays out its own copy.
    const bool guiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    QStaticText own;
    if (!guiThread) {
        own.setTextFormat(given.textFormat());
        own.setText(given.text());
    }
    const QStaticText& text = guiThread ? given : own;
    const int flip = m_view.flipHeight;
    if (flip <= 0) {
        m_painter.drawStaticText(target, text);
        return;
    }
    // Text through a mirror: rare, only for texts that are not labels.
    m_painter.setWorldTransform(QTransform(1, 0, 0, -1, 0, flip - 1));
    m_painter.drawStaticText(QPoint(target.x(), flip - 1 - target.y()), text);
    m_painter.resetTransform();
}

#include "measure/DrawContext.h"

#include "measure/FrameRasteriser.h"

#include <QCoreApplication>
#include <QHash>
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

namespace {
// A laid-out text holds the font engine of the thread that laid it out, and font engines are
// not shared between threads: a thread other than the user interface's (the frame pump) keeps
// its own copies, laid out once rather than for every frame.
const QStaticText& OwnText(const QStaticText& given, const QFont& font)
{
    constexpr int kMostTexts = 512;
    thread_local QHash<QString, QStaticText> texts;
    // The font's key is dear to make: made again only when the font changes.
    thread_local QFont lastFont;
    thread_local QString lastFontKey = lastFont.key();
    if (font != lastFont) {
        lastFont = font;
        lastFontKey = font.key();
    }
    const QString key = lastFontKey + QChar(u'\n') + QString::number(given.textFormat())
            + QChar(u'\n') + given.text();
    auto found = texts.find(key);
    if (found != texts.end())
        return *found;
    if (texts.size() >= kMostTexts)
        texts.clear();
    QStaticText own;
    own.setTextFormat(given.textFormat());
    own.setText(given.text());
    own.prepare(QTransform(), font);
    return *texts.insert(key, own);
}
} // namespace

void CDrawContext::UprightText(QPoint target, const QStaticText& given) const
{
    const bool guiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    const QStaticText& text = guiThread ? given : OwnText(given, m_painter.font());
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

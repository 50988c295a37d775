#include "measure/TextLabel.h"

#include "measure/ShapeManager.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

CTextLabel::CTextLabel(CShapeManager* manager, QPoint anchor, const QString& text)
    : CMeasureShape(manager, KindTextLabel)
{
    m_points.push_back(anchor);
    m_static.setTextFormat(Qt::PlainText);
    m_static.setPerformanceHint(QStaticText::AggressiveCaching);
    SetText(text);
}

void CTextLabel::Draw(QPainter& painter, bool hidden)
{
    if (!hidden)
        DrawLabel(painter);
}

void CTextLabel::DrawLabel(QPainter& painter)
{
    if (m_text.isEmpty())
        return;
    // The font is set once per drawing pass by the manager.
    painter.setPen(m_manager->TextColour());
    m_manager->DrawLabelText(painter, m_manager->ImageToWindow(Position()), *this);
}

int CTextLabel::OnLButtonDown(int x, int y, int mode)
{
    if (mode != kSelectMode)
        return -1;
    return SelectPress(x, y);
}

void CTextLabel::OnLButtonUp(int x, int y, int mode)
{
    if (mode == kSelectMode && m_bInConstruction && m_nHitPart != -1) {
        Invalidate();
        MoveBy(x, y);
        Invalidate();
    }
    EndDrag();
}

void CTextLabel::OnMouseMove(int x, int y, int mode)
{
    if (mode != kSelectMode || !m_bInConstruction || m_nHitPart == -1)
        return;
    Invalidate();
    MoveBy(x, y);
    Invalidate();
}

// A label is dragged through its offset: the owner keeps re-anchoring it to its points.
void CTextLabel::MoveBy(int x, int y)
{
    m_offset += QPoint(x, y) - m_press;
    m_press = QPoint(x, y);
}

int CTextLabel::PointTest(int x, int y) const
{
    const QPoint d = Position() - QPoint(x, y);
    return d.x() * d.x() + d.y() * d.y() < 100 ? 0 : -1;
}

bool CTextLabel::BodyTest(int x, int y) const
{
    if (m_text.isEmpty())
        return false;
    const QSize ch = m_manager->HitCharSize();
    const QPoint p = Position();
    const QRect box(QPoint(p.x() - 5, p.y() - 5),
            QPoint(p.x() - 5 + m_text.size() * ch.width(), p.y() + ch.height()));
    return box.contains(x, y);
}

void CTextLabel::Invalidate()
{
    InvalidatePoints({ Position() });
}

void CTextLabel::SetAnchor(QPoint anchor)
{
    m_points.front() = anchor;
}

void CTextLabel::SetText(const QString& text)
{
    const QString cut = text.left(kMaxTextLength);
    if (cut == m_text)
        return;
    m_text = cut;
    m_static.setText(m_text);
}

const QImage& CTextLabel::Sprite()
{
    const QFont& font = m_manager->LabelFont();
    const bool smooth = !m_manager->BurningIn();
    const QString key = m_text + QChar(0) + font.key() + QChar(0)
            + QString::number(m_manager->TextColour().rgb(), 16) + (smooth ? u'1' : u'0');
    if (key == m_spriteKey)
        return m_sprite;
    m_spriteKey = key;
    const QFontMetrics metrics(font);
    const QSize size(
            std::max(1, metrics.horizontalAdvance(m_text) + 2), std::max(1, metrics.height()));
    m_sprite = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_sprite.fill(Qt::transparent);
    QPainter painter(&m_sprite);
    painter.setRenderHint(QPainter::TextAntialiasing, smooth);
    painter.setFont(font);
    painter.setPen(m_manager->TextColour());
    painter.drawStaticText(QPoint(0, 0), m_static);
    return m_sprite;
}

#include "app/FontSampleButton.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionFocusRect>

CFontSampleButton::CFontSampleButton(QWidget* parent) : QPushButton(parent)
{
    setMinimumSize(80, 24);
}

void CFontSampleButton::SetSampleFont(const CLogFont& font)
{
    m_logFont = font;
    m_font = font.ToQFont();
    update();
}

void CFontSampleButton::SetTextColour(COLORREF colour)
{
    m_textColour = colour & 0x00FFFFFF;
    update();
}

QStringList CFontSampleButton::WrapSample(const QString& text, int perLine)
{
    if (perLine < 1)
        perLine = 1;
    const int lines = (perLine + 9) / perLine;
    QStringList rows;
    for (int i = 0; i < lines; ++i)
        rows << (i + 1 < lines ? text.mid(i * perLine, perLine) : text.mid(i * perLine));
    return rows;
}

void CFontSampleButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(m_font);
    painter.setPen(ColorRefToQColor(m_textColour));
    const QFontMetrics metrics(m_font, this);
    const int charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('2')));
    const QStringList rows = WrapSample(QLatin1String(kSample), width() / charWidth);
    for (int i = 0; i < rows.size(); ++i)
        painter.drawText(QPoint(0, 2 + i * metrics.height() + metrics.ascent()), rows[i]);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

#include "measure/ColorButton.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

CColorButton::CColorButton(QWidget* parent)
    : QPushButton(parent), m_chooser(&CColorButton::PlatformChooser)
{
    setMinimumSize(40, 20);
    connect(this, &QPushButton::clicked, this, &CColorButton::OnClicked);
}

void CColorButton::SetColour(COLORREF colour)
{
    m_colour = colour & 0x00FFFFFF;
    update();
}

void CColorButton::SetChooser(Chooser chooser)
{
    m_chooser = chooser ? std::move(chooser) : Chooser(&CColorButton::PlatformChooser);
}

std::optional<QColor> CColorButton::PlatformChooser(const QColor& current, QWidget* parent)
{
    const QColor chosen = QColorDialog::getColor(current, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

void CColorButton::OnClicked()
{
    const std::optional<QColor> chosen = m_chooser(ColorRefToQColor(m_colour), window());
    if (!chosen)
        return;
    SetColour(QColorToColorRef(*chosen));
    emit ColourChosen(m_colour);
}

void CColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ColorRefToQColor(m_colour));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

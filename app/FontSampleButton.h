#pragma once

#include "base/ColorSetting.h"

#include <QPushButton>
#include <QStringList>

// Shows "1234567890" in the label font and text colour, wrapped to the button's width.
class CFontSampleButton : public QPushButton
{
    Q_OBJECT
public:
    static constexpr const char* kSample = "1234567890";

    explicit CFontSampleButton(QWidget* parent = nullptr);

    // The stored record is kept whole, so fields a QFont cannot hold survive a round trip.
    void SetSampleFont(const CLogFont& font);
    const CLogFont& SampleFont() const { return m_logFont; }
    const QFont& SampleQFont() const { return m_font; }
    void SetTextColour(COLORREF colour);
    COLORREF TextColour() const { return m_textColour; }

    // perLine characters per line: (perLine + 9) / perLine lines, the last one the rest.
    static QStringList WrapSample(const QString& text, int perLine);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CLogFont m_logFont;
    QFont m_font;
    COLORREF m_textColour = 0;
};

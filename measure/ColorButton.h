#pragma once

#include "base/ColorSetting.h"

#include <QColor>
#include <QPushButton>

#include <functional>
#include <optional>

// A button whose whole face is its colour; pressing it offers the colour chooser.
class CColorButton : public QPushButton
{
    Q_OBJECT
public:
    // Returns the chosen colour, or nothing when the user cancels.
    using Chooser = std::function<std::optional<QColor>(const QColor& current, QWidget* parent)>;

    explicit CColorButton(QWidget* parent = nullptr);

    void SetColour(COLORREF colour);
    COLORREF Colour() const { return m_colour; }
    // Tests put a scripted chooser here; the default is the platform's colour dialog.
    void SetChooser(Chooser chooser);
    static std::optional<QColor> PlatformChooser(const QColor& current, QWidget* parent);

signals:
    void ColourChosen(COLORREF colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnClicked();

    COLORREF m_colour = 0;
    Chooser m_chooser;
};

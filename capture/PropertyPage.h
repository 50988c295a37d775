#pragma once

#include <QWidget>

/**
 * @brief One page of a CPropertyForm: edits a set of values and writes them on Apply().
 */
class CPropertyPage : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    /** @brief Tab text. */
    virtual QString Title() const = 0;
    /** @brief Writes the values changed since the last Apply(). */
    virtual void Apply() = 0;
    /** @brief Puts every value of the page back to the device's default, not yet applied. */
    virtual void ResetToDefaults() { }

signals:
    /** @brief A value on the page was changed and not yet applied. */
    void Changed();
};

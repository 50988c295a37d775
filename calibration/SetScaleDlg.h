#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

// Asks how long a drawn line (or a circle's diameter) really is. The slot takes the scale
// from the answer; the dialog only collects it and refuses what is not a positive length.
class CSetScaleDlg : public QDialog
{
    Q_OBJECT
public:
    // pixels: the line's length or the circle's diameter in picture pixels.
    CSetScaleDlg(double pixels, bool circle, int unit, QWidget* parent = nullptr);

    double Length() const { return m_length; }
    int Unit() const;

    void accept() override;

    // Why text is no known length, or empty when it is one (then length holds it).
    static QString Problem(const QString& text, const QString& unitName, double& length);

private:
    double m_length = 0.0;
    QLineEdit* m_edit = nullptr;
    QComboBox* m_unitCombo = nullptr;
    QLabel* m_problem = nullptr;
};

#pragma once

#include "calibration/CalibrationDlg.h"
#include "calibration/CalibrationSlot.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks the spacing of one division of a stage micrometer and shows what the ruling in the
// picture gives with it. OK stays disabled until a ruling was found and the spacing is a
// length, so no scale is ever made from nothing.
class CFromRulerDlg : public QDialog
{
    Q_OBJECT
public:
    using Reading = CCalibrationDlg::CRulerReading;
    // read(true) reads along the reference line, read(false) the whole picture.
    using Reader = std::function<Reading(bool along)>;

    CFromRulerDlg(Reader read, bool hasLine, int unit, QWidget* parent = nullptr);

    const Reading& Result() const { return m_reading; }
    bool ReadAlong() const;
    int Unit() const;
    // The spacing typed, or 0 with the reason in problem.
    double Spacing(QString* problem = nullptr) const;
    // The slot with the scale of one division over the period, its reference bars over
    // centre; false unless OK is enabled.
    bool ScaleSlot(QPoint centre, CCalibrationSlot& slot) const;

    // "10", "10 um", "0.01mm": the number and, when one is typed, its unit index (-1 when
    // none). Why the text is no spacing, or empty when it is one.
    static QString ParseSpacing(const QString& text, double& length, int& unit);

    void accept() override;

private:
    void Read();
    void Update();

    Reader m_read;
    Reading m_reading;
    QCheckBox* m_along = nullptr;
    QLabel* m_found = nullptr;
    QLineEdit* m_edit = nullptr;
    QComboBox* m_unitCombo = nullptr;
    QLabel* m_scale = nullptr;
    QPushButton* m_ok = nullptr;
};

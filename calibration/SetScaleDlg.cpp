#include "calibration/SetScaleDlg.h"

#include "calibration/CalibrationDlg.h"
#include "calibration/CalibrationSlot.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

namespace {
constexpr int kDialogUnits = 4; // "um", "mm", "cm", "inch", as in the Calibration dialog
}

CSetScaleDlg::CSetScaleDlg(double pixels, bool circle, int unit, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("setScaleDlg"));
    setWindowTitle(tr("Set Scale"));
    const QString size = QLocale::c().toString(pixels, 'f', 2);
    auto* what = new QLabel(circle ? tr("The circle is %1 pixels across.").arg(size)
                                   : tr("The line is %1 pixels long.").arg(size),
            this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("knownLength"));
    m_unitCombo = new QComboBox(this);
    m_unitCombo->setObjectName(QStringLiteral("knownUnit"));
    for (int u = 0; u < kDialogUnits; ++u)
        m_unitCombo->addItem(CCalibrationSlot::UnitName(u));
    m_unitCombo->setCurrentIndex(std::clamp(unit, 0, kDialogUnits - 1));
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("setScaleProblem"));
    m_problem->setStyleSheet(QStringLiteral("color: #b00020"));
    m_problem->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSetScaleDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSetScaleDlg::reject);

    auto* form = new QFormLayout(this);
    form->addRow(what);
    form->addRow(circle ? tr("Known diameter") : tr("Known length"), m_edit);
    form->addRow(tr("Unit"), m_unitCombo);
    form->addRow(m_problem);
    form->addRow(buttons);
    m_edit->setFocus();
}

int CSetScaleDlg::Unit() const
{
    return std::max(0, m_unitCombo->currentIndex());
}

QString CSetScaleDlg::Problem(const QString& text, const QString& unitName, double& length)
{
    const QString range = tr("Enter a length from 1e-9 to 1e9 %1.").arg(unitName);
    double value = 0.0;
    if (!CCalibrationDlg::ParseLength(text, value)) {
        // A number written out that a double cannot hold is out of range, not "no number".
        static const QRegularExpression number(
                QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
        if (!number.match(text).hasMatch())
            return tr("Enter a number, for example 0.5.");
        return text.trimmed().startsWith(u'-') ? tr("Enter a length greater than 0.") : range;
    }
    if (value <= 0.0)
        return tr("Enter a length greater than 0.");
    if (value < CCalibrationSlot::kMinKnownLength || value > CCalibrationSlot::kMaxKnownLength)
        return range;
    length = value;
    return {};
}

void CSetScaleDlg::accept()
{
    double length = 0.0;
    const QString problem = Problem(m_edit->text(), m_unitCombo->currentText(), length);
    if (!problem.isEmpty()) {
        // Stays open with what was typed, so nothing is lost.
        m_problem->setText(problem);
        m_problem->show();
        m_edit->setFocus();
        m_edit->selectAll();
        return;
    }
    m_length = length;
    QDialog::accept();
}

#include "calibration/FromRulerDlg.h"

#include "calibration/SetScaleDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kDialogUnits = 4; // "um", "mm", "cm", "inch", as in the Calibration dialog
const QString kProblemStyle = QStringLiteral("color: #b00020");

QString Number(double value, int digits)
{
    return QLocale::c().toString(value, 'g', digits);
}
} // namespace

CFromRulerDlg::CFromRulerDlg(Reader read, bool hasLine, int unit, QWidget* parent)
    : QDialog(parent), m_read(std::move(read))
{
    setObjectName(QStringLiteral("fromRulerDlg"));
    setWindowTitle(tr("Scale from Ruler"));
    m_along = new QCheckBox(tr("Read along the drawn line only"), this);
    m_along->setObjectName(QStringLiteral("rulerAlong"));
    m_along->setChecked(hasLine);
    m_along->setEnabled(hasLine);
    if (!hasLine)
        m_along->setToolTip(tr("Draw a line along the divisions to read only there"));
    m_found = new QLabel(this);
    m_found->setObjectName(QStringLiteral("rulerFound"));
    m_found->setWordWrap(true);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("rulerSpacing"));
    m_edit->setPlaceholderText(tr("for example 10"));
    m_unitCombo = new QComboBox(this);
    m_unitCombo->setObjectName(QStringLiteral("rulerUnit"));
    for (int u = 0; u < kDialogUnits; ++u)
        m_unitCombo->addItem(CCalibrationSlot::UnitName(u));
    m_unitCombo->setCurrentIndex(std::clamp(unit, 0, kDialogUnits - 1));
    m_scale = new QLabel(this);
    m_scale->setObjectName(QStringLiteral("rulerScale"));
    m_scale->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFromRulerDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFromRulerDlg::reject);

    auto* spacing = new QHBoxLayout;
    spacing->addWidget(m_edit, 1);
    spacing->addWidget(m_unitCombo);
    auto* form = new QFormLayout(this);
    form->addRow(m_along);
    form->addRow(m_found);
    form->addRow(tr("One division"), spacing);
    form->addRow(m_scale);
    form->addRow(buttons);
    setMinimumWidth(420);

    connect(m_along, &QCheckBox::toggled, this, &CFromRulerDlg::Read);
    connect(m_edit, &QLineEdit::textChanged, this, &CFromRulerDlg::Update);
    connect(m_unitCombo, &QComboBox::currentIndexChanged, this, &CFromRulerDlg::Update);
    Read();
    m_edit->setFocus();
}

bool CFromRulerDlg::ReadAlong() const
{
    return m_along->isChecked();
}

int CFromRulerDlg::Unit() const
{
    return std::max(0, m_unitCombo->currentIndex());
}

QString CFromRulerDlg::ParseSpacing(const QString& text, double& length, int& unit)
{
    unit = -1;
    static const QRegularExpression withUnit(
            QStringLiteral("^\\s*(.*?)\\s*(um|\\x{00B5}m|\\x{03BC}m|mm|cm|inch|in)\\s*$"),
            QRegularExpression::CaseInsensitiveOption);
    QString number = text;
    if (const QRegularExpressionMatch m = withUnit.match(text); m.hasMatch()) {
        const QString name = m.captured(2).toLower();
        unit = name == QLatin1String("mm")    ? 1
                : name == QLatin1String("cm") ? 2
                : name.startsWith(u'i')       ? 3
                                              : 0;
        number = m.captured(1);
    }
    const QString problem =
            CSetScaleDlg::Problem(number, CCalibrationSlot::UnitName(unit >= 0 ? unit : 0), length);
    if (!problem.isEmpty())
        length = 0.0;
    return problem;
}

double CFromRulerDlg::Spacing(QString* problem) const
{
    double length = 0.0;
    int unit = -1;
    const QString why = ParseSpacing(m_edit->text(), length, unit);
    if (problem)
        *problem = why;
    return why.isEmpty() ? length : 0.0;
}

void CFromRulerDlg::Read()
{
    m_reading = m_read ? m_read(ReadAlong()) : Reading();
    if (m_reading.found && !(m_reading.period >= 1.0 && std::isfinite(m_reading.period))) {
        m_reading.found = false;
        m_reading.reason = tr("The divisions are closer than a pixel.");
    }
    if (m_reading.found) {
        m_found->setStyleSheet(QString());
        m_found->setText(tr("%1 divisions, period %2 px +- %3 px, angle %4 deg")
                                 .arg(m_reading.divisions)
                                 .arg(Number(m_reading.period, 6), Number(m_reading.periodError, 2))
                                 .arg(m_reading.angle, 0, 'f', 1));
    } else {
        m_found->setStyleSheet(kProblemStyle);
        m_found->setText(
                m_reading.reason.isEmpty() ? tr("No ruling was found.") : m_reading.reason);
    }
    Update();
}

void CFromRulerDlg::Update()
{
    double spacing = 0.0;
    int typedUnit = -1;
    const QString problem = ParseSpacing(m_edit->text(), spacing, typedUnit);
    // A unit typed with the number picks it in the list as well.
    if (typedUnit >= 0 && typedUnit != m_unitCombo->currentIndex()) {
        const QSignalBlocker block(m_unitCombo);
        m_unitCombo->setCurrentIndex(typedUnit);
    }
    const bool typed = !m_edit->text().trimmed().isEmpty();
    QString text;
    if (!m_reading.found)
        text.clear();
    else if (!typed)
        text = tr("Enter the spacing of one division.");
    else if (!problem.isEmpty())
        text = problem;
    else {
        const double scale = spacing / m_reading.period;
        const double error = scale * m_reading.periodError / m_reading.period;
        text = tr("Scale: %1 %2/pixel +- %3")
                       .arg(Number(scale, 7), CCalibrationSlot::UnitName(Unit()), Number(error, 2));
    }
    m_scale->setStyleSheet(typed && !problem.isEmpty() ? kProblemStyle : QString());
    m_scale->setText(text);
    m_scale->setVisible(!text.isEmpty());
    m_ok->setEnabled(m_reading.found && spacing > 0.0);
}

bool CFromRulerDlg::ScaleSlot(QPoint centre, CCalibrationSlot& slot) const
{
    const double spacing = Spacing();
    if (!m_reading.found || !(spacing > 0.0))
        return false;
    // The reference bars span the divisions read when that stays a length the slot can hold.
    const int n = std::max(1, m_reading.divisions);
    const bool whole = spacing * n <= CCalibrationSlot::kMaxKnownLength;
    return CCalibrationSlot::FromKnownLength(
            m_reading.period * (whole ? n : 1), spacing * (whole ? n : 1), Unit(), centre, slot);
}

void CFromRulerDlg::accept()
{
    // Enter in the spacing field comes here too.
    if (m_ok->isEnabled())
        QDialog::accept();
}

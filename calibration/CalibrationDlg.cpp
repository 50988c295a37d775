#include "calibration/CalibrationDlg.h"

#include "base/FrameLayout.h"
#include "base/ToolModes.h"
#include "base/UserMessages.h"

#include "calibration/CalibrationStatus.h"
#include "calibration/CalibrationTable.h"
#include "calibration/CircleDetector.h"
#include "calibration/FromRulerDlg.h"
#include "calibration/SetScaleDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kDialogUnits = 4; // "um", "mm", "cm", "inch"
constexpr double kResetLength = 400.0;
constexpr uint32_t kResetLow = 100;
constexpr uint32_t kResetHigh = 300;
constexpr double kAutoSizesMm[CCircleDetector::kSizeCount] = { 0.2, 0.6, 1.0, 1.4, 1.8, 2.2, 2.6,
    3.4, 4.2, 5.0 };
} // namespace

CCalibrationDlg::CCalibrationDlg(CCalibrationTable& table, CHooks hooks, QWidget* parent)
    : QDialog(parent), m_table(table), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("calibrationDlg"));
    setWindowTitle(tr("Calibration "));
    setModal(false);
    BuildControls();
    ConnectSignals();

    {
        const QSignalBlocker block(m_slotCombo);
        m_slotCombo->setCurrentIndex(m_table.CurrentIndex());
    }
    RedisplaySlot();
    const QSignalBlocker block(m_autoSizeCombo);
    m_autoSizeCombo->setCurrentIndex(0);
}

void CCalibrationDlg::BuildControls()
{
    m_slotCombo = new QComboBox(this);
    m_slotCombo->setObjectName(QStringLiteral("slotCombo"));
    for (int n = 0; n < CCalibrationTable::kSlotCount; ++n)
        m_slotCombo->addItem(CCalibrationStatus::SlotTitle(n, m_table.SlotName(n)));

    m_editName = new QLineEdit(this);
    m_editName->setObjectName(QStringLiteral("editName"));
    m_editName->setMaxLength(CCalibrationTable::kMaxNameLength);
    m_editName->setPlaceholderText(tr("for example 10x objective"));
    m_madeAt = new QLabel(this);
    m_madeAt->setObjectName(QStringLiteral("madeAt"));
    m_madeAt->setWordWrap(true);
    m_btnFromLine = new QPushButton(tr("From line..."), this);
    m_btnFromLine->setObjectName(QStringLiteral("btnFromLine"));
    m_btnFromLine->setAutoDefault(false);
    m_btnFromLine->setToolTip(tr("Set the scale from the selected or last drawn line or circle "
                                 "and its known length"));
    m_btnFromRuler = new QPushButton(tr("From ruler..."), this);
    m_btnFromRuler->setObjectName(QStringLiteral("btnFromRuler"));
    m_btnFromRuler->setAutoDefault(false);
    m_btnFromRuler->setToolTip(tr("Set the scale from a stage micrometer in the picture and the "
                                  "spacing of its divisions"));

    m_editX = new QLineEdit(this);
    m_editX->setObjectName(QStringLiteral("editX"));
    m_editY = new QLineEdit(this);
    m_editY->setObjectName(QStringLiteral("editY"));

    m_unitCombo = new QComboBox(this);
    m_unitCombo->setObjectName(QStringLiteral("unitCombo"));
    for (int u = 0; u < kDialogUnits; ++u)
        m_unitCombo->addItem(CCalibrationSlot::UnitName(u));

    m_status = new QLineEdit(this);
    m_status->setObjectName(QStringLiteral("scaleStatus"));
    m_status->setReadOnly(true);

    // Automatic calibration needs a disc of known size under the camera; its controls stay
    // hidden.
    m_btnAuto = new QPushButton(tr("Auto"), this);
    m_btnAuto->setObjectName(QStringLiteral("btnAuto"));
    m_autoLabel = new QLabel(tr("Auto circle size"), this);
    m_autoSizeCombo = new QComboBox(this);
    m_autoSizeCombo->setObjectName(QStringLiteral("autoSizeCombo"));
    for (double mm : kAutoSizesMm)
        m_autoSizeCombo->addItem(QString::number(mm, 'f', 1) + QStringLiteral("mm"));
    m_btnAuto->hide();
    m_autoLabel->hide();
    m_autoSizeCombo->hide();

    m_btnReset = new QPushButton(tr("Reset"), this);
    m_btnReset->setObjectName(QStringLiteral("btnReset"));
    m_btnReset->setAutoDefault(false);
    m_btnOk = new QPushButton(tr("OK"), this);
    m_btnOk->setObjectName(QStringLiteral("btnOk"));
    m_btnOk->setDefault(true);
    m_btnCancel = new QPushButton(tr("Cancel"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    int row = 0;
    grid->addWidget(new QLabel(tr("Calibration"), this), row, 0);
    grid->addWidget(m_slotCombo, row++, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Name"), this), row, 0);
    grid->addWidget(m_editName, row++, 1, 1, 2);
    grid->addWidget(new QLabel(tr("X"), this), row, 0);
    grid->addWidget(m_editX, row++, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Y"), this), row, 0);
    grid->addWidget(m_editY, row++, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Unit"), this), row, 0);
    grid->addWidget(m_unitCombo, row++, 1, 1, 2);
    grid->addWidget(m_status, row++, 0, 1, 3);
    grid->addWidget(m_madeAt, row++, 0, 1, 3);
    grid->addWidget(m_btnAuto, row, 0);
    grid->addWidget(m_autoLabel, row, 1);
    grid->addWidget(m_autoSizeCombo, row++, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_btnReset);
    buttons->addWidget(m_btnFromLine);
    buttons->addWidget(m_btnFromRuler);
    buttons->addStretch();
    buttons->addWidget(m_btnOk);
    buttons->addWidget(m_btnCancel);
    grid->addLayout(buttons, row, 0, 1, 3);
}

void CCalibrationDlg::ConnectSignals()
{
    connect(m_slotCombo, &QComboBox::currentIndexChanged, this, &CCalibrationDlg::OnSelchangeSlot);
    connect(m_unitCombo, &QComboBox::currentIndexChanged, this, &CCalibrationDlg::OnSelchangeUnit);
    // Only the user's typing counts as an edit, not the dialog writing its own fields.
    connect(m_editX, &QLineEdit::textEdited, this, &CCalibrationDlg::OnChangeX);
    connect(m_editY, &QLineEdit::textEdited, this, &CCalibrationDlg::OnChangeY);
    // Leaving a field for Cancel asks for nothing: Cancel drops what was typed.
    for (QLineEdit* edit : { m_editX, m_editY })
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] {
            double v = 0.0;
            if (QApplication::focusWidget() != m_btnCancel)
                ReadField(edit, v);
        });
    connect(m_editName, &QLineEdit::textEdited, this, &CCalibrationDlg::OnChangeName);
    connect(m_btnFromLine, &QPushButton::clicked, this, &CCalibrationDlg::OnFromLine);
    connect(m_btnFromRuler, &QPushButton::clicked, this, &CCalibrationDlg::OnFromRuler);
    connect(m_btnReset, &QPushButton::clicked, this, &CCalibrationDlg::OnReset);
    connect(m_btnOk, &QPushButton::clicked, this, &CCalibrationDlg::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &CCalibrationDlg::reject);
    connect(m_btnAuto, &QPushButton::clicked, this, &CCalibrationDlg::OnAuto);
    connect(m_autoSizeCombo, &QComboBox::currentIndexChanged, this,
            &CCalibrationDlg::OnSelchangeAutoSize);
}

int CCalibrationDlg::SelectedSlot() const
{
    return std::max(0, m_slotCombo->currentIndex());
}

int CCalibrationDlg::SelectedUnit() const
{
    return std::max(0, m_unitCombo->currentIndex());
}

QString CCalibrationDlg::ScaleText(const CCalibrationSlot& slot, int unit)
{
    CCalibrationSlot shown = slot;
    shown.unit = unit;
    const QString name = shown.EffectiveUnitName();
    return tr("X: %1%2/pixel  Y: %3%4/pixel")
            .arg(QString::asprintf("%.4f", shown.EffectiveXPerPixel()), name,
                    QString::asprintf("%.4f", shown.EffectiveYPerPixel()), name);
}

QString CCalibrationDlg::FormatLength(double value)
{
    return QLocale::c().toString(value, 'g', 15);
}

bool CCalibrationDlg::ParseLength(const QString& text, double& value)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

void CCalibrationDlg::ShowCalibration()
{
    if (m_hooks.cancelTool)
        m_hooks.cancelTool();
    if (m_hooks.enableCalibrationMode)
        m_hooks.enableCalibrationMode(true);
    if (m_hooks.repaintCanvas)
        m_hooks.repaintCanvas();
    if (!isVisible()) {
        m_opened = m_table;
        m_bEdited = false;
    }
    if (!m_bCentred) {
        adjustSize();
        const QWidget* host = parentWidget() ? parentWidget()->window() : nullptr;
        QRect area = host ? host->frameGeometry() : QRect();
        if (area.isEmpty() && QGuiApplication::primaryScreen())
            area = QGuiApplication::primaryScreen()->availableGeometry();
        move(area.center() - rect().center());
        m_bCentred = true;
    }
    show();
    raise();
    activateWindow();
}

void CCalibrationDlg::OnCalibrationMoved(const CCalibrationSlot& engineSlot)
{
    m_table.SetCurSlot(engineSlot);
    m_bEdited = true;
    RedisplaySlot();
}

void CCalibrationDlg::ShowTableSlot()
{
    // The slot in use may have changed behind the dialog (undo, another slot stored).
    {
        const QSignalBlocker block(m_slotCombo);
        m_slotCombo->setCurrentIndex(m_table.CurrentIndex());
    }
    ShowSlot(SelectedSlot());
}

void CCalibrationDlg::RedisplaySlot()
{
    const int n = SelectedSlot();
    ShowSlot(n);
    m_table.SetCurrentIndex(n);
    Apply(m_table.GetSlot(n));
}

void CCalibrationDlg::ShowSlot(int n)
{
    const CCalibrationSlot slot = m_table.GetSlot(n);
    ShowScale(slot, slot.unit);
    {
        const QSignalBlocker block(m_unitCombo);
        m_unitCombo->setCurrentIndex(std::clamp(slot.unit, 0, kDialogUnits - 1));
    }
    WriteFields(slot.xLength, slot.yLength);
    if (m_editName->text() != m_table.SlotName(n))
        m_editName->setText(m_table.SlotName(n));
    ShowMadeAt(n);
}

void CCalibrationDlg::ShowMadeAt(int slotIndex)
{
    const CCalibrationScaling scaling = m_table.Scaling(slotIndex);
    const QSize made = m_table.MadeAt(slotIndex);
    QString text;
    if (scaling.Scaled() && scaling.AspectDiffers())
        text = tr("Made at %1 X %2, scaled to %3 X %4 by width: the picture has another "
                  "shape, so the calibration may not apply.")
                       .arg(made.width())
                       .arg(made.height())
                       .arg(scaling.Now().width())
                       .arg(scaling.Now().height());
    else if (scaling.Scaled())
        text = tr("Made at %1 X %2, scaled to %3 X %4.")
                       .arg(made.width())
                       .arg(made.height())
                       .arg(scaling.Now().width())
                       .arg(scaling.Now().height());
    else if (made.isValid() && m_table.StoredSlot(slotIndex).HasUsableScale())
        text = tr("Made at %1 X %2.").arg(made.width()).arg(made.height());
    m_madeAt->setText(text);
    m_madeAt->setVisible(!text.isEmpty());
}

void CCalibrationDlg::OnChangeName()
{
    const int n = SelectedSlot();
    m_table.SetSlotName(n, m_editName->text());
    m_bEdited = true;
    m_slotCombo->setItemText(n, CCalibrationStatus::SlotTitle(n, m_table.SlotName(n)));
    emit slotRenamed();
}

void CCalibrationDlg::OnFromLine()
{
    double pixels = 0.0;
    QPoint centre;
    int kind = 0;
    if (!m_hooks.referenceLength || !m_hooks.referenceLength(pixels, centre, kind)) {
        Message(tr("Draw or select a line or a circle across something of known size "
                   "first."));
        return;
    }
    const bool circle = kind == KindCircle;
    const int n = SelectedSlot();
    double length = 0.0;
    int unit = m_table.GetSlot(n).unit;
    if (m_askLength) {
        if (!m_askLength(pixels, circle, length, unit))
            return;
    } else {
        CSetScaleDlg ask(pixels, circle, unit, this);
        if (ask.exec() != QDialog::Accepted)
            return;
        length = ask.Length();
        unit = ask.Unit();
    }
    CCalibrationSlot slot;
    if (!CCalibrationSlot::FromKnownLength(pixels, length, unit, centre, slot)) {
        Message(tr("Enter a length greater than 0."));
        return;
    }
    m_table.SetCurrentIndex(n);
    StoreAndApply(slot);
    RedisplaySlot();
}

void CCalibrationDlg::OnFromRuler()
{
    CFrame frame;
    if (!m_hooks.captureFrame || !m_hooks.captureFrame(frame) || frame.width <= 0
            || frame.height <= 0
            || frame.bits.size() < static_cast<size_t>(FrameStride(frame.width)) * frame.height) {
        Message(tr("There is no picture to read a ruler from."));
        return;
    }
    QLineF line;
    const bool hasLine =
            m_hooks.referenceLine && m_hooks.referenceLine(line) && line.length() >= 1.0;
    auto read = [&](bool along) {
        if (!m_hooks.readRuler) {
            CRulerReading none;
            none.reason = tr("Reading a ruler is not available.");
            return none;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        CRulerReading reading = m_hooks.readRuler(frame, along ? &line : nullptr);
        QApplication::restoreOverrideCursor();
        return reading;
    };
    const int n = SelectedSlot();
    CFromRulerDlg ask(read, hasLine, m_table.GetSlot(n).unit, this);
    if (!(m_askRuler ? m_askRuler(ask) : ask.exec() == QDialog::Accepted))
        return;
    CCalibrationSlot slot;
    if (!ask.ScaleSlot(ask.ReadAlong() ? line.center().toPoint()
                                       : QPoint(frame.width / 2, frame.height / 2),
                slot)) {
        Message(tr("Enter a length greater than 0."));
        return;
    }
    m_table.SetCurrentIndex(n);
    StoreAndApply(slot);
    RedisplaySlot();
}

void CCalibrationDlg::OnSelchangeSlot()
{
    m_bEdited = true;
    RedisplaySlot();
}

void CCalibrationDlg::OnSelchangeUnit()
{
    const int unit = SelectedUnit();
    CCalibrationSlot slot = m_table.GetSlot(SelectedSlot());
    // The unit only relabels the numbers; they are not converted.
    ShowScale(slot, unit);
    slot.unit = unit;
    m_table.SetCurrentIndex(SelectedSlot());
    StoreAndApply(slot);
}

void CCalibrationDlg::OnChangeX()
{
    double x = 0.0;
    // Half-typed text is left alone; leaving the field prompts for a number.
    if (!ParseLength(m_editX->text(), x))
        return;
    m_table.SetCurrentIndex(SelectedSlot());
    CCalibrationSlot slot = m_table.GetCurSlot();
    slot.xLength = x;
    slot.ApplyScaleRuleX();
    StoreAndApply(slot);
    ShowScale(slot, SelectedUnit());
}

void CCalibrationDlg::OnChangeY()
{
    double y = 0.0;
    if (!ParseLength(m_editY->text(), y))
        return;
    m_table.SetCurrentIndex(SelectedSlot());
    CCalibrationSlot slot = m_table.GetCurSlot();
    slot.yLength = y;
    slot.ApplyScaleRuleY();
    slot.unit = SelectedUnit();
    StoreAndApply(slot);
    ShowScale(slot, SelectedUnit());
}

void CCalibrationDlg::OnReset()
{
    m_table.SetCurrentIndex(SelectedSlot());
    {
        const QSignalBlocker block(m_unitCombo);
        m_unitCombo->setCurrentIndex(0);
    }
    CCalibrationSlot slot;
    slot.unit = 0;
    slot.xLength = kResetLength;
    slot.yLength = kResetLength;
    slot.left = kResetLow;
    slot.right = kResetHigh;
    slot.top = kResetLow;
    slot.bottom = kResetHigh;
    slot.xPerPixel = kResetLength * 0.005; // 400 um over 200 pixels
    slot.yPerPixel = kResetLength * 0.005;
    StoreAndApply(slot);
    ShowScale(slot, slot.unit);
    WriteFields(slot.xLength, slot.yLength);
}

void CCalibrationDlg::accept()
{
    double x = 0.0;
    double y = 0.0;
    if (!ReadField(m_editX, x) || !ReadField(m_editY, y))
        return;
    m_table.SetCurrentIndex(SelectedSlot());
    CCalibrationSlot slot = m_table.GetCurSlot();
    slot.unit = SelectedUnit();
    slot.xLength = x;
    slot.yLength = y;
    slot.ApplyScaleRule();
    StoreAndApply(slot);
    Finish();
    QDialog::accept();
}

void CCalibrationDlg::reject()
{
    if (m_bEdited)
        RestoreOpened();
    Finish();
    QDialog::reject();
}

void CCalibrationDlg::RestoreOpened()
{
    // The picture may have changed size meanwhile; the slots then measure at the new size.
    const QSize captureSize = m_table.CaptureSize();
    m_table = m_opened;
    m_table.SetCaptureSize(captureSize);
    for (int n = 0; n < CCalibrationTable::kSlotCount; ++n)
        m_slotCombo->setItemText(n, CCalibrationStatus::SlotTitle(n, m_table.SlotName(n)));
    {
        const QSignalBlocker block(m_slotCombo);
        m_slotCombo->setCurrentIndex(m_table.CurrentIndex());
    }
    ShowSlot(SelectedSlot());
    Apply(m_table.GetCurSlot());
    emit slotRenamed();
    m_bEdited = false;
}

void CCalibrationDlg::Finish()
{
    if (m_hooks.enableCalibrationMode)
        m_hooks.enableCalibrationMode(false);
    if (m_hooks.repaintCanvas)
        m_hooks.repaintCanvas();
}

void CCalibrationDlg::OnSelchangeAutoSize()
{
    const int index =
            std::clamp(m_autoSizeCombo->currentIndex(), 0, CCircleDetector::kSizeCount - 1);
    const double mm = kAutoSizesMm[index];
    if (SelectedUnit() != 1) {
        const QSignalBlocker block(m_unitCombo);
        m_unitCombo->setCurrentIndex(1);
    }
    WriteFields(mm, mm);
}

void CCalibrationDlg::OnAuto()
{
    if (SelectedUnit() != 1) {
        Message(tr("Unit must be set mm!"));
        return;
    }
    OnSelchangeAutoSize();
    const int index =
            std::clamp(m_autoSizeCombo->currentIndex(), 0, CCircleDetector::kSizeCount - 1);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    CFrame frame;
    CCalibrationSlot found;
    CCircleDetector detector;
    const bool ok = m_hooks.captureFrame && m_hooks.captureFrame(frame) && frame.width > 0
            && frame.height > 0
            && frame.bits.size() >= static_cast<size_t>(FrameStride(frame.width)) * frame.height
            && detector.Detect(frame.bits.data(), frame.width, frame.height,
                    CCircleDetector::kSizeSteps[index], found);
    if (ok) {
        m_table.SetCurrentIndex(SelectedSlot());
        StoreAndApply(found);
        RedisplaySlot();
    }
    QApplication::restoreOverrideCursor();
    if (!ok)
        Message(tr("It does not calibrate automatically with the previewing image."));
}

void CCalibrationDlg::StoreAndApply(const CCalibrationSlot& slot)
{
    m_table.SetCurSlot(slot);
    m_bEdited = true;
    Apply(slot);
    ShowMadeAt(m_table.CurrentIndex());
}

void CCalibrationDlg::Apply(const CCalibrationSlot& slot)
{
    if (m_hooks.applyCalibration)
        m_hooks.applyCalibration(slot);
    if (m_hooks.repaintCanvas)
        m_hooks.repaintCanvas();
    emit calibrationApplied();
}

void CCalibrationDlg::ShowScale(const CCalibrationSlot& slot, int unit)
{
    m_status->setText(ScaleText(slot, unit));
}

void CCalibrationDlg::WriteFields(double x, double y)
{
    m_editX->setText(FormatLength(x));
    m_editY->setText(FormatLength(y));
}

bool CCalibrationDlg::ReadField(QLineEdit* edit, double& value)
{
    if (ParseLength(edit->text(), value))
        return true;
    // Leaving the field for the prompt would report the same field again.
    if (m_bPrompting)
        return false;
    m_bPrompting = true;
    Message(tr("Please enter a number."));
    edit->setFocus();
    edit->selectAll();
    m_bPrompting = false;
    return false;
}

void CCalibrationDlg::Message(const QString& text)
{
    UserMessages().Error({ .text = text, .caption = QApplication::applicationDisplayName() });
}

#pragma once

#include "calibration/CalibrationSlot.h"
#include "calibration/CalibrationTable.h"
#include "calibration/RulerReading.h"

#include <QDialog>
#include <QLineF>

#include <cstdint>
#include <functional>
#include <vector>

class CFromRulerDlg;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The Calibration dialog: edits the slots of the calibration table while the on-screen
// reference is shown. Modeless; created hidden once and only shown and hidden afterwards.
// Every change is stored into the slot in use at once, so the picture measures with it while
// the dialog is open; Cancel puts the table back as it was when the dialog was shown.
class CCalibrationDlg : public QDialog
{
    Q_OBJECT
public:
    // A camera frame as the capture library hands it over: 24-bit, rows bottom-up.
    struct CFrame
    {
        std::vector<uint8_t> bits;
        int width = 0;
        int height = 0;
    };

    using CRulerReading = ::CRulerReading;

    // What the dialog needs from the measurement engine and the main window.
    struct CHooks
    {
        std::function<void(const CCalibrationSlot&)> applyCalibration; // SetCalibration
        std::function<void(bool)> enableCalibrationMode; // EnableCalibrationRuler
        std::function<void()> repaintCanvas;
        std::function<void()> cancelTool; // cancel the measurement tool in progress
        std::function<bool(CFrame&)> captureFrame; // into the current frame image
        // The drawn line or circle a scale can be set from: its length or diameter in picture
        // pixels, its middle and its shape kind.
        std::function<bool(double& pixels, QPoint& centre, int& kind)> referenceLength;
        // The same reference when it is a line: its ends in picture pixels, rows top-down.
        std::function<bool(QLineF& ends)> referenceLine;
        // Reads a ruling in the frame, within a band along the line when one is given.
        std::function<CRulerReading(const CFrame& frame, const QLineF* along)> readRuler;
    };
    // Asks the real length of a line pixels long; false when the user cancels.
    using LengthAsker = std::function<bool(double pixels, bool circle, double& length, int& unit)>;
    // Runs the ruler dialog; true when the user accepts it.
    using RulerAsker = std::function<bool(CFromRulerDlg& dialog)>;

    CCalibrationDlg(CCalibrationTable& table, CHooks hooks, QWidget* parent = nullptr);

    // The "CAL" command: cancel the tool, turn calibration mode on, show the dialog.
    void ShowCalibration();
    // Runs the slot-selected steps for the combo's selection.
    void RedisplaySlot();
    // Shows the slot in use as the table has it, handing nothing to the engine.
    void ShowTableSlot();

    void SetLengthAsker(LengthAsker asker) { m_askLength = std::move(asker); }
    void SetRulerAsker(RulerAsker asker) { m_askRuler = std::move(asker); }

    static QString ScaleText(const CCalibrationSlot& slot, int unit);
    // Shortest form of up to 15 significant digits.
    static QString FormatLength(double value);
    static bool ParseLength(const QString& text, double& value);

    int SelectedSlot() const;
    int SelectedUnit() const;

signals:
    // A slot was handed to the engine: rows and labels show the new scale and unit.
    void calibrationApplied();
    void slotRenamed();

public slots:
    // After each drag step of the reference: store the engine's record (the new rectangle,
    // the scale of the step before) as the slot in use, then redisplay the selected slot.
    void OnCalibrationMoved(const CCalibrationSlot& engineSlot);
    void OnSelchangeSlot();
    void OnSelchangeUnit();
    void OnChangeX();
    void OnChangeY();
    void OnReset();
    void OnAuto();
    void OnSelchangeAutoSize();
    void OnChangeName();
    // "From line...": the selected or newest line (or circle) of known length sets the scale
    // of the slot being edited, both axes alike.
    void OnFromLine();
    // "From ruler...": the period of a stage micrometer's divisions in the frame, along the
    // reference line or over the whole picture, and the spacing of one division set the scale.
    void OnFromRuler();
    void accept() override; // "OK"
    void reject() override; // "Cancel", the close box and Escape

private:
    void BuildControls();
    void ConnectSignals();
    void StoreAndApply(const CCalibrationSlot& slot);
    void Apply(const CCalibrationSlot& slot);
    void ShowScale(const CCalibrationSlot& slot, int unit);
    void ShowMadeAt(int slotIndex);
    void ShowSlot(int slotIndex); // fields, unit, status, name and size; nothing applied
    void WriteFields(double x, double y);
    // Refuses a non-numeric entry with the number prompt; the slot stays as it was.
    bool ReadField(QLineEdit* edit, double& value);
    void Finish();
    // Cancel: every slot, name and made-at size as at opening, and that slot in use again.
    void RestoreOpened();
    void Message(const QString& text);

    CCalibrationTable& m_table;
    CHooks m_hooks;
    LengthAsker m_askLength;
    RulerAsker m_askRuler;
    bool m_bCentred = false;
    bool m_bPrompting = false;
    CCalibrationTable m_opened; // the table when the dialog was shown
    bool m_bEdited = false; // the dialog stored something since it was shown

    QComboBox* m_slotCombo = nullptr;
    QLineEdit* m_editName = nullptr;
    QLabel* m_madeAt = nullptr;
    QPushButton* m_btnFromLine = nullptr;
    QPushButton* m_btnFromRuler = nullptr;
    QLineEdit* m_editX = nullptr;
    QLineEdit* m_editY = nullptr;
    QComboBox* m_unitCombo = nullptr;
    QLineEdit* m_status = nullptr;
    QPushButton* m_btnAuto = nullptr;
    QLabel* m_autoLabel = nullptr;
    QComboBox* m_autoSizeCombo = nullptr;
    QPushButton* m_btnReset = nullptr;
    QPushButton* m_btnOk = nullptr;
    QPushButton* m_btnCancel = nullptr;
};

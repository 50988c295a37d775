#pragma once

#include "calibration/CalibrationScaling.h"
#include "calibration/CalibrationSlot.h"
#include "image/PictureScale.h"

#include <QString>

#include <functional>

class CCalibrationTable;

// Which scale the drawing measures in: the table's slot in use, or the scale an opened
// picture carried in its file. A picture's scale is used while that picture is shown and never
// overwrites a slot unless the user stores it in one.
class CPictureCalibration
{
public:
    using ApplyHook = std::function<void(const CCalibrationSlot&)>;

    CPictureCalibration(CCalibrationTable& table, ApplyHook apply);

    // A picture was opened: its scale, when it has a valid one, is used from now on;
    // otherwise the slot in use is.
    void PictureOpened(const CPictureScale& scale);
    // Back to the slot in use (live picture again, or a slot applied by the dialog).
    void UseSlot(const CCalibrationSlot& slot);
    void UseTable();

    bool FromFile() const { return m_bFromFile; }
    CCalibrationSlot Active() const;
    // The scale to write into a saved picture; invalid without a usable calibration.
    CPictureScale ActiveScale() const;
    QString StatusText() const;
    // The measurement file's closing line for the scale in use.
    QString CsvLine() const;
    // Stores the picture's scale in slot index and makes that slot the one in use.
    bool StoreInSlot(int index);

    static CPictureScale ToPictureScale(const CCalibrationSlot& slot);
    // A slot that measures in the scale: the reference is placed as the dialog's Reset places
    // it, with lengths that give exactly this scale.
    static bool ToSlot(const CPictureScale& scale, CCalibrationSlot& slot);

private:
    // The status line and the CSV line say the same things about the scale in use.
    using Describer = QString (*)(const CCalibrationSlot&, int slotIndex, const QString& name,
            const CCalibrationScaling& scaling);
    QString Describe(Describer describe) const;

    CCalibrationTable& m_table;
    ApplyHook m_apply;
    bool m_bFromFile = false;
    CCalibrationSlot m_fileSlot;
};

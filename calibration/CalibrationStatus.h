#pragma once

#include "calibration/CalibrationScaling.h"
#include "calibration/CalibrationSlot.h"

#include <QCoreApplication>
#include <QString>

// The one line that tells the user which scale measurements are in: the slot (or the picture
// the scale came from), the size of one pixel, and whether the slot was made at another size.
class CCalibrationStatus
{
    Q_DECLARE_TR_FUNCTIONS(CCalibrationStatus)
public:
    static constexpr int kFromFile = -1;
    static constexpr int kFromCommandLine = -2; // a scale given to a batch command

    // slotIndex: the slot in use, or kFromFile for a scale read from the picture's file.
    static QString Text(const CCalibrationSlot& slot, int slotIndex, const QString& name = {},
            const CCalibrationScaling& scaling = {});
    // "0.25 um/pixel", or "0.25 x 0.5 um/pixel" when the two axes differ.
    static QString PixelSizeText(const CCalibrationSlot& slot);
    // "scaled from 1280 X 960", with a warning when the sizes have another shape; empty when
    // the slot measures at the size it was made at.
    static QString ScalingText(const CCalibrationScaling& scaling);
    // How the slot is listed: "Calibration 3", or "Calibration 3: 10x objective".
    static QString SlotTitle(int slotIndex, const QString& name);
    // The measurement file's closing line, in fixed English so other programs can read it:
    // '# scale: 0.5 x 0.5 um/pixel; calibration 3 "10x objective"; scaled from 1280 X 960'.
    static QString CsvLine(const CCalibrationSlot& slot, int slotIndex, const QString& name = {},
            const CCalibrationScaling& scaling = {});
};

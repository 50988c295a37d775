#pragma once

#include "calibration/CalibrationSlot.h"

#include <QCoreApplication>
#include <QString>

// The one line that tells the user which scale measurements are in: the slot (or the picture
// the scale came from) and the size of one pixel.
class CCalibrationStatus
{
    Q_DECLARE_TR_FUNCTIONS(CCalibrationStatus)
public:
    static constexpr int kFromFile = -1;

    // slotIndex: the slot in use, or kFromFile for a scale read from the picture's file.
    static QString Text(const CCalibrationSlot& slot, int slotIndex);
    // "0.25 um/pixel", or "0.25 x 0.5 um/pixel" when the two axes differ.
    static QString PixelSizeText(const CCalibrationSlot& slot);
};

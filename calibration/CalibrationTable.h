#pragma once

#include "calibration/CalibrationScaling.h"
#include "calibration/CalibrationSlot.h"

#include <QSize>
#include <QString>

#include <array>

class CIniFile;

// The ten calibration slots and the index of the one in use; never resized. Each slot may
// carry a name (the objective or zoom it belongs to) and knows the capture size it was made
// at. Slots are handed out as they measure at the current capture size, and a slot stored is
// taken as made at that size.
class CCalibrationTable
{
public:
    static constexpr int kSlotCount = 10;
    static constexpr int kMaxNameLength = 40;

    void Load(const CIniFile& ini);
    void Save(CIniFile& ini) const;

    int CurrentIndex() const { return m_curSel; }
    void SetCurrentIndex(int index);
    CCalibrationSlot GetCurSlot() const { return GetSlot(m_curSel); }
    CCalibrationSlot GetSlot(int index) const;
    void SetCurSlot(const CCalibrationSlot& slot) { SetSlot(m_curSel, slot); }
    void SetSlot(int index, const CCalibrationSlot& slot);

    // The size of the picture being measured: the camera's, or an opened picture's.
    void SetCaptureSize(QSize size);
    QSize CaptureSize() const { return m_captureSize; }
    // Slots from before sizes were kept take the capture size they are first used at.
    void AdoptCaptureSize();
    // The slot as it was made, and the size it was made at (empty when not known).
    CCalibrationSlot StoredSlot(int index) const;
    QSize MadeAt(int index) const;
    CCalibrationScaling Scaling(int index) const;

    QString SlotName(int index) const;
    // Trimmed, one line, at most kMaxNameLength characters.
    void SetSlotName(int index, const QString& name);
    static QString CleanName(const QString& name);

private:
    static int Clamped(int index);

    std::array<CCalibrationSlot, kSlotCount> m_slots {};
    std::array<QString, kSlotCount> m_names {};
    std::array<QSize, kSlotCount> m_madeAt {};
    QSize m_captureSize;
    int m_curSel = 0;
};

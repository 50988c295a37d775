#pragma once

#include "calibration/CalibrationSlot.h"

#include <array>

class CIniFile;

// The ten calibration slots and the index of the one in use; never resized.
class CCalibrationTable
{
public:
    static constexpr int kSlotCount = 10;

    void Load(const CIniFile& ini);
    void Save(CIniFile& ini) const;

    int CurrentIndex() const { return m_curSel; }
    void SetCurrentIndex(int index);
    CCalibrationSlot GetCurSlot() const { return m_slots[m_curSel]; }
    CCalibrationSlot GetSlot(int index) const;
    void SetCurSlot(const CCalibrationSlot& slot) { m_slots[m_curSel] = slot; }
    void SetSlot(int index, const CCalibrationSlot& slot);

private:
    std::array<CCalibrationSlot, kSlotCount> m_slots {};
    int m_curSel = 0;
};

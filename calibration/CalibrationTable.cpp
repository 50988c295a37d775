#include "calibration/CalibrationTable.h"

#include "base/IniFile.h"

#include <QtGlobal>

namespace {
const QString kSection = QStringLiteral("CALIBRATION");

QString SlotKey(const char* name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}
} // namespace

void CCalibrationTable::Load(const CIniFile& ini)
{
    m_curSel = qBound(0, ini.GetInt(kSection, QStringLiteral("curSel"), 0), kSlotCount - 1);
    for (int n = 0; n < kSlotCount; ++n) {
        CCalibrationSlot slot;
        slot.xLength = ini.GetDouble(kSection, SlotKey("xlen", n), QStringLiteral("0"));
        slot.yLength = ini.GetDouble(kSection, SlotKey("ylen", n), QStringLiteral("0"));
        slot.unit = ini.GetInt(kSection, SlotKey("unit", n), 0);
        if (slot.unit < 0 || slot.unit > 3)
            slot.unit = 0;
        slot.left = static_cast<uint32_t>(ini.GetInt(kSection, SlotKey("left", n), 0));
        slot.bottom = static_cast<uint32_t>(ini.GetInt(kSection, SlotKey("bottom", n), 0));
        slot.right = static_cast<uint32_t>(ini.GetInt(kSection, SlotKey("right", n), 0));
        slot.top = static_cast<uint32_t>(ini.GetInt(kSection, SlotKey("top", n), 0));
        slot.ApplyScaleRule();
        m_slots[n] = slot;
    }
}

void CCalibrationTable::Save(CIniFile& ini) const
{
    ini.WriteInt(kSection, QStringLiteral("curSel"), m_curSel);
    for (int n = 0; n < kSlotCount; ++n) {
        const CCalibrationSlot& slot = m_slots[n];
        ini.WriteDouble(kSection, SlotKey("xlen", n), slot.xLength);
        ini.WriteDouble(kSection, SlotKey("ylen", n), slot.yLength);
        ini.WriteInt(kSection, SlotKey("unit", n), slot.unit);
        ini.WriteInt(kSection, SlotKey("left", n), static_cast<int>(slot.left));
        ini.WriteInt(kSection, SlotKey("bottom", n), static_cast<int>(slot.bottom));
        ini.WriteInt(kSection, SlotKey("right", n), static_cast<int>(slot.right));
        ini.WriteInt(kSection, SlotKey("top", n), static_cast<int>(slot.top));
    }
}

void CCalibrationTable::SetCurrentIndex(int index)
{
    if (index >= 0 && index < kSlotCount)
        m_curSel = index;
}

CCalibrationSlot CCalibrationTable::GetSlot(int index) const
{
    return m_slots[qBound(0, index, kSlotCount - 1)];
}

void CCalibrationTable::SetSlot(int index, const CCalibrationSlot& slot)
{
    if (index >= 0 && index < kSlotCount)
        m_slots[index] = slot;
}

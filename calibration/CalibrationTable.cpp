#include "calibration/CalibrationTable.h"

#include "base/IniFile.h"

#include <QtGlobal>

#include <cmath>

namespace {
const QString kSection = QStringLiteral("CALIBRATION");

// Reference corners are picture pixels: far beyond any sensor, never negative.
constexpr int kMaxCoordinate = 1000000;

QString SlotKey(const char* name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

// A length is a real size of the reference: finite and not negative.
double Length(double value)
{
    return std::isfinite(value) && value > 0.0 ? value : 0.0;
}

uint32_t Coordinate(int value)
{
    return static_cast<uint32_t>(qBound(0, value, kMaxCoordinate));
}
} // namespace

void CCalibrationTable::Load(const CIniFile& ini)
{
    m_curSel = qBound(0, ini.GetInt(kSection, QStringLiteral("curSel"), 0), kSlotCount - 1);
    for (int n = 0; n < kSlotCount; ++n) {
        CCalibrationSlot slot;
        slot.xLength = Length(ini.GetDouble(kSection, SlotKey("xlen", n), QStringLiteral("0")));
        slot.yLength = Length(ini.GetDouble(kSection, SlotKey("ylen", n), QStringLiteral("0")));
        slot.unit = ini.GetInt(kSection, SlotKey("unit", n), 0);
        if (slot.unit < 0 || slot.unit > 3)
            slot.unit = 0;
        slot.left = Coordinate(ini.GetInt(kSection, SlotKey("left", n), 0));
        slot.bottom = Coordinate(ini.GetInt(kSection, SlotKey("bottom", n), 0));
        slot.right = Coordinate(ini.GetInt(kSection, SlotKey("right", n), 0));
        slot.top = Coordinate(ini.GetInt(kSection, SlotKey("top", n), 0));
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

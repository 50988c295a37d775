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
        // Bars whose ends cross (a hand edit) would give a scale near 1e-7 from the unsigned
        // difference: such a slot measures in pixels until it is calibrated again.
        if (slot.right < slot.left || slot.bottom < slot.top)
            slot.xPerPixel = slot.yPerPixel = 0.0;
        m_slots[n] = slot;
        m_names[n] = CleanName(ini.GetString(kSection, SlotKey("name", n), QString(), 256));
        const QSize madeAt(ini.GetInt(kSection, SlotKey("width", n), 0),
                ini.GetInt(kSection, SlotKey("height", n), 0));
        const bool plausible = madeAt.width() > 0 && madeAt.height() > 0
                && madeAt.width() <= kMaxCoordinate && madeAt.height() <= kMaxCoordinate;
        m_madeAt[n] = plausible ? madeAt : QSize();
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
        ini.WriteString(kSection, SlotKey("name", n), m_names[n]);
        const QSize madeAt = m_madeAt[n].isValid() ? m_madeAt[n] : QSize(0, 0);
        ini.WriteInt(kSection, SlotKey("width", n), madeAt.width());
        ini.WriteInt(kSection, SlotKey("height", n), madeAt.height());
    }
}

void CCalibrationTable::SetCurrentIndex(int index)
{
    if (index >= 0 && index < kSlotCount)
        m_curSel = index;
}

int CCalibrationTable::Clamped(int index)
{
    return qBound(0, index, kSlotCount - 1);
}

CCalibrationSlot CCalibrationTable::GetSlot(int index) const
{
    return Scaling(index).Apply(m_slots[Clamped(index)]);
}

void CCalibrationTable::SetSlot(int index, const CCalibrationSlot& slot)
{
    if (index < 0 || index >= kSlotCount)
        return;
    m_slots[index] = slot;
    // Whatever the user did to the slot, they did it looking at this picture.
    if (!m_captureSize.isEmpty())
        m_madeAt[index] = m_captureSize;
}

void CCalibrationTable::SetCaptureSize(QSize size)
{
    m_captureSize = size.isEmpty() ? QSize() : size;
}

void CCalibrationTable::AdoptCaptureSize()
{
    if (m_captureSize.isEmpty())
        return;
    for (int n = 0; n < kSlotCount; ++n) {
        if (!m_madeAt[n].isValid() && m_slots[n].HasUsableScale())
            m_madeAt[n] = m_captureSize;
    }
}

CCalibrationSlot CCalibrationTable::StoredSlot(int index) const
{
    return m_slots[Clamped(index)];
}

QSize CCalibrationTable::MadeAt(int index) const
{
    return m_madeAt[Clamped(index)];
}

CCalibrationScaling CCalibrationTable::Scaling(int index) const
{
    return CCalibrationScaling::Between(m_madeAt[Clamped(index)], m_captureSize);
}

QString CCalibrationTable::SlotName(int index) const
{
    return m_names[Clamped(index)];
}

void CCalibrationTable::SetSlotName(int index, const QString& name)
{
    if (index >= 0 && index < kSlotCount)
        m_names[index] = CleanName(name);
}

QString CCalibrationTable::CleanName(const QString& name)
{
    QString clean;
    for (const QChar c : name)
        clean += c.isPrint() ? c : QChar(u' ');
    return clean.simplified().left(kMaxNameLength);
}

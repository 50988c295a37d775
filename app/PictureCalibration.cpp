#include "app/PictureCalibration.h"

#include "calibration/CalibrationStatus.h"
#include "calibration/CalibrationTable.h"

namespace {
// Where the dialog's Reset puts the reference bars.
constexpr uint32_t kReferenceLow = 100;
constexpr uint32_t kReferenceHigh = 300;
} // namespace

CPictureCalibration::CPictureCalibration(CCalibrationTable& table, ApplyHook apply)
    : m_table(table), m_apply(std::move(apply))
{
}

void CPictureCalibration::PictureOpened(const CPictureScale& scale)
{
    CCalibrationSlot slot;
    if (!ToSlot(scale, slot)) {
        UseTable();
        return;
    }
    m_bFromFile = true;
    m_fileSlot = slot;
    if (m_apply)
        m_apply(slot);
}

void CPictureCalibration::UseSlot(const CCalibrationSlot& slot)
{
    m_bFromFile = false;
    if (m_apply)
        m_apply(slot);
}

void CPictureCalibration::UseTable()
{
    const bool wasFromFile = m_bFromFile;
    m_bFromFile = false;
    // Only a change of scale needs the drawing told; the table's slot is already in use.
    if (wasFromFile && m_apply)
        m_apply(m_table.GetCurSlot());
}

CCalibrationSlot CPictureCalibration::Active() const
{
    return m_bFromFile ? m_fileSlot : m_table.GetCurSlot();
}

CPictureScale CPictureCalibration::ActiveScale() const
{
    return ToPictureScale(Active());
}

QString CPictureCalibration::Describe(Describer describe) const
{
    if (m_bFromFile)
        return describe(m_fileSlot, CCalibrationStatus::kFromFile, {}, {});
    const int index = m_table.CurrentIndex();
    return describe(Active(), index, m_table.SlotName(index), m_table.Scaling(index));
}

QString CPictureCalibration::StatusText() const
{
    return Describe(&CCalibrationStatus::Text);
}

QString CPictureCalibration::CsvLine() const
{
    return Describe(&CCalibrationStatus::CsvLine);
}

bool CPictureCalibration::StoreInSlot(int index)
{
    if (!m_bFromFile || index < 0 || index >= CCalibrationTable::kSlotCount)
        return false;
    m_table.SetSlot(index, m_fileSlot);
    m_table.SetCurrentIndex(index);
    UseSlot(m_fileSlot);
    return true;
}

CPictureScale CPictureCalibration::ToPictureScale(const CCalibrationSlot& slot)
{
    CPictureScale scale;
    if (!slot.HasUsableScale() || slot.xPerPixel < 0 || slot.yPerPixel < 0)
        return scale;
    scale.unit = CCalibrationSlot::UnitName(slot.unit);
    scale.xPerPixel = slot.xPerPixel;
    scale.yPerPixel = slot.yPerPixel;
    return scale.IsValid() ? scale : CPictureScale();
}

bool CPictureCalibration::ToSlot(const CPictureScale& scale, CCalibrationSlot& slot)
{
    if (!scale.IsValid())
        return false;
    int unit = -1;
    for (int i = 0; i < CCalibrationSlot::kUnitCount; ++i) {
        if (CCalibrationSlot::UnitName(i) == scale.unit)
            unit = i;
    }
    if (unit < 0)
        return false;
    slot = CCalibrationSlot();
    slot.unit = unit;
    slot.left = slot.top = kReferenceLow;
    slot.right = slot.bottom = kReferenceHigh;
    slot.xLength = scale.xPerPixel * (kReferenceHigh - kReferenceLow);
    slot.yLength = scale.yPerPixel * (kReferenceHigh - kReferenceLow);
    slot.xPerPixel = scale.xPerPixel;
    slot.yPerPixel = scale.yPerPixel;
    return true;
}

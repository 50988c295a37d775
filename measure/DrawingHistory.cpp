#include "measure/DrawingHistory.h"

#include "measure/MeasureShape.h"
#include "measure/PictureRescale.h"
#include "measure/TextLabel.h"

#include <cmath>

namespace {
bool SameNumber(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}
} // namespace

bool SameCalibration(const CCalibrationSlot& a, const CCalibrationSlot& b)
{
    return a.unit == b.unit && SameNumber(a.xPerPixel, b.xPerPixel)
            && SameNumber(a.yPerPixel, b.yPerPixel) && SameNumber(a.xLength, b.xLength)
            && SameNumber(a.yLength, b.yLength) && a.left == b.left && a.right == b.right
            && a.top == b.top && a.bottom == b.bottom;
}

CDrawingState::CDrawingState() = default;
CDrawingState::~CDrawingState() = default;
CDrawingState::CDrawingState(CDrawingState&&) noexcept = default;
CDrawingState& CDrawingState::operator=(CDrawingState&&) noexcept = default;

bool CDrawingState::SameAs(const CDrawingState& other) const
{
    return key == other.key && words == other.words && crossLines == other.crossLines
            && SameCalibration(calibration, other.calibration);
}

void CDrawingState::Rescale(const CPictureRescale& map)
{
    // The key is laid out as the manager lays it out: the shapes, -1, the texts.
    key.clear();
    for (const auto& shape : shapes) {
        shape->Rescale(map);
        shape->AppendState(key);
    }
    key.push_back(-1);
    for (const auto& text : texts) {
        text->Rescale(map);
        text->AppendState(key);
    }
    for (CCrossLine& line : crossLines)
        line.Rescale(map);
}

CDrawingHistory::CDrawingHistory()
{
    m_states.emplace_back();
}

void CDrawingHistory::Reset(CDrawingState state)
{
    m_states.clear();
    m_states.push_back(std::move(state));
    m_current = 0;
    m_openTag = 0;
}

bool CDrawingHistory::IsCurrent(const CDrawingState& probe) const
{
    return Current().SameAs(probe);
}

void CDrawingHistory::RescaleStates(const CPictureRescale& map)
{
    for (CDrawingState& state : m_states)
        state.Rescale(map);
}

void CDrawingHistory::ConvertCalibrations(
        const std::function<CCalibrationSlot(const CCalibrationSlot&)>& convert,
        const CCalibrationSlot& now)
{
    for (CDrawingState& state : m_states)
        state.calibration = convert(state.calibration);
    m_states[m_current].calibration = now;
}

bool CDrawingHistory::Record(CDrawingState state, uint64_t tag)
{
    if (IsCurrent(state))
        return false;
    m_states.erase(m_states.begin() + static_cast<std::ptrdiff_t>(m_current) + 1, m_states.end());
    if (tag != 0 && tag == m_openTag && m_current > 0) {
        m_states[m_current] = std::move(state);
        // Back where the run of steps began: the run undid itself.
        if (m_states[m_current].SameAs(m_states[m_current - 1])) {
            m_states.pop_back();
            --m_current;
            m_openTag = 0;
        }
        return true;
    }
    m_states.push_back(std::move(state));
    if (m_states.size() > static_cast<size_t>(kMaxSteps) + 1)
        m_states.pop_front();
    m_current = m_states.size() - 1;
    m_openTag = tag;
    return true;
}

const CDrawingState* CDrawingHistory::Undo()
{
    if (!CanUndo())
        return nullptr;
    m_openTag = 0;
    return &m_states[--m_current];
}

const CDrawingState* CDrawingHistory::Redo()
{
    if (!CanRedo())
        return nullptr;
    m_openTag = 0;
    return &m_states[++m_current];
}

#pragma once

#include "calibration/CalibrationSlot.h"
#include "measure/CrossLine.h"

#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class CMeasureShape;
class CPictureRescale;
class CTextLabel;

// Field by field, a scale that is not a number equal to another: a slot never calibrated
// divides zero by zero, and must not look changed every time it is compared.
bool SameCalibration(const CCalibrationSlot& a, const CCalibrationSlot& b);

// One state of the drawing: copies of the finished shapes and of the free texts, the cross
// lines, and the calibration the drawing measures with (the reference rectangle included).
struct CDrawingState
{
    CDrawingState();
    ~CDrawingState();
    CDrawingState(CDrawingState&&) noexcept;
    CDrawingState& operator=(CDrawingState&&) noexcept;

    std::vector<std::unique_ptr<CMeasureShape>> shapes;
    std::vector<std::unique_ptr<CTextLabel>> texts;
    std::vector<CCrossLine> crossLines;
    CCalibrationSlot calibration;
    // What tells two states apart without walking the copies: the numbers of the shapes and
    // texts in order, and the free texts' words.
    std::vector<int64_t> key;
    QStringList words;

    // Everything but the copies is equal.
    bool SameAs(const CDrawingState& other) const;
    // Moves the copies and the cross lines, and the key with them.
    void Rescale(const CPictureRescale& map);
};

// Undo and redo over whole states of the drawing. The first state is where the session
// began; each later one is a step. Only the newest kMaxSteps steps are kept.
class CDrawingHistory
{
public:
    static constexpr int kMaxSteps = 200;

    CDrawingHistory();

    // Starts over from this state: nothing to undo or redo.
    void Reset(CDrawingState state);
    // Whether a probe (copies not needed) equals the current state.
    bool IsCurrent(const CDrawingState& probe) const;
    // A new step unless the state equals the current one; the steps that could be redone are
    // dropped. A step with the same non-zero tag as the step recorded just before replaces
    // that step, so a held arrow key or a spin box makes one step.
    bool Record(CDrawingState state, uint64_t tag = 0);

    bool CanUndo() const { return m_current > 0; }
    bool CanRedo() const { return m_current + 1 < m_states.size(); }
    int UndoCount() const { return static_cast<int>(m_current); }
    int RedoCount() const { return static_cast<int>(m_states.size() - m_current - 1); }
    // One step back or forward; null when there is none. The state stays in the history.
    const CDrawingState* Undo();
    const CDrawingState* Redo();
    const CDrawingState& Current() const { return m_states[m_current]; }
    // The live picture arrives at another size: every state's drawing is laid over it as the
    // drawing itself is, so an undo brings back nothing in the old size's pixels.
    void RescaleStates(const CPictureRescale& map);
    // The picture is measured at another size: every state's scale is converted alike, so
    // an undo never brings back a scale meant for the old size; the current state takes now.
    void ConvertCalibrations(
            const std::function<CCalibrationSlot(const CCalibrationSlot&)>& convert,
            const CCalibrationSlot& now);

private:
    std::deque<CDrawingState> m_states;
    size_t m_current = 0;
    uint64_t m_openTag = 0; // the tag of the newest step while it may still take more
};

#include "measure/DrawingCore.h"

#include "measure/CalibrationRuler.h"
#include "measure/MeasureShape.h"
#include "measure/PictureRescale.h"
#include "measure/TextLabel.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <ranges>
#include <utility>

namespace {

uint32_t MonotonicMilliseconds()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::unique_ptr<CTextLabel> CloneText(const CTextLabel& text)
{
    return std::unique_ptr<CTextLabel>(static_cast<CTextLabel*>(text.Clone().release()));
}

} // namespace

CDrawingCore::CEventScope::CEventScope(CDrawingCore& drawing) : m_drawing(drawing)
{
    if (m_drawing.m_eventDepth++ == 0)
        m_drawing.m_eventId = m_drawing.NextShapeId();
}

CDrawingCore::CEventScope::~CEventScope()
{
    if (--m_drawing.m_eventDepth == 0) {
        m_drawing.m_eventId = 0;
        m_drawing.m_retired.clear();
    }
}

CDrawingCore::CDrawingCore()
{
    m_calibration.unit = 0;
    m_calibration.xPerPixel = 0.2;
    m_calibration.yPerPixel = 0.2;
    m_calibration.xLength = 10.0;
    m_calibration.yLength = 10.0;
    const QFontMetrics metrics(QGuiApplication::font());
    m_hitCharSize = QSize(metrics.averageCharWidth(), metrics.height());
    m_history.Reset(CaptureLocked());
}

CDrawingCore::~CDrawingCore() = default;

uint32_t CDrawingCore::NextShapeId()
{
    if (m_eventId != 0)
        return m_eventId;
    // Distinct events get distinct ids even within one millisecond, so a row id names one shape.
    const uint32_t now = MonotonicMilliseconds();
    m_lastId = now > m_lastId ? now : m_lastId + 1;
    return m_lastId;
}

int CDrawingCore::FindShapeLocked(uint32_t id) const
{
    for (int i = 0; i < static_cast<int>(m_shapes.size()); ++i) {
        if (m_shapes[i]->Id() == id)
            return i;
    }
    return -1;
}

void CDrawingCore::RemoveShapeAt(int index)
{
    std::unique_ptr<CMeasureShape> shape = std::move(m_shapes[index]);
    m_shapes.erase(m_shapes.begin() + index);
    shape->Invalidate();
    Retire(std::move(shape));
}

void CDrawingCore::DetachShape(CMeasureShape* shape)
{
    for (int i = 0; i < static_cast<int>(m_shapes.size()); ++i) {
        if (m_shapes[i].get() == shape) {
            std::unique_ptr<CMeasureShape> owned = std::move(m_shapes[i]);
            m_shapes.erase(m_shapes.begin() + i);
            Retire(std::move(owned));
            return;
        }
    }
}

void CDrawingCore::Retire(std::unique_ptr<CMeasureShape> shape)
{
    if (m_eventDepth > 0)
        m_retired.push_back(std::move(shape));
}

void CDrawingCore::ClearSelectionLocked()
{
    // A press on the picture also ends a row's highlight: the press decides what is in hand.
    std::function<void(CMeasureShape&)> plain = [&plain](CMeasureShape& shape) {
        shape.SetHighlighted(false);
        for (int c = 0; c < shape.ChildCount(); ++c)
            plain(*shape.Child(c));
    };
    for (const auto& shape : m_shapes) {
        shape->SetSelected(false);
        plain(*shape);
    }
}

// ---- History ----

void CDrawingCore::ForgetSelection()
{
    m_selectedShape = 0;
    m_selectedPart = 0;
    m_selectedText = 0;
}

void CDrawingCore::KeepSelectionIfPresent()
{
    const int index = m_selectedShape ? FindShapeLocked(m_selectedShape) : -1;
    bool present = m_selectedText ? FindTextLocked(m_selectedText) >= 0 : index >= 0;
    if (index >= 0 && m_selectedPart != 0) {
        const CMeasureShape& shape = *m_shapes[index];
        present = false;
        for (int c = 0; c < shape.ChildCount(); ++c)
            present |= shape.Child(c)->Id() == m_selectedPart;
    }
    if (!present)
        ForgetSelection();
}

CDrawingState CDrawingCore::ProbeLocked() const
{
    CDrawingState state;
    for (const auto& shape : m_shapes) {
        if (shape->Settled())
            shape->AppendState(state.key);
    }
    state.key.push_back(-1); // the texts begin
    for (const auto& text : m_texts) {
        text->AppendState(state.key);
        state.words << text->Text();
    }
    state.crossLines = m_crossLines;
    state.calibration = CalibrationLocked();
    return state;
}

void CDrawingCore::CommitLocked(uint64_t tag)
{
    // A drag ends with the release; a group with its outermost end.
    if (m_bButtonDown || m_stepDepth > 0)
        return;
    // Copies are made only for a state that differs.
    if (!m_history.IsCurrent(ProbeLocked()))
        m_history.Record(CaptureLocked(), tag);
}

CDrawingState CDrawingCore::CaptureLocked() const
{
    CDrawingState state = ProbeLocked();
    for (const auto& shape : m_shapes) {
        if (shape->Settled())
            state.shapes.push_back(shape->Clone());
    }
    for (const auto& text : m_texts)
        state.texts.push_back(CloneText(*text));
    return state;
}

bool CDrawingCore::HasWorkInProgressLocked() const
{
    return std::ranges::any_of(m_shapes, [](const auto& shape) { return !shape->Settled(); });
}

bool CDrawingCore::HasWorkInProgress() const
{
    Lock lock(m_mutex);
    return HasWorkInProgressLocked();
}

bool CDrawingCore::RestoreLocked(const CDrawingState& state)
{
    for (auto& shape : m_shapes)
        Retire(std::move(shape));
    m_shapes.clear();
    for (auto& text : m_texts)
        Retire(std::move(text));
    m_texts.clear();
    // Only the baseline tool keeps drawing on a shape of an earlier step.
    const bool baselineTool = m_bResumesOpenShapes;
    for (const auto& shape : state.shapes) {
        m_shapes.push_back(shape->Clone());
        m_shapes.back()->SetSelected(false);
        m_shapes.back()->SetHighlighted(false);
        if (!baselineTool)
            m_shapes.back()->SetInConstruction(false);
    }
    for (const auto& text : state.texts)
        m_texts.push_back(CloneText(*text));
    m_crossLines = state.crossLines;
    // What was selected stays so while it is there: undoing a nudge leaves it in hand.
    KeepSelectionIfPresent();
    const bool calibrationChanged = !SameCalibration(CalibrationLocked(), state.calibration);
    if (calibrationChanged) {
        m_calibration = state.calibration;
        EnsureRuler();
        m_ruler->SetRect(static_cast<int>(state.calibration.left),
                static_cast<int>(state.calibration.top), static_cast<int>(state.calibration.right),
                static_cast<int>(state.calibration.bottom));
    }
    InvalidateAll();
    return calibrationChanged;
}

bool CDrawingCore::StepHistory(bool forward)
{
    CalibrationRestoredHook hook;
    CCalibrationSlot calibration;
    CCalibrationSlot replaced;
    {
        Lock lock(m_mutex);
        if (m_bButtonDown || m_stepDepth > 0)
            return false;
        replaced = CalibrationLocked();
        bool calibrationChanged = false;
        if (!forward && HasWorkInProgressLocked()) {
            // The shape being drawn goes first, as the tool's own cancel would drop it.
            CommitLocked();
            calibrationChanged = RestoreLocked(m_history.Current());
        } else {
            // A change not yet recorded (the reference placed when shown) is a step too.
            if (!forward)
                CommitLocked();
            const CDrawingState* state = forward ? m_history.Redo() : m_history.Undo();
            if (!state)
                return false;
            calibrationChanged = RestoreLocked(*state);
        }
        if (calibrationChanged) {
            hook = m_calibrationRestored;
            calibration = CalibrationLocked();
        }
    }
    if (hook)
        hook(calibration, replaced);
    return true;
}

bool CDrawingCore::Undo()
{
    return StepHistory(false);
}

bool CDrawingCore::Redo()
{
    return StepHistory(true);
}

bool CDrawingCore::CanUndo() const
{
    Lock lock(m_mutex);
    return m_history.CanUndo() || HasWorkInProgressLocked();
}

bool CDrawingCore::CanRedo() const
{
    Lock lock(m_mutex);
    return m_history.CanRedo();
}

void CDrawingCore::ResetHistory()
{
    Lock lock(m_mutex);
    m_history.Reset(CaptureLocked());
}

void CDrawingCore::BeginStep()
{
    Lock lock(m_mutex);
    ++m_stepDepth;
}

void CDrawingCore::EndStep()
{
    Lock lock(m_mutex);
    if (m_stepDepth > 0 && --m_stepDepth == 0)
        CommitLocked();
}

void CDrawingCore::SetCalibrationRestoredHook(CalibrationRestoredHook hook)
{
    Lock lock(m_mutex);
    m_calibrationRestored = std::move(hook);
}

void CDrawingCore::SetToolResumesOpenShapes(bool resumes)
{
    Lock lock(m_mutex);
    m_bResumesOpenShapes = resumes;
}

// ---- View ----

void CDrawingCore::SetPan(int x, int y)
{
    Lock lock(m_mutex);
    if (x == m_view.panX && y == m_view.panY)
        return;
    m_view.panX = x;
    m_view.panY = y;
    for (const auto& shape : m_shapes)
        shape->Invalidate();
}

QPoint CDrawingCore::Pan() const
{
    Lock lock(m_mutex);
    return { m_view.panX, m_view.panY };
}

float CDrawingCore::SetZoom(float zoom)
{
    Lock lock(m_mutex);
    const float previous = m_view.zoom;
    m_view.zoom = zoom;
    InvalidateAll();
    return previous;
}

float CDrawingCore::Zoom() const
{
    Lock lock(m_mutex);
    return m_view.zoom;
}

QPoint CDrawingCore::WindowToImage(QPoint window) const
{
    Lock lock(m_mutex);
    return m_view.WindowToImage(window);
}

void CDrawingCore::SetClientSize(QSize size)
{
    Lock lock(m_mutex);
    m_clientSize = size;
}

QSize CDrawingCore::ClientSize() const
{
    Lock lock(m_mutex);
    return m_clientSize;
}

void CDrawingCore::SetInvalidateHook(std::function<void(const QRect&)> hook)
{
    Lock lock(m_mutex);
    m_invalidate = std::move(hook);
}

void CDrawingCore::SetChangeHook(std::function<void()> hook)
{
    Lock lock(m_mutex);
    m_mutex.changed = std::move(hook);
}

void CDrawingCore::InvalidateWindowRect(const QRect& rect)
{
    if (m_invalidate && !rect.isEmpty())
        m_invalidate(rect);
}

void CDrawingCore::InvalidateAll()
{
    if (m_invalidate)
        m_invalidate(QRect());
}

// ---- Calibration ----

void CDrawingCore::EnsureRuler()
{
    if (!m_ruler)
        m_ruler = std::make_unique<CCalibrationRuler>(this);
}

void CDrawingCore::SetCalibrationLocked(const CCalibrationSlot& slot)
{
    // Kept, not rebuilt: this also runs right after a drag step of the reference.
    EnsureRuler();
    m_ruler->SetRect(static_cast<int>(slot.left), static_cast<int>(slot.top),
            static_cast<int>(slot.right), static_cast<int>(slot.bottom));
    m_calibration.unit = slot.unit;
    m_calibration.xPerPixel = slot.xPerPixel;
    m_calibration.yPerPixel = slot.yPerPixel;
    m_calibration.xLength = slot.xLength;
    m_calibration.yLength = slot.yLength;
    InvalidateAll();
    PlaceRulerIfUnusable();
}

void CDrawingCore::SetCalibration(const CCalibrationSlot& slot)
{
    {
        Lock lock(m_mutex);
        // A length typed into the Calibration dialog arrives at every keystroke: the run of
        // one length, with the reference and the unit as they were, is one step.
        const CCalibrationSlot before = CalibrationLocked();
        const bool sameReference = before.left == slot.left && before.right == slot.right
                && before.top == slot.top && before.bottom == slot.bottom
                && before.unit == slot.unit;
        const bool xTyped = slot.xLength != before.xLength;
        const bool yTyped = slot.yLength != before.yLength;
        uint64_t tag = 0;
        if (sameReference && xTyped != yTyped)
            tag = Tag(StepTag::TypeLength, xTyped ? 1 : 2);
        SetCalibrationLocked(slot);
        CommitLocked(tag);
    }
    NotifyCalibrationMoved();
}

void CDrawingCore::ConvertCalibration(const CCalibrationSlot& slot,
        const std::function<CCalibrationSlot(const CCalibrationSlot&)>& convert)
{
    {
        Lock lock(m_mutex);
        SetCalibrationLocked(slot);
        m_history.ConvertCalibrations(convert, CalibrationLocked());
    }
    NotifyCalibrationMoved();
}

void CDrawingCore::SetDirectedAngles(bool directed)
{
    Lock lock(m_mutex);
    m_bDirectedAngles = directed;
    InvalidateAll();
}

void CDrawingCore::EnableCalibrationRuler(bool on)
{
    {
        Lock lock(m_mutex);
        EnsureRuler();
        m_ruler->SetActive(on);
        m_ruler->Invalidate();
        PlaceRulerIfUnusable();
        CommitLocked();
    }
    NotifyCalibrationMoved();
}

QSize CDrawingCore::PictureSize() const
{
    Lock lock(m_mutex);
    return PictureSizeLocked();
}

QSize CDrawingCore::PictureSizeLocked() const
{
    // The canvas is the picture at the zoom.
    if (m_clientSize.isEmpty() || m_view.zoom <= 0.0f)
        return {};
    return { qRound(m_clientSize.width() / m_view.zoom),
        qRound(m_clientSize.height() / m_view.zoom) };
}

void CDrawingCore::PlaceRulerIfUnusable()
{
    // A slot never calibrated (a first start) has all its ends at 0: a dot in the corner that
    // cannot be grabbed. Shown, the reference goes to the middle of the picture instead, and
    // the slot in use learns the new place as after a drag step.
    if (!m_ruler || !m_ruler->IsActive() || m_ruler->HasExtent())
        return;
    m_ruler->PlaceCentred(PictureSizeLocked());
    m_ruler->Invalidate();
    CalibrationRulerMoved();
}

bool CDrawingCore::CalibrationRulerEnabled() const
{
    Lock lock(m_mutex);
    return m_ruler && m_ruler->IsActive();
}

CCalibrationSlot CDrawingCore::GetCalibration() const
{
    Lock lock(m_mutex);
    return CalibrationLocked();
}

CCalibrationSlot CDrawingCore::CalibrationLocked() const
{
    CCalibrationSlot slot = m_calibration;
    if (m_ruler) {
        slot.left = static_cast<uint32_t>(m_ruler->Left());
        slot.right = static_cast<uint32_t>(m_ruler->Right());
        slot.top = static_cast<uint32_t>(m_ruler->Top());
        slot.bottom = static_cast<uint32_t>(m_ruler->Bottom());
    }
    return slot;
}

void CDrawingCore::SetCalibrationMovedHook(std::function<void()> hook)
{
    Lock lock(m_mutex);
    m_calibrationMoved = std::move(hook);
}

void CDrawingCore::CalibrationRulerMoved()
{
    // The scale first, by the slot's own rule, so the slot in use, the dialog's status and
    // the labels all show the values of this step.
    if (m_ruler) {
        CCalibrationSlot moved = m_calibration;
        moved.left = static_cast<uint32_t>(m_ruler->Left());
        moved.right = static_cast<uint32_t>(m_ruler->Right());
        moved.top = static_cast<uint32_t>(m_ruler->Top());
        moved.bottom = static_cast<uint32_t>(m_ruler->Bottom());
        moved.ApplyScaleRule();
        m_calibration.xPerPixel = moved.xPerPixel;
        m_calibration.yPerPixel = moved.yPerPixel;
        InvalidateAll();
    }
    // Told once the lock is given up: the listener reads and writes the calibration back.
    m_bCalibrationMovedPending = true;
}

void CDrawingCore::NotifyCalibrationMoved()
{
    std::function<void()> hook;
    {
        Lock lock(m_mutex);
        if (!m_bCalibrationMovedPending)
            return;
        m_bCalibrationMovedPending = false;
        hook = m_calibrationMoved;
    }
    if (hook)
        hook();
}

double CDrawingCore::ScaleX() const
{
    return m_calibration.HasUsableScale() ? m_calibration.xPerPixel : 1.0;
}

double CDrawingCore::ScaleY() const
{
    return m_calibration.HasUsableScale() ? m_calibration.yPerPixel : 1.0;
}

QString CDrawingCore::UnitText() const
{
    return m_calibration.HasUsableScale() ? CCalibrationSlot::UnitName(m_calibration.unit)
                                          : QStringLiteral("px");
}

int CDrawingCore::FindTextLocked(uint32_t id) const
{
    for (int i = 0; i < static_cast<int>(m_texts.size()); ++i) {
        if (m_texts[i]->Id() == id)
            return i;
    }
    return -1;
}

void CDrawingCore::DeleteTextLocked(int index)
{
    if (index < 0 || index >= static_cast<int>(m_texts.size()))
        return;
    m_texts[index]->Invalidate();
    if (m_eventDepth > 0)
        m_retired.push_back(std::move(m_texts[index]));
    m_texts.erase(m_texts.begin() + index);
}

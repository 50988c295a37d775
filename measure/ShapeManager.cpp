#include "measure/ShapeManager.h"

#include "base/Trace.h"
#include "measure/CalibrationRuler.h"
#include "measure/AreaShape.h"
#include "measure/Angle3Shape.h"
#include "measure/Angle4Shape.h"
#include "measure/CircleShape.h"
#include "measure/DistanceCircleShape.h"
#include "measure/DistanceShape.h"
#include "measure/FrameRasteriser.h"
#include "measure/LineShape.h"
#include "measure/PictureRescale.h"
#include "measure/PerpendicularShape.h"
#include "measure/TextLabel.h"
#include "measure/VerticalLinesShape.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <QThread>

#include <chrono>
#include <cmath>
#include <algorithm>
#include <ranges>
#include <cstring>
#include <utility>

namespace {

constexpr uint32_t kDefaultLineColour = 0x00FF00;

uint32_t MonotonicMilliseconds()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Raw pointers of a list, so handlers may remove entries while it is walked.
template <class T> std::vector<T*> Snapshot(const std::vector<std::unique_ptr<T>>& list)
{
    std::vector<T*> out;
    out.reserve(list.size());
    for (const auto& entry : list)
        out.push_back(entry.get());
    return out;
}

template <class T> std::vector<T*> Reversed(std::vector<T*> list)
{
    std::reverse(list.begin(), list.end());
    return list;
}

// Steps that a run of the same change merges into one: a held arrow key, a spin box.
enum class StepTag : uint64_t { MoveShape = 1, MoveText, CrossLine, EditText, TypeLength };

uint64_t Tag(StepTag kind, uint32_t value)
{
    return static_cast<uint64_t>(kind) << 32 | value;
}

// A shape is in the history once it is finished; a baseline still taking perpendiculars
// counts from its first one on, as a change of tool keeps it then.
bool Settled(const CMeasureShape& shape)
{
    if (!shape.InConstruction())
        return true;
    return shape.Kind() == KindVerticalLines && shape.ChildCount() > 0;
}

std::unique_ptr<CTextLabel> CloneText(const CTextLabel& text)
{
    return std::unique_ptr<CTextLabel>(static_cast<CTextLabel*>(text.Clone().release()));
}

void PreparePainter(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackgroundMode(Qt::TransparentMode);
}

} // namespace

// Shapes built while one mouse event is handled share its id; shapes retired meanwhile are
// destroyed only when the outermost event is done, as their handlers may still be running.
class CShapeManagerEvent
{
public:
    explicit CShapeManagerEvent(CShapeManager& manager, uint32_t& eventId, int& depth,
            std::vector<std::unique_ptr<CMeasureShape>>& retired)
        : m_eventId(eventId), m_depth(depth), m_retired(retired)
    {
        if (m_depth++ == 0)
            m_eventId = manager.NextShapeId();
    }
    ~CShapeManagerEvent()
    {
        if (--m_depth == 0) {
            m_eventId = 0;
            m_retired.clear();
        }
    }

private:
    uint32_t& m_eventId;
    int& m_depth;
    std::vector<std::unique_ptr<CMeasureShape>>& m_retired;
};

#define KALVEX_EVENT_SCOPE CShapeManagerEvent eventScope(*this, m_eventId, m_eventDepth, m_retired)

CShapeManager::CShapeManager()
{
    m_shapePen = QPen(
            ColorRefToQColor(kDefaultLineColour), 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    m_calibration.unit = 0;
    m_calibration.xPerPixel = 0.2;
    m_calibration.yPerPixel = 0.2;
    m_calibration.xLength = 10.0;
    m_calibration.yLength = 10.0;
    m_settings = CColorSetting();
    m_labelFont = QGuiApplication::font();
    const QFontMetrics metrics(QGuiApplication::font());
    m_hitCharSize = QSize(metrics.averageCharWidth(), metrics.height());
    m_history.Reset(CaptureLocked());
}

CShapeManager::~CShapeManager() = default;

uint32_t CShapeManager::NextShapeId()
{
    if (m_eventId != 0)
        return m_eventId;
    // Distinct events get distinct ids even within one millisecond, so a row id names one shape.
    const uint32_t now = MonotonicMilliseconds();
    m_lastId = now > m_lastId ? now : m_lastId + 1;
    return m_lastId;
}

// ---- Shapes ----

CMeasureShape* CShapeManager::CreateShape(int kind)
{
    Lock lock(m_mutex);
    return CreateShapeLocked(kind);
}

CMeasureShape* CShapeManager::CreateShapeLocked(int kind)
{
    std::unique_ptr<CMeasureShape> shape;
    switch (kind) {
    case KindLine:
        shape = std::make_unique<CLineShape>(this);
        break;
    case KindAngle3:
        shape = std::make_unique<CAngle3Shape>(this);
        break;
    case KindAngle4:
        shape = std::make_unique<CAngle4Shape>(this);
        break;
    case KindArea:
        shape = std::make_unique<CAreaShape>(this);
        break;
    case KindCircle:
        shape = std::make_unique<CCircleShape>(this);
        break;
    case KindDistance:
        shape = std::make_unique<CDistanceShape>(this);
        break;
    case KindVerticalLines:
        shape = std::make_unique<CVerticalLinesShape>(this);
        break;
    case KindCalibrationRuler:
        // The reference is one per manager and is drawn last, never listed as a result.
        EnsureRuler();
        return m_ruler.get();
    case KindTextLabel:
        shape = std::make_unique<CTextLabel>(this, QPoint());
        break;
    default:
        return nullptr;
    }
    m_shapes.push_back(std::move(shape));
    return m_shapes.back().get();
}

int CShapeManager::FindShape(uint32_t id) const
{
    Lock lock(m_mutex);
    return FindShapeLocked(id);
}

int CShapeManager::FindShapeLocked(uint32_t id) const
{
    for (int i = 0; i < static_cast<int>(m_shapes.size()); ++i) {
        if (m_shapes[i]->Id() == id)
            return i;
    }
    return -1;
}

void CShapeManager::RemoveShapeAt(int index)
{
    std::unique_ptr<CMeasureShape> shape = std::move(m_shapes[index]);
    m_shapes.erase(m_shapes.begin() + index);
    shape->Invalidate();
    Retire(std::move(shape));
}

void CShapeManager::RemoveShape(uint32_t id)
{
    Lock lock(m_mutex);
    const int index = FindShapeLocked(id);
    if (index >= 0 && m_shapes[index]->Kind() != KindCalibrationRuler)
        RemoveShapeAt(index);
    CommitLocked();
}

void CShapeManager::DetachShape(CMeasureShape* shape)
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

void CShapeManager::Retire(std::unique_ptr<CMeasureShape> shape)
{
    if (m_eventDepth > 0)
        m_retired.push_back(std::move(shape));
}

bool CShapeManager::FindRow(uint32_t rowId, int& shapeIndex, CMeasureShape*& perpendicular) const
{
    for (int i = 0; i < static_cast<int>(m_shapes.size()); ++i) {
        const CMeasureShape& shape = *m_shapes[i];
        for (int c = 0; c < shape.ChildCount(); ++c) {
            CMeasureShape* child = shape.Child(c);
            if (child->Kind() == KindPerpendicular) {
                for (int l = 0; l < child->ChildCount(); ++l) {
                    if (child->Child(l)->Id() == rowId) {
                        shapeIndex = i;
                        perpendicular = child;
                        return true;
                    }
                }
            } else if (child->Id() == rowId) {
                shapeIndex = i;
                perpendicular = nullptr;
                return true;
            }
        }
    }
    return false;
}

void CShapeManager::RemoveByRowId(uint32_t rowId)
{
    Lock lock(m_mutex);
    KALVEX_EVENT_SCOPE;
    int index = -1;
    CMeasureShape* perpendicular = nullptr;
    if (!FindRow(rowId, index, perpendicular))
        return;
    CMeasureShape* shape = m_shapes[index].get();
    if (perpendicular && shape->ChildCount() > 1) {
        perpendicular->Invalidate();
        shape->DetachChild(perpendicular);
    } else {
        RemoveShapeAt(index);
    }
    CommitLocked();
}

void CShapeManager::RemoveAll()
{
    Lock lock(m_mutex);
    KALVEX_EVENT_SCOPE;
    while (!m_shapes.empty()) {
        m_retired.push_back(std::move(m_shapes.back()));
        m_shapes.pop_back();
    }
    InvalidateAll();
    CommitLocked();
}

void CShapeManager::CancelUnfinished()
{
    Lock lock(m_mutex);
    KALVEX_EVENT_SCOPE;
    for (int i = static_cast<int>(m_shapes.size()) - 1; i >= 0; --i) {
        const CMeasureShape& shape = *m_shapes[i];
        if (!shape.InConstruction())
            continue;
        switch (shape.Kind()) {
        case KindLine:
        case KindAngle3:
        case KindAngle4:
        case KindArea:
        case KindCircle:
        case KindDistance:
            RemoveShapeAt(i);
            break;
        case KindVerticalLines:
            if (shape.ChildCount() == 0) {
                qCDebug(lcTrace, "Remove vertlines");
                RemoveShapeAt(i);
            }
            break;
        default:
            break;
        }
    }
    CommitLocked();
}

void CShapeManager::FinishVerticalLines()
{
    Lock lock(m_mutex);
    for (const auto& shape : m_shapes) {
        if (shape->Kind() == KindVerticalLines)
            shape->SetInConstruction(false);
    }
    CommitLocked();
}

void CShapeManager::HighlightByRowId(uint32_t rowId, bool on)
{
    Lock lock(m_mutex);
    int index = -1;
    CMeasureShape* perpendicular = nullptr;
    if (!FindRow(rowId, index, perpendicular))
        return;
    if (perpendicular)
        perpendicular->SetHighlighted(on);
    else
        m_shapes[index]->SetHighlighted(on);
}

void CShapeManager::ClearSelection()
{
    Lock lock(m_mutex);
    ClearSelectionLocked();
}

void CShapeManager::ClearSelectionLocked()
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

int CShapeManager::ShapeCount() const
{
    Lock lock(m_mutex);
    return static_cast<int>(m_shapes.size());
}

CMeasureShape* CShapeManager::ShapeAt(int index) const
{
    Lock lock(m_mutex);
    return index >= 0 && index < static_cast<int>(m_shapes.size()) ? m_shapes[index].get()
                                                                   : nullptr;
}

void CShapeManager::ResultRowsOf(const CMeasureShape& shape, std::vector<CResultRow>& rows) const
{
    const QString unit = UnitText();
    auto row = [&rows](uint32_t id, const char* type, const QString& result,
                       const QString& rowUnit) {
        rows.push_back({ id, QString::fromLatin1(type), result, rowUnit });
    };
    const QString degrees = QStringLiteral("deg.");
    switch (shape.Kind()) {
    case KindLine: {
        const auto& line = static_cast<const CLineShape&>(shape);
        row(line.ValueLabel()->Id(), "length", QString::asprintf("%.3f", line.Length()), unit);
        break;
    }
    case KindAngle3: {
        const auto& angle = static_cast<const CAngle3Shape&>(shape);
        row(angle.ValueLabel()->Id(), "degree", QString::asprintf("%.1f", angle.Angle()), degrees);
        break;
    }
    case KindAngle4: {
        const auto& angle = static_cast<const CAngle4Shape&>(shape);
        row(angle.ValueLabel()->Id(), "degree", QString::asprintf("%.1f", angle.Angle()), degrees);
        break;
    }
    case KindArea: {
        const auto& area = static_cast<const CAreaShape&>(shape);
        row(area.ValueLabel()->Id(), "acreage", QString::asprintf("%.4f", area.AreaValue()),
                unit + QStringLiteral("^2"));
        break;
    }
    case KindCircle: {
        const auto& circle = static_cast<const CCircleShape&>(shape);
        row(circle.ValueLabel()->Id(), "diameter", QString::asprintf("%.3f", circle.Diameter()),
                unit);
        break;
    }
    case KindDistance: {
        const auto& distance = static_cast<const CDistanceShape&>(shape);
        if (!distance.IsComplete())
            break;
        const CLineShape* line = distance.ConnectingLine();
        row(line->ValueLabel()->Id(), "distance", QString::asprintf("%.3f", line->Length()), unit);
        row(line->SecondLabel()->Id(), "degree", QString::asprintf("%.1f", line->Direction()),
                degrees);
        // Every value the picture shows is also a row: the two circles' diameters follow.
        for (const CCircleShape* circle : { static_cast<const CCircleShape*>(distance.CircleA()),
                     static_cast<const CCircleShape*>(distance.CircleB()) }) {
            if (circle && circle->ValueLabel())
                row(circle->ValueLabel()->Id(), "diameter",
                        QString::asprintf("%.3f", circle->Diameter()), unit);
        }
        break;
    }
    case KindVerticalLines: {
        const auto& lines = static_cast<const CVerticalLinesShape&>(shape);
        qCDebug(lcTrace, "result rows of %d perpendiculars", lines.PerpendicularCount());
        for (int i = 0; i < lines.PerpendicularCount(); ++i) {
            const CPerpendicularShape* p = lines.Perpendicular(i);
            if (p->ValueLabel())
                row(p->ValueLabel()->Id(), "length", QString::asprintf("%.3f", p->Length()), unit);
        }
        break;
    }
    default:
        break;
    }
}

std::vector<CResultRow> CShapeManager::ResultRows() const
{
    Lock lock(m_mutex);
    std::vector<CResultRow> rows;
    for (const auto& shape : m_shapes) {
        // A shape without children has no label yet: it is unfinished.
        if (shape->ChildCount() > 0)
            ResultRowsOf(*shape, rows);
    }
    return rows;
}

// ---- Selection ----

void CShapeManager::ForgetSelection()
{
    m_selectedShape = 0;
    m_selectedPart = 0;
    m_selectedText = 0;
}

void CShapeManager::KeepSelectionIfPresent()
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

bool CShapeManager::HasSelection() const
{
    Lock lock(m_mutex);
    return (m_selectedText != 0 && FindTextLocked(m_selectedText) >= 0)
            || (m_selectedShape != 0 && FindShapeLocked(m_selectedShape) >= 0);
}

void CShapeManager::SelectByRowId(uint32_t rowId)
{
    Lock lock(m_mutex);
    int index = -1;
    CMeasureShape* perpendicular = nullptr;
    ForgetSelection();
    if (FindRow(rowId, index, perpendicular)) {
        m_selectedShape = m_shapes[index]->Id();
        m_selectedPart = perpendicular ? perpendicular->Id() : 0;
    }
    InvalidateAll();
}

bool CShapeManager::RowSelected(uint32_t rowId) const
{
    Lock lock(m_mutex);
    int index = -1;
    CMeasureShape* perpendicular = nullptr;
    if (m_selectedShape == 0 || !FindRow(rowId, index, perpendicular))
        return false;
    return m_shapes[index]->Id() == m_selectedShape
            && (m_selectedPart == 0 || (perpendicular && perpendicular->Id() == m_selectedPart));
}

bool CShapeManager::IsMarked(const CMeasureShape& shape) const
{
    if (m_bBurningIn)
        return false;
    const uint32_t id = shape.Id();
    return (id == m_selectedShape && m_selectedPart == 0) || id == m_selectedPart;
}

bool CShapeManager::ReferenceLength(double& pixels, QPoint& centre, int& kind) const
{
    Lock lock(m_mutex);
    auto measure = [&](const CMeasureShape& shape) {
        if (!Settled(shape) || shape.ChildCount() == 0)
            return false;
        if (shape.Kind() == KindLine && shape.PointCount() >= 2) {
            const QPoint a = shape.Point(0);
            const QPoint b = shape.Point(1);
            pixels = std::hypot(double(b.x() - a.x()), double(b.y() - a.y()));
            centre = (a + b) / 2;
        } else if (shape.Kind() == KindCircle) {
            const auto& circle = static_cast<const CCircleShape&>(shape);
            if (!circle.IsComplete())
                return false;
            pixels = 2.0 * circle.Radius();
            centre = circle.Centre();
        } else {
            return false;
        }
        kind = shape.Kind();
        return pixels >= 1.0;
    };
    if (const int index = m_selectedShape ? FindShapeLocked(m_selectedShape) : -1;
            index >= 0 && measure(*m_shapes[index]))
        return true;
    for (auto it = m_shapes.rbegin(); it != m_shapes.rend(); ++it) {
        if (measure(**it))
            return true;
    }
    return false;
}

bool CShapeManager::RemoveSelected()
{
    Lock lock(m_mutex);
    KALVEX_EVENT_SCOPE;
    bool removed = false;
    if (const int text = m_selectedText ? FindTextLocked(m_selectedText) : -1; text >= 0) {
        DeleteTextLocked(text);
        removed = true;
    } else if (const int index = m_selectedShape ? FindShapeLocked(m_selectedShape) : -1;
               index >= 0) {
        CMeasureShape* shape = m_shapes[index].get();
        CMeasureShape* part = nullptr;
        for (int c = 0; c < shape->ChildCount() && m_selectedPart != 0; ++c) {
            if (shape->Child(c)->Id() == m_selectedPart)
                part = shape->Child(c);
        }
        // As with the results list: the last perpendicular takes its baseline along.
        if (part && shape->ChildCount() > 1) {
            part->Invalidate();
            shape->DetachChild(part);
        } else {
            RemoveShapeAt(index);
        }
        removed = true;
    }
    ForgetSelection();
    if (removed)
        CommitLocked();
    return removed;
}

bool CShapeManager::MoveSelected(int dx, int dy)
{
    Lock lock(m_mutex);
    if (m_bButtonDown)
        return false;
    CMeasureShape* target = nullptr;
    uint64_t tag = 0;
    if (const int text = m_selectedText ? FindTextLocked(m_selectedText) : -1; text >= 0) {
        target = m_texts[text].get();
        tag = Tag(StepTag::MoveText, m_selectedText);
    } else if (const int index = m_selectedShape ? FindShapeLocked(m_selectedShape) : -1;
               index >= 0) {
        target = m_shapes[index].get();
        tag = Tag(StepTag::MoveShape, m_selectedShape);
    }
    if (!target)
        return false;
    target->Translate(QPoint(dx, dy));
    // Labels and baselines reach beyond the points.
    InvalidateAll();
    CommitLocked(tag);
    return true;
}

// ---- History ----

CDrawingState CShapeManager::ProbeLocked() const
{
    CDrawingState state;
    for (const auto& shape : m_shapes) {
        if (Settled(*shape))
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

void CShapeManager::CommitLocked(uint64_t tag)
{
    // A drag ends with the release; a group with its outermost end.
    if (m_bButtonDown || m_stepDepth > 0)
        return;
    // Copies are made only for a state that differs.
    if (!m_history.IsCurrent(ProbeLocked()))
        m_history.Record(CaptureLocked(), tag);
}

CDrawingState CShapeManager::CaptureLocked() const
{
    CDrawingState state = ProbeLocked();
    for (const auto& shape : m_shapes) {
        if (Settled(*shape))
            state.shapes.push_back(shape->Clone());
    }
    for (const auto& text : m_texts)
        state.texts.push_back(CloneText(*text));
    return state;
}

bool CShapeManager::HasWorkInProgressLocked() const
{
    return std::ranges::any_of(m_shapes, [](const auto& shape) { return !Settled(*shape); });
}

bool CShapeManager::HasWorkInProgress() const
{
    Lock lock(m_mutex);
    return HasWorkInProgressLocked();
}

bool CShapeManager::RestoreLocked(const CDrawingState& state)
{
    for (auto& shape : m_shapes)
        Retire(std::move(shape));
    m_shapes.clear();
    for (auto& text : m_texts)
        Retire(std::move(text));
    m_texts.clear();
    // Only the baseline tool keeps drawing on a shape of an earlier step.
    const bool baselineTool = m_nToolMode == VerticalLinesTool;
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

bool CShapeManager::StepHistory(bool forward)
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

bool CShapeManager::Undo()
{
    return StepHistory(false);
}

bool CShapeManager::Redo()
{
    return StepHistory(true);
}

bool CShapeManager::CanUndo() const
{
    Lock lock(m_mutex);
    return m_history.CanUndo() || HasWorkInProgressLocked();
}

bool CShapeManager::CanRedo() const
{
    Lock lock(m_mutex);
    return m_history.CanRedo();
}

void CShapeManager::ResetHistory()
{
    Lock lock(m_mutex);
    m_history.Reset(CaptureLocked());
}

void CShapeManager::BeginStep()
{
    Lock lock(m_mutex);
    ++m_stepDepth;
}

void CShapeManager::EndStep()
{
    Lock lock(m_mutex);
    if (m_stepDepth > 0 && --m_stepDepth == 0)
        CommitLocked();
}

void CShapeManager::SetCalibrationRestoredHook(CalibrationRestoredHook hook)
{
    Lock lock(m_mutex);
    m_calibrationRestored = std::move(hook);
}

// ---- View ----

void CShapeManager::SetPan(int x, int y)
{
    Lock lock(m_mutex);
    if (x == m_view.panX && y == m_view.panY)
        return;
    m_view.panX = x;
    m_view.panY = y;
    for (const auto& shape : m_shapes)
        shape->Invalidate();
}

QPoint CShapeManager::Pan() const
{
    Lock lock(m_mutex);
    return { m_view.panX, m_view.panY };
}

float CShapeManager::SetZoom(float zoom)
{
    Lock lock(m_mutex);
    const float previous = m_view.zoom;
    m_view.zoom = zoom;
    InvalidateAll();
    return previous;
}

float CShapeManager::Zoom() const
{
    Lock lock(m_mutex);
    return m_view.zoom;
}

QPoint CShapeManager::ImageToWindow(QPoint image) const
{
    return View().ImageToTarget(image);
}

QPoint CShapeManager::ToTarget(QPoint window) const
{
    return View().ToTarget(window);
}

void CShapeManager::DrawUprightText(QPainter& painter, QPoint target, const QStaticText& given)
{
    // A laid-out text holds the font engine of the thread that laid it out, and font engines
    // are not shared between threads: the frame pump lays out its own copy.
    const bool guiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    QStaticText own;
    if (!guiThread) {
        own.setTextFormat(given.textFormat());
        own.setText(given.text());
    }
    const QStaticText& text = guiThread ? given : own;
    const int flip = View().flipHeight;
    if (flip <= 0) {
        painter.drawStaticText(target, text);
        return;
    }
    // Text through a mirror: rare, only for texts that are not labels.
    painter.setWorldTransform(QTransform(1, 0, 0, -1, 0, flip - 1));
    painter.drawStaticText(QPoint(target.x(), flip - 1 - target.y()), text);
    painter.resetTransform();
}

void CShapeManager::DrawTargetLine(QPainter& painter, QPoint a, QPoint b, const QPen& pen)
{
    if (!m_raster) {
        painter.setPen(pen);
        painter.drawLine(a, b);
        return;
    }
    m_raster->Line(a, b, pen);
}

bool CShapeManager::DrawTargetCircle(QPoint centre, int radius, const QPen& pen)
{
    if (!m_raster)
        return false;
    m_raster->Circle(centre, radius, pen);
    return true;
}

void CShapeManager::DrawLabelText(QPainter& painter, QPoint target, CTextLabel& label)
{
    const int flip = View().flipHeight;
    if (!m_raster || flip <= 0) {
        DrawUprightText(painter, target, label.StaticText());
        return;
    }
    // On raw frames the label's pre-rendered text is blended row by row: Qt's text drawing
    // through a mirror, into 24-bit pixels, costs several times more.
    m_raster->Sprite(target.x(), flip - 1 - target.y(), label.Sprite());
}

QPoint CShapeManager::WindowToImage(QPoint window) const
{
    Lock lock(m_mutex);
    return m_view.WindowToImage(window);
}

void CShapeManager::SetClientSize(QSize size)
{
    Lock lock(m_mutex);
    m_clientSize = size;
}

QSize CShapeManager::ClientSize() const
{
    Lock lock(m_mutex);
    return m_clientSize;
}

// ---- Settings ----

void CShapeManager::ApplyColourSettings(const CColorSetting& settings)
{
    Lock lock(m_mutex);
    m_settings = settings;
    m_shapePen.setWidth(settings.LineSize);
    m_shapePen.setColor(ColorRefToQColor(settings.LineColor));
    m_labelFont = settings.font.ToQFont();
    InvalidateAll();
}

CColorSetting CShapeManager::ColourSettings() const
{
    Lock lock(m_mutex);
    return m_settings;
}

QColor CShapeManager::TextColour() const
{
    return ColorRefToQColor(m_settings.TextColor);
}

// ---- Calibration ----

void CShapeManager::EnsureRuler()
{
    if (!m_ruler)
        m_ruler = std::make_unique<CCalibrationRuler>(this);
}

void CShapeManager::SetCalibrationLocked(const CCalibrationSlot& slot)
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

void CShapeManager::SetCalibration(const CCalibrationSlot& slot)
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

void CShapeManager::ConvertCalibration(const CCalibrationSlot& slot,
        const std::function<CCalibrationSlot(const CCalibrationSlot&)>& convert)
{
    {
        Lock lock(m_mutex);
        SetCalibrationLocked(slot);
        m_history.ConvertCalibrations(convert, CalibrationLocked());
    }
    NotifyCalibrationMoved();
}

void CShapeManager::SetDirectedAngles(bool directed)
{
    Lock lock(m_mutex);
    m_bDirectedAngles = directed;
    InvalidateAll();
}

void CShapeManager::RescaleDrawing(const CPictureRescale& map)
{
    if (map.IsIdentity())
        return;
    Lock lock(m_mutex);
    for (const auto& shape : m_shapes)
        shape->Rescale(map);
    for (const auto& text : m_texts)
        text->Rescale(map);
    for (CCrossLine& line : m_crossLines)
        line.Rescale(map);
    m_history.RescaleStates(map);
    InvalidateAll();
}

void CShapeManager::EnableCalibrationRuler(bool on)
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

QSize CShapeManager::PictureSize() const
{
    Lock lock(m_mutex);
    return PictureSizeLocked();
}

QSize CShapeManager::PictureSizeLocked() const
{
    // The canvas is the picture at the zoom.
    if (m_clientSize.isEmpty() || m_view.zoom <= 0.0f)
        return {};
    return { qRound(m_clientSize.width() / m_view.zoom),
        qRound(m_clientSize.height() / m_view.zoom) };
}

void CShapeManager::PlaceRulerIfUnusable()
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

bool CShapeManager::CalibrationRulerEnabled() const
{
    Lock lock(m_mutex);
    return m_ruler && m_ruler->IsActive();
}

CCalibrationSlot CShapeManager::GetCalibration() const
{
    Lock lock(m_mutex);
    return CalibrationLocked();
}

CCalibrationSlot CShapeManager::CalibrationLocked() const
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

void CShapeManager::SetCalibrationMovedHook(std::function<void()> hook)
{
    Lock lock(m_mutex);
    m_calibrationMoved = std::move(hook);
}

void CShapeManager::CalibrationRulerMoved()
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

void CShapeManager::NotifyCalibrationMoved()
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

double CShapeManager::ScaleX() const
{
    return m_calibration.HasUsableScale() ? m_calibration.xPerPixel : 1.0;
}

double CShapeManager::ScaleY() const
{
    return m_calibration.HasUsableScale() ? m_calibration.yPerPixel : 1.0;
}

QString CShapeManager::UnitText() const
{
    return m_calibration.HasUsableScale() ? CCalibrationSlot::UnitName(m_calibration.unit)
                                          : QStringLiteral("px");
}

// ---- Free texts ----

void CShapeManager::AddText(const QString& text, int windowX, int windowY)
{
    Lock lock(m_mutex);
    const QPoint p = m_view.WindowToImage(QPoint(windowX, windowY));
    m_texts.push_back(std::make_unique<CTextLabel>(this, p, text));
    m_texts.back()->Invalidate();
    CommitLocked();
}

void CShapeManager::DeleteText(int index)
{
    Lock lock(m_mutex);
    DeleteTextLocked(index);
    CommitLocked();
}

void CShapeManager::DeleteTextLocked(int index)
{
    if (index < 0 || index >= static_cast<int>(m_texts.size()))
        return;
    m_texts[index]->Invalidate();
    if (m_eventDepth > 0)
        m_retired.push_back(std::move(m_texts[index]));
    m_texts.erase(m_texts.begin() + index);
}

void CShapeManager::DeleteAllTexts()
{
    Lock lock(m_mutex);
    while (!m_texts.empty())
        DeleteTextLocked(static_cast<int>(m_texts.size()) - 1);
    CommitLocked();
}

void CShapeManager::SetText(int index, const QString& text)
{
    Lock lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_texts.size()))
        return;
    m_texts[index]->SetText(text);
    m_texts[index]->Invalidate();
    CommitLocked(Tag(StepTag::EditText, static_cast<uint32_t>(index)));
}

int CShapeManager::FindTextLocked(uint32_t id) const
{
    for (int i = 0; i < static_cast<int>(m_texts.size()); ++i) {
        if (m_texts[i]->Id() == id)
            return i;
    }
    return -1;
}

int CShapeManager::TextCount() const
{
    Lock lock(m_mutex);
    return static_cast<int>(m_texts.size());
}

QStringList CShapeManager::Texts() const
{
    Lock lock(m_mutex);
    QStringList list;
    for (const auto& text : m_texts)
        list << text->Text();
    return list;
}

// ---- Cross lines ----

int CShapeManager::CrossLineCount() const
{
    Lock lock(m_mutex);
    return static_cast<int>(m_crossLines.size());
}

void CShapeManager::AppendCrossLine(const CCrossLine& line)
{
    Lock lock(m_mutex);
    m_crossLines.push_back(line);
    InvalidateAll();
    CommitLocked();
}

bool CShapeManager::GetCrossLine(int index, CCrossLine& line) const
{
    Lock lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_crossLines.size()))
        return false;
    line = m_crossLines[index];
    return true;
}

void CShapeManager::SetCrossLine(
        int index, int shown, int x, int y, int type, uint32_t colour, int size)
{
    Lock lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_crossLines.size()))
        return;
    m_crossLines[index] = CCrossLine { shown, x, y, type, colour, size };
    InvalidateAll();
    CommitLocked(Tag(StepTag::CrossLine, static_cast<uint32_t>(index)));
}

void CShapeManager::RemoveCrossLine(int index)
{
    Lock lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_crossLines.size()))
        return;
    m_crossLines.erase(m_crossLines.begin() + index);
    InvalidateAll();
    CommitLocked();
}

std::vector<CCrossLine> CShapeManager::CrossLines() const
{
    Lock lock(m_mutex);
    return m_crossLines;
}

void CShapeManager::SetCrossLines(std::vector<CCrossLine> lines)
{
    Lock lock(m_mutex);
    m_crossLines = std::move(lines);
    InvalidateAll();
    CommitLocked();
}

// ---- Tool and mouse ----

void CShapeManager::SetToolMode(int mode)
{
    Lock lock(m_mutex);
    m_nToolMode = mode;
}

int CShapeManager::ToolMode() const
{
    Lock lock(m_mutex);
    return m_nToolMode;
}

bool CShapeManager::ButtonDown() const
{
    Lock lock(m_mutex);
    return m_bButtonDown;
}

void CShapeManager::OnLButtonDown(int windowX, int windowY)
{
    Lock lock(m_mutex);
    KALVEX_EVENT_SCOPE;
    const QPoint p = m_view.WindowToImage(QPoint(windowX, windowY));
    ClearSelectionLocked();
    ForgetSelection();
    const int mode = m_nToolMode;
    auto inConstruction = [this](int kind) -> CMeasureShape* {
        for (const auto& shape : m_shapes) {
            if (shape->Kind() == kind && shape->InConstruction())
                return shape.get();
        }
        return nullptr;
    };
    CMeasureShape* target = nullptr;
    switch (mode) {
    case LineTool:
        target = CreateShapeLocked(KindLine);
        break;
    // These tools draw the shape kind of the same number.
    case Angle3Tool:
    case Angle4Tool:
    case AreaTool:
    case CircleTool:
        target = inConstruction(mode);
        if (!target)
            target = CreateShapeLocked(mode);
        break;
    case DistanceTool: {
        target = inConstruction(KindDistance);
        if (target)
            break;
        bool unfinished = false;
        for (const auto& shape : m_shapes)
            unfinished |= shape->Kind() == KindDistance && shape->PointCount() < 6;
        if (!unfinished)
            target = CreateShapeLocked(KindDistance);
        break;
    }
    case VerticalLinesTool:
        target = inConstruction(KindVerticalLines);
        if (!target)
            target = CreateShapeLocked(KindVerticalLines);
        break;
    case SelectMode: {
        for (CMeasureShape* shape : Reversed(Snapshot(m_shapes))) {
            if (shape->OnLButtonDown(p.x(), p.y(), mode) != -1) {
                m_selectedShape = shape->Id();
                // A press on one perpendicular (or its label) of a baseline takes that one.
                if (shape->Kind() == KindVerticalLines && !shape->IsSelected()) {
                    for (int c = 0; c < shape->ChildCount() && m_selectedPart == 0; ++c) {
                        const CMeasureShape* part = shape->Child(c);
                        const bool labelHeld =
                                part->ChildCount() > 0 && part->Child(0)->IsSelected();
                        if (part->IsSelected() || labelHeld)
                            m_selectedPart = part->Id();
                    }
                }
                m_bButtonDown = true;
                return;
            }
        }
        for (CTextLabel* text : Reversed(Snapshot(m_texts))) {
            if (text->OnLButtonDown(p.x(), p.y(), mode) != -1) {
                m_selectedText = text->Id();
                m_bButtonDown = true;
                return;
            }
        }
        if (m_ruler)
            m_ruler->OnLButtonDown(p.x(), p.y(), mode);
        break;
    }
    default:
        break;
    }
    if (target)
        target->OnLButtonDown(p.x(), p.y(), mode);
    m_bButtonDown = true;
}

void CShapeManager::OnLButtonUp(int windowX, int windowY)
{
    Lock lock(m_mutex);
    KALVEX_EVENT_SCOPE;
    ForwardPointer(&CMeasureShape::OnLButtonUp, m_view.WindowToImage(QPoint(windowX, windowY)));
    m_bButtonDown = false;
    CommitLocked();
}

void CShapeManager::OnMouseMove(int windowX, int windowY)
{
    {
        Lock lock(m_mutex);
        KALVEX_EVENT_SCOPE;
        ForwardPointer(&CMeasureShape::OnMouseMove, m_view.WindowToImage(QPoint(windowX, windowY)));
    }
    NotifyCalibrationMoved();
}

void CShapeManager::ForwardPointer(void (CMeasureShape::*handler)(int, int, int), QPoint p)
{
    for (CMeasureShape* shape : Reversed(Snapshot(m_shapes))) {
        if (!shape->IsRemoved())
            (shape->*handler)(p.x(), p.y(), m_nToolMode);
    }
    for (CTextLabel* text : Reversed(Snapshot(m_texts)))
        (text->*handler)(p.x(), p.y(), m_nToolMode);
    if (m_ruler)
        (m_ruler.get()->*handler)(p.x(), p.y(), m_nToolMode);
}

void CShapeManager::OnLButtonDblClk(int windowX, int windowY)
{
    Lock lock(m_mutex);
    KALVEX_EVENT_SCOPE;
    const QPoint p = m_view.WindowToImage(QPoint(windowX, windowY));
    for (CMeasureShape* shape : Reversed(Snapshot(m_shapes))) {
        if (!shape->IsRemoved())
            shape->OnLButtonDblClk(p.x(), p.y(), m_nToolMode);
    }
    CommitLocked();
}

int CShapeManager::HitCursor(int windowX, int windowY) const
{
    Lock lock(m_mutex);
    const QPoint p = m_view.WindowToImage(QPoint(windowX, windowY));
    for (const auto& shape : m_shapes | std::views::reverse) {
        if (shape->CursorTest(p.x(), p.y(), m_nToolMode) == 2)
            return 1;
    }
    for (const auto& text : m_texts | std::views::reverse) {
        if (text->CursorTest(p.x(), p.y(), m_nToolMode) == 2)
            return 1;
    }
    if (m_ruler && m_ruler->CursorTest(p.x(), p.y(), m_nToolMode) == 2)
        return 1;
    return -1;
}

// ---- Drawing ----

void CShapeManager::SetInvalidateHook(std::function<void(const QRect&)> hook)
{
    Lock lock(m_mutex);
    m_invalidate = std::move(hook);
}

void CShapeManager::InvalidateWindowRect(const QRect& rect)
{
    if (m_invalidate && !rect.isEmpty())
        m_invalidate(rect);
}

void CShapeManager::InvalidateAll()
{
    if (m_invalidate)
        m_invalidate(QRect());
}

void CShapeManager::DrawEverything(QPainter& painter, Target target, int width, int height,
        int offsetX, int offsetY, const CViewTransform& view)
{
    // Shapes map their points through View() while they draw: this call's transform.
    m_drawing = &view;
    PreparePainter(painter);
    painter.setFont(m_labelFont);
    if (m_settings.RulerShow)
        DrawRulerOverlay(painter, target, width, height, offsetX, offsetY);
    if (m_settings.GridShow)
        DrawGridOverlay(painter, target, width, height);
    for (const auto& shape : m_shapes)
        shape->Draw(painter, false);
    for (const auto& text : m_texts)
        text->DrawLabel(painter);
    if (m_settings.ScaleShow)
        DrawScaleBar(painter, target, width, height);
    if (target == Target::Image)
        DrawCrossLines(painter, width, height);
    else
        DrawCrossLines(painter, m_clientSize.width(), m_clientSize.height());
    if (m_ruler)
        m_ruler->Draw(painter, false);
    m_drawing = nullptr;
}

COverlayPainter CShapeManager::Overlays() const
{
    COverlayPainter overlays(m_settings, View().zoom, ScaleX(), ScaleY(), UnitText(), m_labelFont);
    overlays.SetFlipHeight(View().flipHeight);
    return overlays;
}

void CShapeManager::DrawRulerOverlay(
        QPainter& painter, Target target, int width, int height, int offsetX, int offsetY)
{
    Overlays().DrawRuler(painter, OverlayTarget(target), width, height, offsetX, offsetY);
}

void CShapeManager::DrawGridOverlay(QPainter& painter, Target target, int width, int height)
{
    Overlays().DrawGrid(painter, OverlayTarget(target), width, height);
}

void CShapeManager::DrawScaleBar(QPainter& painter, Target target, int width, int height)
{
    const COverlayPainter::Target t = OverlayTarget(target);
    Overlays().DrawScaleBar(
            painter, t, COverlayPainter::ScaleBarArea(t, m_clientSize, QSize(width, height)));
}

void CShapeManager::DrawCrossLines(QPainter& painter, int width, int height)
{
    for (const CCrossLine& line : m_crossLines) {
        if (line.shown == 0)
            continue;
        const QPoint w = ImageToWindow(QPoint(line.x, line.y));
        const QPen pen = COverlayPainter::CrossLinePen(line);
        // The window extent is flipped like the points on a bottom-up target.
        const QPoint top = ToTarget(QPoint(w.x(), 0));
        const QPoint bottom = ToTarget(QPoint(w.x(), height));
        DrawTargetLine(painter, QPoint(0, w.y()), QPoint(width, w.y()), pen);
        DrawTargetLine(painter, QPoint(w.x(), top.y()), QPoint(w.x(), bottom.y()), pen);
    }
}

void CShapeManager::DrawAll(QPainter& painter)
{
    Lock lock(std::as_const(m_mutex));
    DrawEverything(
            painter, Target::Canvas, m_clientSize.width(), m_clientSize.height(), 0, 0, m_view);
}

void CShapeManager::DrawOnFrame(QPainter& painter, int width, int height, int offsetX, int offsetY)
{
    Lock lock(std::as_const(m_mutex));
    DrawEverything(painter, Target::Frame, width, height, offsetX, offsetY, m_view);
}

void CShapeManager::DrawOnFrame(uint8_t* frame, int width, int height, int offsetX, int offsetY)
{
    if (!frame || width <= 0 || height <= 0)
        return;
    // The bottom-up rows are painted as a top-down picture with every y mirrored (see
    // ToTarget): no copy, and no world transform that would push lines off Qt's fast paths.
    Lock lock(std::as_const(m_mutex));
    // The pump draws into the same buffer every frame: keeping the view keeps its paint
    // engine, which is costly to build.
    if (m_frameView.constBits() != frame || m_frameView.width() != width
            || m_frameView.height() != height)
        m_frameView = QImage(frame, width, height, FrameStride(width), QImage::Format_BGR888);
    QPainter painter(&m_frameView);
    CViewTransform bottomUp = m_view;
    bottomUp.flipHeight = height;
    m_raster.emplace(frame, width, height);
    DrawEverything(painter, Target::Frame, width, height, offsetX, offsetY, bottomUp);
    m_raster.reset();
}

void CShapeManager::RenderOnto(uint8_t* scratch, int width, int height)
{
    if (!scratch || width <= 0 || height <= 0)
        return;
    std::memset(scratch, kBurnInBackground, static_cast<size_t>(FrameStride(width)) * height);
    Lock lock(std::as_const(m_mutex));
    // The picture's own pixels: no zoom, no pan, bottom-up rows.
    CViewTransform picture;
    picture.flipHeight = height;
    m_bBurningIn = true;
    {
        QImage view(scratch, width, height, FrameStride(width), QImage::Format_BGR888);
        QPainter painter(&view);
        m_raster.emplace(scratch, width, height);
        // Smoothed edges would blend with the 128 background and leave grey fringes.
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        DrawEverything(painter, Target::Image, width, height, 0, 0, picture);
        m_raster.reset();
    }
    m_bBurningIn = false;
}

void CShapeManager::MergeRendered(uint8_t* image, const uint8_t* scratch, int width, int height)
{
    if (!image || !scratch || width <= 0 || height <= 0)
        return;
    const size_t stride = static_cast<size_t>(FrameStride(width));
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        uint8_t* dst = image + y * stride;
        const uint8_t* src = scratch + y * stride;
        for (size_t i = 0; i < rowBytes; ++i)
            dst[i] = src[i] != kBurnInBackground ? src[i] : dst[i];
    }
}

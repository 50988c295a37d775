#include "measure/Drawing.h"

#include "base/Trace.h"
#include "measure/CalibrationRuler.h"
#include "measure/MeasureShape.h"
#include "measure/NewestFirst.h"
#include "measure/MeasureTool.h"
#include "measure/PictureRescale.h"
#include "measure/TextLabel.h"

#include <algorithm>
#include <functional>
#include <ranges>

// ---- Shapes ----

int CDrawing::FindShape(uint32_t id) const
{
    Lock lock(m_mutex);
    return FindShapeLocked(id);
}

void CDrawing::RemoveShape(uint32_t id)
{
    Lock lock(m_mutex);
    const int index = FindShapeLocked(id);
    if (index >= 0 && m_shapes[index]->Kind() != KindCalibrationRuler)
        RemoveShapeAt(index);
    CommitLocked();
}

bool CDrawing::FindRow(uint32_t rowId, int& shapeIndex, CMeasureShape*& perpendicular) const
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

void CDrawing::RemoveByRowId(uint32_t rowId)
{
    Lock lock(m_mutex);
    const CEventScope event(*this);
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

void CDrawing::RemoveAll()
{
    Lock lock(m_mutex);
    const CEventScope event(*this);
    while (!m_shapes.empty()) {
        Retire(std::move(m_shapes.back()));
        m_shapes.pop_back();
    }
    InvalidateAll();
    CommitLocked();
}

void CDrawing::CancelUnfinished()
{
    Lock lock(m_mutex);
    const CEventScope event(*this);
    DropUnfinished();
    CommitLocked();
}

void CDrawing::DropUnfinished()
{
    for (int i = static_cast<int>(m_shapes.size()) - 1; i >= 0; --i) {
        if (m_shapes[i]->DropOnCancel())
            RemoveShapeAt(i);
    }
}

void CDrawing::FinishOpenShapes()
{
    Lock lock(m_mutex);
    FinishOpen();
    CommitLocked();
}

void CDrawing::FinishOpen()
{
    for (const auto& shape : m_shapes)
        shape->FinishOpen();
}

void CDrawing::HighlightByRowId(uint32_t rowId, bool on)
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

void CDrawing::ClearSelection()
{
    Lock lock(m_mutex);
    ClearSelectionLocked();
}

int CDrawing::ShapeCount() const
{
    Lock lock(m_mutex);
    return static_cast<int>(m_shapes.size());
}

CMeasureShape* CDrawing::ShapeAt(int index) const
{
    Lock lock(m_mutex);
    return index >= 0 && index < static_cast<int>(m_shapes.size()) ? m_shapes[index].get()
                                                                   : nullptr;
}

std::vector<CResultRow> CDrawing::ResultRows() const
{
    Lock lock(m_mutex);
    std::vector<CResultRow> rows;
    for (const auto& shape : m_shapes) {
        // A shape without children has no label yet: it is unfinished.
        if (shape->ChildCount() > 0)
            shape->AppendRows(rows);
    }
    return rows;
}

// ---- Selection ----

bool CDrawing::HasSelection() const
{
    Lock lock(m_mutex);
    return (m_selectedText != 0 && FindTextLocked(m_selectedText) >= 0)
            || (m_selectedShape != 0 && FindShapeLocked(m_selectedShape) >= 0);
}

void CDrawing::SelectByRowId(uint32_t rowId)
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

bool CDrawing::RowSelected(uint32_t rowId) const
{
    Lock lock(m_mutex);
    int index = -1;
    CMeasureShape* perpendicular = nullptr;
    if (m_selectedShape == 0 || !FindRow(rowId, index, perpendicular))
        return false;
    return m_shapes[index]->Id() == m_selectedShape
            && (m_selectedPart == 0 || (perpendicular && perpendicular->Id() == m_selectedPart));
}

bool CDrawing::ReferenceLength(double& pixels, QPoint& centre, int& kind, QLine* ends) const
{
    Lock lock(m_mutex);
    auto measure = [&](const CMeasureShape& shape) {
        if (!shape.Settled() || shape.ChildCount() == 0 || !shape.ReferenceLength(pixels, centre))
            return false;
        kind = shape.Kind();
        if (ends && kind == KindLine && shape.PointCount() >= 2)
            *ends = QLine(shape.Point(0), shape.Point(1));
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

bool CDrawing::RemoveSelected()
{
    Lock lock(m_mutex);
    const CEventScope event(*this);
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

bool CDrawing::MoveSelected(int dx, int dy)
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

void CDrawing::RescaleDrawing(const CPictureRescale& map)
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

// ---- Free texts ----

void CDrawing::AddText(const QString& text, int windowX, int windowY)
{
    Lock lock(m_mutex);
    const QPoint p = m_view.WindowToImage(QPoint(windowX, windowY));
    m_texts.push_back(std::make_unique<CTextLabel>(this, p, text));
    m_texts.back()->Invalidate();
    CommitLocked();
}

void CDrawing::DeleteText(int index)
{
    Lock lock(m_mutex);
    DeleteTextLocked(index);
    CommitLocked();
}

void CDrawing::DeleteAllTexts()
{
    Lock lock(m_mutex);
    while (!m_texts.empty())
        DeleteTextLocked(static_cast<int>(m_texts.size()) - 1);
    CommitLocked();
}

void CDrawing::SetText(int index, const QString& text)
{
    Lock lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_texts.size()))
        return;
    m_texts[index]->SetText(text);
    m_texts[index]->Invalidate();
    CommitLocked(Tag(StepTag::EditText, static_cast<uint32_t>(index)));
}

int CDrawing::TextCount() const
{
    Lock lock(m_mutex);
    return static_cast<int>(m_texts.size());
}

QStringList CDrawing::Texts() const
{
    Lock lock(m_mutex);
    QStringList list;
    for (const auto& text : m_texts)
        list << text->Text();
    return list;
}

// ---- Cross lines ----

int CDrawing::CrossLineCount() const
{
    Lock lock(m_mutex);
    return static_cast<int>(m_crossLines.size());
}

void CDrawing::AppendCrossLine(const CCrossLine& line)
{
    Lock lock(m_mutex);
    m_crossLines.push_back(line);
    InvalidateAll();
    CommitLocked();
}

bool CDrawing::GetCrossLine(int index, CCrossLine& line) const
{
    Lock lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_crossLines.size()))
        return false;
    line = m_crossLines[index];
    return true;
}

void CDrawing::SetCrossLine(int index, int shown, int x, int y, int type, uint32_t colour, int size)
{
    Lock lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_crossLines.size()))
        return;
    m_crossLines[index] = CCrossLine { shown, x, y, type, colour, size };
    InvalidateAll();
    CommitLocked(Tag(StepTag::CrossLine, static_cast<uint32_t>(index)));
}

void CDrawing::RemoveCrossLine(int index)
{
    Lock lock(m_mutex);
    if (index < 0 || index >= static_cast<int>(m_crossLines.size()))
        return;
    m_crossLines.erase(m_crossLines.begin() + index);
    InvalidateAll();
    CommitLocked();
}

std::vector<CCrossLine> CDrawing::CrossLines() const
{
    Lock lock(m_mutex);
    return m_crossLines;
}

void CDrawing::SetCrossLines(std::vector<CCrossLine> lines)
{
    Lock lock(m_mutex);
    m_crossLines = std::move(lines);
    InvalidateAll();
    CommitLocked();
}

// ---- Mouse ----

QPoint CDrawing::ToolPoint(QPoint window, const CMeasureTool& tool)
{
    return m_snap.Place(m_view.WindowToImage(window), tool.SnapsToEdges(), m_view.zoom);
}

void CDrawing::Press(QPoint window, CMeasureTool& tool)
{
    Lock lock(m_mutex);
    const CEventScope event(*this);
    const QPoint p = ToolPoint(window, tool);
    ClearSelectionLocked();
    ForgetSelection();
    tool.Press(*this, p);
    m_bButtonDown = true;
}

void CDrawing::Release(QPoint window, CMeasureTool& tool)
{
    Lock lock(m_mutex);
    const CEventScope event(*this);
    tool.Release(*this, ToolPoint(window, tool));
    m_bButtonDown = false;
    CommitLocked();
}

void CDrawing::Move(QPoint window, CMeasureTool& tool)
{
    {
        Lock lock(m_mutex);
        const CEventScope event(*this);
        const std::optional<QPointF> markBefore = m_snap.Mark();
        tool.Move(*this, ToolPoint(window, tool));
        // The mark follows the pointer even where the tool draws nothing yet.
        if (m_snap.Mark() != markBefore)
            InvalidateAll();
    }
    NotifyCalibrationMoved();
}

void CDrawing::DoubleClick(QPoint window, CMeasureTool& tool)
{
    Lock lock(m_mutex);
    const CEventScope event(*this);
    tool.DoubleClick(*this, ToolPoint(window, tool));
    CommitLocked();
}

void CDrawing::SetEdgeFinders(CEdgeSnap::PointFinder points, CEdgeSnap::CircleFinder circles)
{
    Lock lock(m_mutex);
    m_snap.SetFinders(std::move(points), std::move(circles));
}

void CDrawing::SetSnapToEdges(bool on)
{
    Lock lock(m_mutex);
    m_snap.SetOn(on);
    InvalidateAll();
}

bool CDrawing::SnapToEdges() const
{
    Lock lock(m_mutex);
    return m_snap.On();
}

std::optional<QPointF> CDrawing::SnapMark() const
{
    Lock lock(m_mutex);
    return m_snap.Mark();
}

void CDrawing::SetSnapFree(bool free)
{
    Lock lock(m_mutex);
    m_snap.SetFree(free);
}

void CDrawing::CancelTool(CMeasureTool& tool)
{
    Lock lock(m_mutex);
    const CEventScope event(*this);
    tool.Cancel(*this);
    CommitLocked();
}

bool CDrawing::ButtonDown() const
{
    Lock lock(m_mutex);
    return m_bButtonDown;
}

int CDrawing::HitCursor(int windowX, int windowY) const
{
    Lock lock(m_mutex);
    const QPoint p = m_view.WindowToImage(QPoint(windowX, windowY));
    for (const auto& shape : m_shapes | std::views::reverse) {
        if (shape->CursorTest(p.x(), p.y(), SelectMode) == 2)
            return 1;
    }
    for (const auto& text : m_texts | std::views::reverse) {
        if (text->CursorTest(p.x(), p.y(), SelectMode) == 2)
            return 1;
    }
    if (m_ruler && m_ruler->CursorTest(p.x(), p.y(), SelectMode) == 2)
        return 1;
    return -1;
}

// ---- CDrawingEdit ----

CMeasureShape* CDrawing::Add(std::unique_ptr<CMeasureShape> shape)
{
    m_shapes.push_back(std::move(shape));
    return m_shapes.back().get();
}

CMeasureShape* CDrawing::Unfinished(int kind) const
{
    for (const auto& shape : m_shapes) {
        if (shape->Kind() == kind && shape->InConstruction())
            return shape.get();
    }
    return nullptr;
}

const std::vector<std::unique_ptr<CMeasureShape>>& CDrawing::Shapes() const
{
    return m_shapes;
}

const std::vector<std::unique_ptr<CTextLabel>>& CDrawing::TextLabels() const
{
    return m_texts;
}

void CDrawing::Select(uint32_t shape, uint32_t part, uint32_t text)
{
    m_selectedShape = shape;
    m_selectedPart = part;
    m_selectedText = text;
}

void CDrawing::Forward(PointerHandler handler, QPoint p, int mode)
{
    for (CMeasureShape* shape : NewestFirst(m_shapes)) {
        if (!shape->IsRemoved())
            (shape->*handler)(p.x(), p.y(), mode);
    }
    for (CTextLabel* text : NewestFirst(m_texts))
        (text->*handler)(p.x(), p.y(), mode);
    if (m_ruler)
        (m_ruler.get()->*handler)(p.x(), p.y(), mode);
}

void CDrawing::ForwardDoubleClick(QPoint p, int mode)
{
    for (CMeasureShape* shape : NewestFirst(m_shapes)) {
        if (!shape->IsRemoved())
            shape->OnLButtonDblClk(p.x(), p.y(), mode);
    }
}

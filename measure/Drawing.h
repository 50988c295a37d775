#pragma once

#include "measure/DrawingCore.h"
#include "measure/DrawingEdit.h"
#include "measure/ResultRow.h"

#include <QLine>
#include <QStringList>

class CMeasureTool;
class CPictureRescale;

// The drawing and its edits: shapes, selection, free texts and cross lines, and the mouse
// input a tool turns into shapes. Every public operation takes the one lock.
class CDrawing : public CDrawingCore, private CDrawingEdit
{
public:
    CDrawing() = default;

    // Shapes
    int FindShape(uint32_t id) const;
    void RemoveShape(uint32_t id);
    void RemoveByRowId(uint32_t rowId);
    void RemoveAll();
    // Shapes still being drawn go (a tool's cancel).
    void CancelUnfinished();
    // Shapes that take clicks across steps (baselines) stop taking them.
    void FinishOpenShapes();
    void HighlightByRowId(uint32_t rowId, bool on);
    void ClearSelection();
    int ShapeCount() const;
    CMeasureShape* ShapeAt(int index) const;
    std::vector<CResultRow> ResultRows() const;

    // Selection: what the last press in select mode took hold of (a shape, one perpendicular
    // of a baseline, or a free text). Removing it goes like removing its row; moving it takes
    // the whole shape with its labels, by image pixels.
    bool HasSelection() const;
    // A click on a results row takes its shape (or perpendicular) in hand as a press would.
    void SelectByRowId(uint32_t rowId);
    // Whether the row shows a value of what is in hand.
    bool RowSelected(uint32_t rowId) const;
    // The line or circle a scale can be set from: the selected one, else the newest finished
    // one. pixels is the line's length or the circle's diameter in image pixels, centre its
    // middle; false when there is none. ends, when given, gets a line's two ends (a circle
    // leaves it alone).
    bool ReferenceLength(double& pixels, QPoint& centre, int& kind, QLine* ends = nullptr) const;
    bool RemoveSelected();
    bool MoveSelected(int dx, int dy);

    // The live picture arrives at another size of the same view: every shape, text and cross
    // line, and every state of the history, keeps its place on the picture. Not a step.
    void RescaleDrawing(const CPictureRescale& map);

    // Free texts
    void AddText(const QString& text, int windowX, int windowY);
    void DeleteText(int index);
    void DeleteAllTexts();
    void SetText(int index, const QString& text);
    int TextCount() const;
    QStringList Texts() const; // the rows of the texts list, in order

    // Cross lines
    int CrossLineCount() const;
    void AppendCrossLine(const CCrossLine& line);
    bool GetCrossLine(int index, CCrossLine& line) const;
    void SetCrossLine(int index, int shown, int x, int y, int type, uint32_t colour, int size);
    void RemoveCrossLine(int index);
    std::vector<CCrossLine> CrossLines() const;
    void SetCrossLines(std::vector<CCrossLine> lines);

    // Mouse input in window pixels, handed to the tool under the lock.
    void Press(QPoint window, CMeasureTool& tool);
    void Release(QPoint window, CMeasureTool& tool);
    void Move(QPoint window, CMeasureTool& tool);
    void DoubleClick(QPoint window, CMeasureTool& tool);
    // "Snap to edges": finders that read the picture, on or off, and Shift for a free point.
    void SetEdgeFinders(CEdgeSnap::PointFinder points, CEdgeSnap::CircleFinder circles);
    void SetSnapToEdges(bool on);
    bool SnapToEdges() const;
    void SetSnapFree(bool free);
    // Where the next snapped point would go; empty while nothing would snap.
    std::optional<QPointF> SnapMark() const;
    // The tool is cancelled: what it leaves unfinished goes.
    void CancelTool(CMeasureTool& tool);
    bool ButtonDown() const;
    int HitCursor(int windowX, int windowY) const; // 1 over a grab-able part, else -1

private:
    // Where a press, move or release at window lands for the tool: on an edge when it snaps.
    QPoint ToolPoint(QPoint window, const CMeasureTool& tool);
    // CDrawingEdit
    CShapeHost& Host() override { return *this; }
    CMeasureShape* Add(std::unique_ptr<CMeasureShape> shape) override;
    CMeasureShape* Unfinished(int kind) const override;
    const std::vector<std::unique_ptr<CMeasureShape>>& Shapes() const override;
    const std::vector<std::unique_ptr<CTextLabel>>& TextLabels() const override;
    CCalibrationRuler* Ruler() const override { return m_ruler.get(); }
    void Select(uint32_t shape, uint32_t part, uint32_t text) override;
    void Forward(PointerHandler handler, QPoint p, int mode) override;
    void ForwardDoubleClick(QPoint p, int mode) override;
    void DropUnfinished() override;
    void FinishOpen() override;

    // Walks shapes and their children for a row id; returns the top-level index and the
    // perpendicular that matched (or null).
    bool FindRow(uint32_t rowId, int& shapeIndex, CMeasureShape*& perpendicular) const;
};

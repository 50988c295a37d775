#pragma once

#include "base/ColorSetting.h"
#include "base/FrameLayout.h"
#include "base/ToolModes.h"
#include "calibration/CalibrationSlot.h"
#include "measure/CrossLine.h"
#include "measure/DrawingHistory.h"
#include "measure/FrameRasteriser.h"
#include "measure/ViewTransform.h"
#include "measure/OverlayPainter.h"
#include "measure/ResultRow.h"

#include <QFont>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <mutex>
#include <vector>

class CCalibrationRuler;
class CMeasureShape;
class CPictureRescale;
class CTextLabel;
class QPainter;
class QStaticText;

// One row of the results list: the id of the label that shows the value, and its texts.

// Owns the measurements, free texts, cross lines and the calibration reference, and draws
// them over the still picture, over live frames and into saved pictures.
//
// The frame pump draws from its own thread while the user edits, so every public operation
// takes the one lock. Shapes call back into the manager while it is held: what they call
// takes no lock of its own, and listeners are told only once it is given up.
class CShapeManager
{
    struct CGuard
    {
        mutable std::mutex mutex;
        std::atomic<uint64_t> changes { 0 };
    };

public:
    // The one lock. Taken by an operation on a non-const manager it moves the change count
    // when it is given up, so no edit can be missed; queries and drawing take it quietly.
    class Lock
    {
    public:
        explicit Lock(CGuard& guard) : m_mutex(guard.mutex), m_changes(&guard.changes)
        {
            m_mutex.lock();
        }
        explicit Lock(const CGuard& guard) : m_mutex(guard.mutex) { m_mutex.lock(); }
        ~Lock()
        {
            if (m_changes)
                m_changes->fetch_add(1, std::memory_order_release);
            m_mutex.unlock();
        }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        std::mutex& m_mutex;
        std::atomic<uint64_t>* m_changes = nullptr;
    };

    static constexpr uint8_t kBurnInBackground = 128;

    CShapeManager();
    ~CShapeManager();
    CShapeManager(const CShapeManager&) = delete;
    CShapeManager& operator=(const CShapeManager&) = delete;

    // Shapes
    CMeasureShape* CreateShape(int kind);
    int FindShape(uint32_t id) const;
    void RemoveShape(uint32_t id);
    void RemoveByRowId(uint32_t rowId);
    void RemoveAll();
    void CancelUnfinished();
    void FinishVerticalLines();
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
    // For shapes, lock held: whether shape is what is in hand, drawn marked on the screen
    // (never into saved pictures).
    bool IsMarked(const CMeasureShape& shape) const;
    // The line or circle a scale can be set from: the selected one, else the newest finished
    // one. pixels is the line's length or the circle's diameter in image pixels, centre its
    // middle; false when there is none.
    bool ReferenceLength(double& pixels, QPoint& centre, int& kind) const;
    bool RemoveSelected();
    bool MoveSelected(int dx, int dy);

    // History of the drawing. Every change becomes one step once nothing is being drawn or
    // dragged: shapes made, moved or removed, labels moved, texts, cross lines, calibration.
    // A shape still being drawn belongs to no step; undo abandons it first.
    bool Undo();
    bool Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    bool HasWorkInProgress() const;
    // A session begins here: the drawing as it is now, nothing to undo or redo.
    void ResetHistory();
    // Changes between the outermost BeginStep and its EndStep are one step.
    void BeginStep();
    void EndStep();
    class CStepScope
    {
    public:
        explicit CStepScope(CShapeManager& manager) : m_manager(manager) { m_manager.BeginStep(); }
        ~CStepScope() { m_manager.EndStep(); }
        CStepScope(const CStepScope&) = delete;
        CStepScope& operator=(const CStepScope&) = delete;

    private:
        CShapeManager& m_manager;
    };
    // Told, with the lock given up, when an undo or redo changed the calibration in use: the
    // calibration now, and the one it replaced.
    using CalibrationRestoredHook =
            std::function<void(const CCalibrationSlot& now, const CCalibrationSlot& replaced)>;
    void SetCalibrationRestoredHook(CalibrationRestoredHook hook);

    // View transform
    void SetPan(int x, int y);
    QPoint Pan() const;
    float SetZoom(float zoom); // returns the previous zoom
    float Zoom() const;
    // Image pixels to the drawing target's pixels (lock held; mirrored on bottom-up targets).
    QPoint ImageToWindow(QPoint image) const;
    // Window pixels to the target's; overlays drawn in window pixels go through this too.
    QPoint ToTarget(QPoint window) const;
    QPoint WindowToImage(QPoint window) const;
    // The canvas client area: where the overlays are laid out.
    void SetClientSize(QSize size);
    QSize ClientSize() const;

    // Display settings
    void ApplyColourSettings(const CColorSetting& settings);
    CColorSetting ColourSettings() const;

    // Calibration and its on-screen reference
    void SetCalibration(const CCalibrationSlot& slot);
    // The same slot measured at another picture size: applied like SetCalibration, and the
    // history's scales are converted with it instead of recording a step.
    void ConvertCalibration(const CCalibrationSlot& slot,
            const std::function<CCalibrationSlot(const CCalibrationSlot&)>& convert);
    // The live picture arrives at another size of the same view: every shape, text and cross
    // line, and every state of the history, keeps its place on the picture. Not a step.
    void RescaleDrawing(const CPictureRescale& map);
    void EnableCalibrationRuler(bool on);
    bool CalibrationRulerEnabled() const;
    CCalibrationSlot GetCalibration() const;
    // Called after each drag step of the reference, with the scale of the new rectangle, and
    // when the shown reference had no extent and was placed in the middle of the picture.
    void SetCalibrationMovedHook(std::function<void()> hook);
    // The picture on the canvas in image pixels (empty before the canvas has a size).
    QSize PictureSize() const;
    // Effective scale: a slot without a usable scale measures in pixels ("px").
    double ScaleX() const;
    double ScaleY() const;
    QString UnitText() const;

    // Three-point angles read between their arms (0 to 180 degrees), or, asked for, from the
    // first arm round to the second (0 to 360).
    void SetDirectedAngles(bool directed);
    // For shapes, lock held.
    bool DirectedAngles() const { return m_bDirectedAngles; }

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

    // Tool and mouse
    void SetToolMode(int mode);
    int ToolMode() const;
    bool ButtonDown() const;
    // For shapes, which run under the lock: the press state and the zoom of what they draw.
    bool ButtonHeld() const { return m_bButtonDown; }
    float DrawingZoom() const { return View().zoom; }
    void OnLButtonDown(int windowX, int windowY);
    void OnLButtonUp(int windowX, int windowY);
    void OnMouseMove(int windowX, int windowY);
    void OnLButtonDblClk(int windowX, int windowY);
    int HitCursor(int windowX, int windowY) const; // 1 over a grab-able part, else -1

    // Drawing
    void DrawAll(QPainter& painter);
    void DrawOnFrame(QPainter& painter, int width, int height, int offsetX, int offsetY);
    // A 24-bit BGR frame, rows bottom-up and padded to 4 bytes.
    void DrawOnFrame(uint8_t* frame, int width, int height, int offsetX, int offsetY);
    // Burn-in: scratch (FrameStride(width) * height bytes) is filled with 128 and everything
    // is drawn into it at zoom 1 and pan 0; MergeRendered copies every other byte value.
    void RenderOnto(uint8_t* scratch, int width, int height);
    static void MergeRendered(uint8_t* image, const uint8_t* scratch, int width, int height);

    // Moves after every operation that may have changed what is drawn; the frame pump redraws
    // a live view that has no new camera frame only when it moved.
    uint64_t ChangeCount() const { return m_mutex.changes.load(std::memory_order_acquire); }

    // Window invalidation; an empty rectangle means the whole canvas.
    void SetInvalidateHook(std::function<void(const QRect&)> hook);

    // Used by the shapes while the lock is held.
    uint32_t NextShapeId();
    const QPen& ShapePen() const { return m_shapePen; }
    const QFont& LabelFont() const { return m_labelFont; }
    QColor TextColour() const;
    bool BurningIn() const { return m_bBurningIn; }
    QSize HitCharSize() const { return m_hitCharSize; } // average width, height
    void InvalidateWindowRect(const QRect& rect);
    void InvalidateAll();
    void DetachShape(CMeasureShape* shape);
    void Retire(std::unique_ptr<CMeasureShape> shape);
    void CalibrationRulerMoved();
    void NotifyCalibrationMoved();
    // A line between target points, stepped straight into raw frames.
    void DrawTargetLine(QPainter& painter, QPoint a, QPoint b, const QPen& pen);
    // A one-pixel circle stepped into a raw frame; false when not drawing on one.
    bool DrawTargetCircle(QPoint centre, int radius, const QPen& pen);
    void DrawLabelText(QPainter& painter, QPoint target, CTextLabel& label);
    void DrawUprightText(QPainter& painter, QPoint target, const QStaticText& text);

private:
    enum class Target { Canvas, Frame, Image };
    // The same as the public ones, for callers that already hold the lock.
    CMeasureShape* CreateShapeLocked(int kind);
    int FindShapeLocked(uint32_t id) const;
    void ClearSelectionLocked();
    QSize PictureSizeLocked() const;
    void DeleteTextLocked(int index);
    int FindTextLocked(uint32_t id) const;
    CCalibrationSlot CalibrationLocked() const;
    // The state without the copies, enough to compare with the history's.
    CDrawingState ProbeLocked() const;
    CDrawingState CaptureLocked() const; // with the copies
    // Records the drawing as a step when it changed, unless a press or a step group is open.
    void CommitLocked(uint64_t tag = 0);
    bool HasWorkInProgressLocked() const;
    // Replaces the drawing by a copy of the state; true when the calibration changed.
    bool RestoreLocked(const CDrawingState& state);
    bool StepHistory(bool forward);
    void ForgetSelection();
    void KeepSelectionIfPresent();
    void DrawEverything(QPainter& painter, Target target, int width, int height, int offsetX,
            int offsetY, const CViewTransform& view);
    // The transform of the drawing in progress, else the canvas's.
    const CViewTransform& View() const { return m_drawing ? *m_drawing : m_view; }
    void DrawRulerOverlay(
            QPainter& painter, Target target, int width, int height, int offsetX, int offsetY);
    void DrawGridOverlay(QPainter& painter, Target target, int width, int height);
    void DrawScaleBar(QPainter& painter, Target target, int width, int height);
    COverlayPainter Overlays() const;
    static COverlayPainter::Target OverlayTarget(Target target)
    {
        return static_cast<COverlayPainter::Target>(static_cast<int>(target));
    }
    void DrawCrossLines(QPainter& painter, int width, int height);
    void EnsureRuler();
    void SetCalibrationLocked(const CCalibrationSlot& slot);
    void PlaceRulerIfUnusable();
    void RemoveShapeAt(int index);
    // Release and move reach every shape, then the texts and the ruler, newest first.
    void ForwardPointer(void (CMeasureShape::*handler)(int, int, int), QPoint p);
    void BeginEvent();
    void EndEvent();
    // Walks shapes and their children for a row id; returns the top-level index and the
    // perpendicular that matched (or null).
    bool FindRow(uint32_t rowId, int& shapeIndex, CMeasureShape*& perpendicular) const;
    void ResultRowsOf(const CMeasureShape& shape, std::vector<CResultRow>& rows) const;

    CGuard m_mutex;
    std::vector<std::unique_ptr<CMeasureShape>> m_shapes;
    std::vector<CCrossLine> m_crossLines;
    CCalibrationSlot m_calibration;
    int m_nToolMode = 0;
    bool m_bButtonDown = false;
    CViewTransform m_view; // the canvas's zoom and pan, for the mouse and the canvas
    const CViewTransform* m_drawing = nullptr; // while drawing: that call's transform
    QPen m_shapePen;
    CColorSetting m_settings;
    QFont m_labelFont;
    std::unique_ptr<CCalibrationRuler> m_ruler;
    std::vector<std::unique_ptr<CTextLabel>> m_texts;

    QSize m_clientSize;
    QSize m_hitCharSize;
    bool m_bBurningIn = false;
    bool m_bDirectedAngles = false;
    QImage m_frameView; // the last frame buffer drawn on, wrapped without a copy
    // While a raw bottom-up buffer is drawn on: lines, circles and labels go straight into it.
    std::optional<CFrameRasteriser> m_raster;
    uint32_t m_lastId = 0;
    uint32_t m_eventId = 0; // non-zero while a mouse event is handled
    int m_eventDepth = 0;
    std::vector<std::unique_ptr<CMeasureShape>> m_retired;
    std::function<void(const QRect&)> m_invalidate;
    std::function<void()> m_calibrationMoved;
    bool m_bCalibrationMovedPending = false; // a drag step not yet told to the listener
    CalibrationRestoredHook m_calibrationRestored;
    CDrawingHistory m_history;
    int m_stepDepth = 0;
    uint32_t m_selectedShape = 0; // top-level shape id
    uint32_t m_selectedPart = 0; // the perpendicular of that shape pressed, if any
    uint32_t m_selectedText = 0; // free text id
};

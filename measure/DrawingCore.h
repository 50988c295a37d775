#pragma once

#include "calibration/CalibrationSlot.h"
#include "measure/CrossLine.h"
#include "measure/DrawingHistory.h"
#include "measure/EdgeSnap.h"
#include "measure/ShapeHost.h"
#include "measure/ViewTransform.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class CCalibrationRuler;
class CMeasureShape;
class CRenderer;
class CTextLabel;

// What a drawing is made of (shapes, free texts, cross lines, the calibration and its
// on-screen reference), the view the canvas shows it in, its history, and the one lock.
//
// The frame pump draws from its own thread while the user edits, so every public operation
// takes the one lock. Shapes call back into the drawing while it is held: what they call
// takes no lock of its own, and listeners are told only once it is given up.
class CDrawingCore : public CShapeHost
{
protected:
    struct CGuard
    {
        mutable std::mutex mutex;
        std::atomic<uint64_t> changes { 0 };
        std::function<void()> changed; // under mutex
    };

public:
    // The one lock. Taken by an operation on a non-const drawing it moves the change count
    // when it is given up, so no edit can be missed; queries and drawing take it quietly.
    class Lock
    {
    public:
        explicit Lock(CGuard& guard) : m_mutex(guard.mutex), m_guard(&guard) { m_mutex.lock(); }
        explicit Lock(const CGuard& guard) : m_mutex(guard.mutex) { m_mutex.lock(); }
        ~Lock()
        {
            if (m_guard) {
                m_guard->changes.fetch_add(1, std::memory_order_release);
                if (m_guard->changed)
                    m_guard->changed();
            }
            m_mutex.unlock();
        }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        std::mutex& m_mutex;
        CGuard* m_guard = nullptr;
    };

    CDrawingCore();
    ~CDrawingCore() override;
    CDrawingCore(const CDrawingCore&) = delete;
    CDrawingCore& operator=(const CDrawingCore&) = delete;

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
        explicit CStepScope(CDrawingCore& drawing) : m_drawing(drawing) { m_drawing.BeginStep(); }
        ~CStepScope() { m_drawing.EndStep(); }
        CStepScope(const CStepScope&) = delete;
        CStepScope& operator=(const CStepScope&) = delete;

    private:
        CDrawingCore& m_drawing;
    };
    // Told, with the lock given up, when an undo or redo changed the calibration in use: the
    // calibration now, and the one it replaced.
    using CalibrationRestoredHook =
            std::function<void(const CCalibrationSlot& now, const CCalibrationSlot& replaced)>;
    void SetCalibrationRestoredHook(CalibrationRestoredHook hook);
    // Whether the tool in use keeps drawing on shapes of an earlier step (a baseline's
    // perpendiculars): an undo then leaves them open.
    void SetToolResumesOpenShapes(bool resumes);

    // View of the canvas: zoom, pan and client area, for the mouse and the canvas.
    void SetPan(int x, int y);
    QPoint Pan() const;
    float SetZoom(float zoom); // returns the previous zoom
    float Zoom() const;
    QPoint WindowToImage(QPoint window) const;
    void SetClientSize(QSize size);
    QSize ClientSize() const;

    // Calibration and its on-screen reference
    void SetCalibration(const CCalibrationSlot& slot);
    // The same slot measured at another picture size: applied like SetCalibration, and the
    // history's scales are converted with it instead of recording a step.
    void ConvertCalibration(const CCalibrationSlot& slot,
            const std::function<CCalibrationSlot(const CCalibrationSlot&)>& convert);
    void EnableCalibrationRuler(bool on);
    bool CalibrationRulerEnabled() const;
    CCalibrationSlot GetCalibration() const;
    // Called after each drag step of the reference, with the scale of the new rectangle, and
    // when the shown reference had no extent and was placed in the middle of the picture.
    void SetCalibrationMovedHook(std::function<void()> hook);
    // The picture on the canvas in image pixels (empty before the canvas has a size).
    QSize PictureSize() const;

    // Three-point angles read between their arms (0 to 180 degrees), or, asked for, from the
    // first arm round to the second (0 to 360).
    void SetDirectedAngles(bool directed);

    // Window invalidation; an empty rectangle means the whole canvas.
    void SetInvalidateHook(std::function<void(const QRect&)> hook);

    // Moves after every operation that may have changed what is drawn; the frame pump redraws
    // a live view that has no new camera frame only when it moved.
    uint64_t ChangeCount() const { return m_mutex.changes.load(std::memory_order_acquire); }
    // Called each time the change count moves, on the thread that moved it and with the lock
    // held: it may only pass the news on (wake the pump, post a repaint).
    void SetChangeHook(std::function<void()> hook);

    // CShapeHost, lock held (the scale and unit are also read by the cross line dialog).
    uint32_t NextShapeId() override;
    double ScaleX() const override;
    double ScaleY() const override;
    QString UnitText() const override;
    bool DirectedAngles() const override { return m_bDirectedAngles; }
    bool ButtonHeld() const override { return m_bButtonDown; }
    QSize HitCharSize() const override { return m_hitCharSize; }
    QPoint ImageToWindow(QPoint image) const override { return m_view.ImageToTarget(image); }
    float CanvasZoom() const override { return m_view.zoom; }
    void InvalidateWindowRect(const QRect& rect) override;
    void InvalidateAll() override;
    void DetachShape(CMeasureShape* shape) override;
    void Retire(std::unique_ptr<CMeasureShape> shape) override;
    void CalibrationRulerMoved() override;
    QPointF SnappedOffset(QPoint image) const override { return m_snap.OffsetAt(image); }
    bool FitCircle(QPointF& centre, double& radius) const override
    {
        return m_snap.FitCircle(centre, radius);
    }

protected:
    friend class CRenderer;

    // Shapes built while one mouse event is handled share its id; shapes retired meanwhile
    // are destroyed only when the outermost event is done, as their handlers may still run.
    class CEventScope
    {
    public:
        explicit CEventScope(CDrawingCore& drawing);
        ~CEventScope();
        CEventScope(const CEventScope&) = delete;
        CEventScope& operator=(const CEventScope&) = delete;

    private:
        CDrawingCore& m_drawing;
    };

    // Steps that a run of the same change merges into one: a held arrow key, a spin box.
    enum class StepTag : uint64_t { MoveShape = 1, MoveText, CrossLine, EditText, TypeLength };
    static uint64_t Tag(StepTag kind, uint32_t value)
    {
        return static_cast<uint64_t>(kind) << 32 | value;
    }

    // The same as the public ones, for callers that already hold the lock.
    int FindShapeLocked(uint32_t id) const;
    int FindTextLocked(uint32_t id) const;
    void RemoveShapeAt(int index);
    void DeleteTextLocked(int index);
    void ClearSelectionLocked();
    void ForgetSelection();
    // Records the drawing as a step when it changed, unless a press or a step group is open.
    void CommitLocked(uint64_t tag = 0);
    bool HasWorkInProgressLocked() const;
    CCalibrationSlot CalibrationLocked() const;
    QSize PictureSizeLocked() const;
    void EnsureRuler();
    void NotifyCalibrationMoved();

    CGuard m_mutex;
    std::vector<std::unique_ptr<CMeasureShape>> m_shapes;
    std::vector<std::unique_ptr<CTextLabel>> m_texts;
    std::vector<CCrossLine> m_crossLines;
    std::unique_ptr<CCalibrationRuler> m_ruler;
    CCalibrationSlot m_calibration;
    CViewTransform m_view;
    QSize m_clientSize;
    bool m_bButtonDown = false;
    bool m_bDirectedAngles = false;
    uint32_t m_selectedShape = 0; // top-level shape id
    uint32_t m_selectedPart = 0; // the perpendicular of that shape pressed, if any
    uint32_t m_selectedText = 0; // free text id
    CDrawingHistory m_history;
    CEdgeSnap m_snap;

private:
    // The state without the copies, enough to compare with the history's.
    CDrawingState ProbeLocked() const;
    CDrawingState CaptureLocked() const; // with the copies
    // Replaces the drawing by a copy of the state; true when the calibration changed.
    bool RestoreLocked(const CDrawingState& state);
    bool StepHistory(bool forward);
    void KeepSelectionIfPresent();
    void SetCalibrationLocked(const CCalibrationSlot& slot);
    void PlaceRulerIfUnusable();

    QSize m_hitCharSize;
    bool m_bResumesOpenShapes = false;
    uint32_t m_lastId = 0;
    uint32_t m_eventId = 0; // non-zero while a mouse event is handled
    int m_eventDepth = 0;
    std::vector<std::unique_ptr<CMeasureShape>> m_retired;
    std::function<void(const QRect&)> m_invalidate;
    std::function<void()> m_calibrationMoved;
    bool m_bCalibrationMovedPending = false; // a drag step not yet told to the listener
    CalibrationRestoredHook m_calibrationRestored;
    int m_stepDepth = 0;
};

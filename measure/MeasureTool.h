#pragma once

#include "base/ToolModes.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class CDrawing;
class CDrawingEdit;

// What tools may ask of the user, outside the drawing's lock.
struct CToolServices
{
    // The text tool's text; no value means Cancel.
    std::function<std::optional<QString>()> askText;
};

// One way of turning mouse input into shapes. The tool box holds the tool in use; the
// drawing hands it each press, move, release and double-click under its lock, in image
// pixels. The base forwards releases, moves and double-clicks to every shape in the tool's
// mode, and is itself the state before any tool is chosen.
class CMeasureTool
{
public:
    explicit CMeasureTool(int mode = NoTool) : m_mode(mode) { }
    virtual ~CMeasureTool() = default;
    CMeasureTool(const CMeasureTool&) = delete;
    CMeasureTool& operator=(const CMeasureTool&) = delete;

    int Mode() const { return m_mode; }

    virtual void Press(CDrawingEdit& edit, QPoint p);
    virtual void Move(CDrawingEdit& edit, QPoint p);
    virtual void Release(CDrawingEdit& edit, QPoint p);
    virtual void DoubleClick(CDrawingEdit& edit, QPoint p);
    // After a release, the lock given up: a tool may ask the user (window pixels).
    virtual void Settle(CDrawing& drawing, const CToolServices& services, QPoint window);
    // Esc, or the tool chosen again: what it leaves unfinished goes.
    virtual void Cancel(CDrawingEdit& edit);
    // The tool is done by itself; the tool box then returns to select.
    virtual bool Finished() const { return false; }

    // Choosing this tool while it is in use ends it; the text tool starts again instead.
    virtual bool EndsWhenChosenAgain() const { return true; }
    // Choosing this tool abandons the shape another tool left unfinished.
    virtual bool TakesOver() const { return true; }
    // The tool keeps drawing on shapes left open (a baseline taking perpendiculars).
    virtual bool ResumesOpenShapes() const { return false; }
    // Shift keeps the pointer on a horizontal or vertical through the press.
    virtual bool SnapsWithShift() const { return false; }
    // With "Snap to edges" on, the points this tool places go onto edges.
    virtual bool SnapsToEdges() const { return false; }
    // The pointer shows what can be grabbed.
    virtual bool ShowsGrabCursor() const { return false; }

protected:
    // Releases since the tool was chosen.
    int Releases() const { return m_releases; }

private:
    int m_mode;
    int m_releases = 0;
};

using ToolFactory = std::unique_ptr<CMeasureTool> (*)();

template <class T> std::unique_ptr<CMeasureTool> MakeTool()
{
    return std::make_unique<T>();
}

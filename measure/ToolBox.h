#pragma once

#include "measure/MeasureTool.h"

#include <QPoint>

#include <functional>
#include <memory>

class CDrawing;

// Holds the tool in use and hands it the canvas's mouse input. Choosing the tool in use
// again ends it, Esc cancels it; either way select mode follows, as it does when a tool
// finishes by itself.
class CToolBox
{
public:
    explicit CToolBox(CDrawing& drawing);
    ~CToolBox();
    CToolBox(const CToolBox&) = delete;
    CToolBox& operator=(const CToolBox&) = delete;

    // Returns the mode now in force, so a panel can mark or un-mark its button.
    int Choose(int mode, ToolFactory make);
    // Puts the tool in use as it is, ending nothing.
    void Use(ToolFactory make);
    // Esc: what the tool leaves unfinished goes, select mode follows.
    void Cancel();
    int Mode() const { return m_tool->Mode(); }
    const CMeasureTool& Active() const { return *m_tool; }

    // Told, with the mode it had, when a tool finished by itself.
    void SetEndedHook(std::function<void(int mode)> hook) { m_ended = std::move(hook); }
    void SetServices(CToolServices services) { m_services = std::move(services); }

    // Mouse input in window pixels.
    void Press(QPoint window);
    void Move(QPoint window);
    void Release(QPoint window);
    void DoubleClick(QPoint window);
    // After a release has been shown: the tool may ask the user, then ends if it is done.
    void Settle(QPoint window);
    // A tool that is done ends: select mode, and the ended hook. True when it ended.
    bool EndIfFinished();

private:
    void Install(std::unique_ptr<CMeasureTool> tool);

    CDrawing& m_drawing;
    std::unique_ptr<CMeasureTool> m_tool;
    std::function<void(int mode)> m_ended;
    CToolServices m_services;
};

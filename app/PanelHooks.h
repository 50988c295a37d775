#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QString>

#include "capture/ResolutionList.h"
#include "measure/MeasureTool.h"


// What the side panel asks of windows and objects it does not own, besides the commands of the
// command table. The main window wires each entry to the object that does the work; an entry
// left empty is skipped, so the panel works before every window exists.
struct CPanelHooks
{
    // Measurement engine (the canvas's tool box). Without toolMode and chooseTool the panel
    // keeps the tool mode itself.
    std::function<int()> toolMode;
    // Chooses the tool the factory makes (the tool in use again ends it); returns the mode
    // now in force.
    std::function<int(int mode, ToolFactory make)> chooseTool;
    std::function<void()> cancelTool; // what the tool leaves unfinished goes; select mode

    // Capture object; statuses follow its convention (negative is failure).
    // The camera's "Resolution" list and the entry in use (-1: none); the panel fills its combo.
    std::function<int32_t(std::vector<CResolutionEntry>& entries, int& chosen)> videoSizeEntries;
    // A "Resolution" entry was chosen: its format key ("MJPG 30/1"), before the size changes.
    std::function<void(const QString& formatKey)> chooseVideoFormat;
};

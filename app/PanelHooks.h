#pragma once

#include <cstdint>
#include <functional>

#include <QString>

class QComboBox;

// What the side panel asks of windows and objects it does not own, besides the commands of the
// command table. The main window wires each entry to the object that does the work; an entry
// left empty is skipped, so the panel works before every window exists.
struct CPanelHooks
{
    // Measurement engine (the canvas's shape manager). Without toolMode and setToolMode the
    // panel keeps the tool mode itself.
    std::function<int()> toolMode;
    std::function<void(int mode)> setToolMode;
    std::function<void()> cancelUnfinished; // abandon the shape in progress
    std::function<void()> finishVerticalLines; // begin a tool other than vertical lines
    std::function<void()> resetReleaseCounter; // the pending-shape state

    // Capture object; statuses follow its convention (negative is failure).
    std::function<int32_t(QComboBox* combo)> fillVideoSizeCombo;
    // A "Resolution" entry was chosen: its format key ("MJPG 30/1"), before the size changes.
    std::function<void(const QString& formatKey)> chooseVideoFormat;
};

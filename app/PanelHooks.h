#pragma once

#include <cstdint>
#include <functional>

class QComboBox;
class QWidget;

// What the side panel asks of windows and objects it does not own. The main window wires
// each entry to the object that does the work; an entry left empty is skipped, so the panel
// works before every window exists.
struct CPanelHooks
{
    // Measurement engine (the canvas's shape manager). Without toolMode and setToolMode the
    // panel keeps the tool mode itself.
    std::function<int()> toolMode;
    std::function<void(int mode)> setToolMode;
    std::function<void()> cancelUnfinished; // abandon the shape in progress
    std::function<void()> finishVerticalLines; // begin a tool other than vertical lines
    std::function<void()> resetReleaseCounter; // the pending-shape state
    std::function<void(bool live)> setLive;
    std::function<void(int periodMs)> startCanvasTimer; // timer 1
    std::function<void()> killCanvasTimer;
    std::function<void()> suspendPump;
    std::function<void()> resumePump;

    // Capture object; statuses follow its convention (negative is failure).
    std::function<int32_t()> graphRun;
    std::function<int32_t()> graphPause;
    std::function<int32_t()> graphStop;
    std::function<int32_t()> graphTearDown;
    std::function<int32_t(int width, int height)> changeVideoSize;
    std::function<int32_t(QComboBox* combo)> fillVideoSizeCombo;
    std::function<int32_t(QWidget* owner)> showVideoPropertyPages;
    // Copies one frame through the filters into the current frame image.
    std::function<void()> captureToFrame;

    // Commands carried out by other windows.
    std::function<void()> deviceSetting; // still mode "Setting"
    std::function<void()> saveSnapshot;
    std::function<void()> saveSetting;
    std::function<void()> saveAs;
    std::function<void()> thumbView; // the "ThumbView" dialog, modal
    std::function<void()> imageCompare;
    std::function<void()> textsManager;
    std::function<void()> keepFrameForMerge; // current frame image into the spare one
    std::function<void()> runMergeDialog; // modal
    std::function<void()> restoreFrameAfterMerge; // spare frame image back
    std::function<void()> clearMeasurements;
    std::function<void()> saveCsv;
    std::function<void()> colorSetting;
    std::function<void()> showCalibration;
    std::function<void()> crossLineDialog;
    // A click on the panel's own results list and its loss of focus; a list handed over with
    // SetResultsList() does its own highlighting.
    std::function<void()> resultsClicked;
    std::function<void()> resultsFocusLost;
};

#pragma once

#include <cstdint>
#include <functional>

#include <QString>

#include "measure/MeasureTool.h"

class QComboBox;

// What the side panel asks of windows and objects it does not own. The main window wires
// each entry to the object that does the work; an entry left empty is skipped, so the panel
// works before every window exists.
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
    std::function<int32_t(QComboBox* combo)> fillVideoSizeCombo;
    // A "Resolution" entry was chosen: its format key ("MJPG 30/1"), before the size changes.
    std::function<void(const QString& formatKey)> chooseVideoFormat;

    // Commands carried out by other windows.
    std::function<void()> videoPropertyPages; // live "Setting"
    std::function<void()> deviceSetting; // still "Setting"
    std::function<void()> saveSnapshot;
    std::function<void()> saveSetting;
    std::function<void()> saveAs;
    std::function<void()> thumbView; // the "ThumbView" dialog, modal
    std::function<void()> imageCompare;
    std::function<void()> textsManager;
    std::function<void()> clearMeasurements;
    std::function<void()> saveCsv;
    std::function<void()> colorSetting;
    std::function<void()> showCalibration;
    std::function<void()> storeFileCalibration; // the opened picture's scale into a slot
    std::function<void()> crossLineDialog;
    // A click on the panel's own results list and its loss of focus; a list handed over with
    // SetResultsList() does its own highlighting.
    std::function<void()> resultsClicked;
    std::function<void()> resultsFocusLost;
};

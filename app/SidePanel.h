#pragma once

#include "app/CommandTable.h"
#include "app/PanelHooks.h"
#include "app/PanelHost.h"
#include "base/ToolModes.h"

#include <QWidget>

#include <array>

class CPanelButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QSlider;
class QToolButton;
class QTreeWidget;

// The command panel beside the picture: two columns of buttons ("Load images" and
// "Measurement"), the zoom and capture-size combos, binarization and the results list. Each
// button triggers its command of the command table and is enabled as the command is; the panel
// binds the commands it carries out itself (live and still, the tools and the display flags).
class CSidePanel : public QWidget
{
    Q_OBJECT
public:
    // The buttons are the commands with a panel row, in the order of the two columns.
    using Button = CCommandTable::Command;
    using enum CCommandTable::Command;
    static constexpr int ButtonCount = CCommandTable::kPanelCount;

    static constexpr int kSnapTop = 511;
    static constexpr int kStatusTop = kSnapTop + 26;
    static constexpr int kStatusHeight = 36; // two lines, more when the text needs them
    static constexpr int kResultsTop = kStatusTop + kStatusHeight + 4; // below two lines
    static constexpr int kResultsWidth = 249;
    static constexpr int kMinResultsHeight = 100; // a few rows, also in a short window
    static constexpr int kHostWidth = 252;
    static constexpr int kMinimumWidth = 230; // the panel host less a vertical scroll bar

    CSidePanel(CPanelHost& host, CCommandTable& commands, QWidget* parent = nullptr);
    ~CSidePanel() override;

    // Wire the hooks first: initialisation already restarts the pump and fills the combos.
    CPanelHooks& Hooks() { return m_hooks; }
    void Initialise();
    // Refills "Resolution" from the camera in use (after the Device setting dialog).
    void FillResolutionCombo();

    CPanelButton* ButtonAt(Button id) const { return m_buttons[id]; }
    QComboBox* ScaleCombo() const { return m_scaleCombo; }
    QComboBox* ResolutionCombo() const { return m_resolutionCombo; }
    QCheckBox* BinCheck() const { return m_binCheck; }
    QSlider* ThresholdSlider() const { return m_slider; }
    QLabel* ValLabel() const { return m_valLabel; }
    QWidget* ResultsList() const { return m_resultsList; }
    QLabel* CalibrationStatus() const { return m_calibrationStatus; }
    // Where the results list starts: below the calibration status, however many lines it has.
    int ResultsTop() const { return m_resultsTop; }
    QToolButton* StoreCalibrationButton() const { return m_storeButton; }

    // The scale the measurements are in; offerStore shows the button that keeps a picture's
    // own scale in a slot.
    void SetCalibrationStatus(const QString& text, bool offerStore);
    // Shows a display scale chosen by the program (a big picture opening at "Fit In").
    void ShowDisplayScale(int scale);
    // Takes over a results list made elsewhere (the panel's own one is deleted).
    void SetResultsList(QWidget* list);
    void PlaceResultsList();

    int ToolMode() const;
    // Set mode none, clear the pending shape, un-mark the tool buttons, abandon the shape.
    void CancelTool();
    // The canvas ends a tool on its own after the last click.
    void OnToolEnded();
    // Every command as its rule says ("ImgCmp" only while live); the buttons follow.
    void UpdateIdle();
    // UpdateIdle() once the events being handled are done with.
    void PostIdleUpdate();
    // The one entry of the tool commands: the tool of that mode, or none when it is chosen.
    void ChooseTool(int mode, ToolFactory make);

public slots:
    // The host switched between live and still: captions, artwork and the live-only
    // controls follow.
    void OnLiveStateChanged(bool live, StillEntry how);
    void OnVideo();
    void OnSetting();
    void OnMeasure();
    void OnAnotation();
    void OnAHE();
    void OnMerge();
    void OnWB();
    void OnScaleChanged(int index);
    void OnResolutionChanged(int index);
    void OnThresholdChanged(int value);
    void OnBinChanged(int state);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void PlaceControls();
    void PlaceStatus();
    void LoadBitmaps();
    void SetUpResultsList();
    void SetToolTips();
    void SelectTool(Button button, int mode, ToolFactory make);
    void SetToolModeValue(int mode);
    void MarkOnlyTool(Button button);
    void UnmarkToolButtons();
    void ApplyScale();
    void SetLiveControlsEnabled(bool enabled);

    CPanelHost& m_host;
    CCommandTable& m_commands;
    CPanelHooks m_hooks;
    int m_nToolMode = SelectMode; // only while no engine is wired
    std::array<CPanelButton*, ButtonCount> m_buttons {};
    QGroupBox* m_loadGroup = nullptr;
    QGroupBox* m_measureGroup = nullptr;
    QLabel* m_scaleLabel = nullptr;
    QComboBox* m_scaleCombo = nullptr;
    QLabel* m_resolutionLabel = nullptr;
    QComboBox* m_resolutionCombo = nullptr;
    QCheckBox* m_binCheck = nullptr;
    QCheckBox* m_snapCheck = nullptr; // "Snap to edges", the command's action
    QSlider* m_slider = nullptr;
    QLabel* m_valLabel = nullptr;
    QLabel* m_calibrationStatus = nullptr;
    int m_resultsTop = kResultsTop;
    QToolButton* m_storeButton = nullptr;
    QWidget* m_resultsList = nullptr;
};

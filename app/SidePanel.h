#pragma once

#include "app/PanelHooks.h"
#include "app/PanelHost.h"
#include "app/ShortcutTable.h"
#include "base/ToolModes.h"

#include <QWidget>

#include <array>

class CPanelButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QSlider;
class QTimer;
class QToolButton;
class QTreeWidget;

// The command panel beside the picture: two columns of buttons ("Load images" and
// "Measurement"), the zoom and capture-size combos, binarization and the results list.
class CSidePanel : public QWidget
{
    Q_OBJECT
public:
    enum Button {
        // "Load images"
        Video,
        Setting,
        Save,
        SaveSetting,
        SaveAs,
        Measure,
        Thumb,
        ImgCmp,
        Anotation,
        AnotationDB,
        AHE,
        Merge,
        WB,
        // "Measurement"
        Line,
        Angle3,
        Angle4,
        Circle,
        Distance,
        Vertical,
        Area,
        Clear,
        SaveCsv,
        Color,
        CAL,
        CrossLine,
        ButtonCount
    };

    static constexpr int kStatusTop = 511;
    static constexpr int kStatusHeight = 36; // two lines, more when the text needs them
    static constexpr int kResultsTop = kStatusTop + kStatusHeight + 4; // below two lines
    static constexpr int kResultsWidth = 249;
    static constexpr int kMinResultsHeight = 100; // a few rows, also in a short window
    static constexpr int kHostWidth = 252;
    static constexpr int kMinimumWidth = 230; // the panel host less a vertical scroll bar

    explicit CSidePanel(CPanelHost& host, QWidget* parent = nullptr);

    // Wire the hooks first: initialisation already restarts the pump and fills the combos.
    CPanelHooks& Hooks() { return m_hooks; }
    void Initialise();
    // Refills "Resolution" from the camera in use (after the Device setting dialog).
    void FillResolutionCombo();

    CPanelButton* ButtonAt(Button id) const { return m_buttons[id]; }
    // The key that presses the button, written in the button's row; CommandCount: none.
    static CShortcutTable::Command KeyOf(Button id);
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
    // Enables every button that has a command ("ImgCmp" only while live).
    void UpdateIdle();

public slots:
    // The host switched between live and still: captions, artwork and the live-only
    // controls follow.
    void OnLiveStateChanged(bool live, StillEntry how);
    void OnVideo();
    void OnSetting();
    void OnSave();
    void OnSaveSetting();
    void OnSaveAs();
    void OnMeasure();
    void OnThumb();
    void OnImgCmp();
    void OnAnotation();
    void OnAnotationDB();
    void OnAHE();
    void OnMerge();
    void OnWB();
    void OnClear();
    void OnSaveCsv();
    void OnColor();
    void OnCAL();
    void OnCrossLine();
    void OnScaleChanged(int index);
    void OnResolutionChanged(int index);
    void OnThresholdChanged(int value);
    void OnBinChanged(int state);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void PlaceControls();
    void PlaceStatus();
    void LoadBitmaps();
    void SetUpResultsList();
    void SetToolTips();
    void SelectTool(Button button, int mode);
    void SetToolModeValue(int mode);
    void MarkOnlyTool(Button button);
    void UnmarkToolButtons();
    void ApplyScale();
    void SetLiveControlsEnabled(bool enabled);
    // Cancel the tool and run a command of another window.
    void RunHook(const std::function<void()>& hook);

    CPanelHost& m_host;
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
    QSlider* m_slider = nullptr;
    QLabel* m_valLabel = nullptr;
    QLabel* m_calibrationStatus = nullptr;
    int m_resultsTop = kResultsTop;
    QToolButton* m_storeButton = nullptr;
    QWidget* m_resultsList = nullptr;
    QTimer* m_idleTimer = nullptr;
};

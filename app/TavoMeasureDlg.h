#pragma once

#include "app/PanelHost.h"
#include "base/ColorSetting.h"
#include "base/GeneralSettings.h"
#include "base/UserMessages.h"
#include "calibration/CalibrationTable.h"
#include "image/xImage.h"
#include "video/FrameFilterSettings.h"

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class CCalibrationDlg;
class CCameraSession;
class CPictureCalibration;
class CCommandTable;
class CEdgeFinders;
class CFramePump;
class CImageListWnd;
class CLiveAids;
class CLiveAidsController;
class CLiveAidsPanel;
class CLiveController;
class CMessageBoxes;
class CPictureController;
class CRecordingFeed;
class CResultListCtrl;
class CSnapshotSaver;
class CMeasureCanvas;
class CSidePanel;
class CTavoGraphDll;
class CWindowCommands;
class QFrame;
class QLabel;
class QToolButton;

// The main window: its layout and the composition of the program's parts. Holds the settings,
// the capture object and the calibration table; reads GENERAL, COLORSETTING and CALIBRATION on
// construction and writes them on destruction. Live and still, the picture being measured and
// the live aids are each a controller of their own; the window hands their questions on.
class CTavoMeasureDlg : public QWidget, public CPanelHost
{
    Q_OBJECT
public:
    explicit CTavoMeasureDlg(const QString& settingsPath, QWidget* parent = nullptr);
    ~CTavoMeasureDlg() override;

    // Creates the canvas, opens the camera, lays out, shows maximised, creates the panel,
    // the thumbnail list and the calibration dialog. showWindow is off in tests.
    void Initialise(bool showWindow = true);

    void RecalLayOut();
    void SizeCanvas();
    void RestartVideo() override;
    // Shows a picture file as the still image on the canvas; false when it cannot be read.
    bool OpenStillPicture(const QString& path);
    // Copies the newest camera frame through the filters into the current frame image.
    bool CaptureToFrame();
    // Capture to frame, still mode, pause the graph, repaint.
    void Pause();
    // Shows the current frame image on the canvas as the still picture.
    void ShowCurrentFrame();
    CxImage& CurrentFrame();
    CLiveController& Live() const { return *m_live; }
    CPictureController& Picture() const { return *m_picture; }
    CCalibrationDlg* CalibrationDlg() const { return m_calibrationDlg; }
    CPictureCalibration& PictureCalibration() const;
    CResultListCtrl* ResultList() const { return m_resultList; }
    CFramePump* Pump() const;
    const CRecordingFeed* RecordingFeed() const;
    CCameraSession& CameraSession() const { return *m_camera; }
    // True while the canvas says "Camera disconnected" (or why the camera stopped).
    bool CameraDisconnected() const;

    CGeneralSettings& General() override { return m_general; }
    // Why Setting.ini cannot be written, as found at the start; empty when it can.
    const QString& SettingsProblem() const { return m_settingsProblem; }
    CColorSetting& ColorSetting() { return m_colorSetting; }
    CCalibrationTable& Calibration() { return m_calibration; }
    // Where the exit's "settings not written" message goes; by default a message box after
    // the user closed the window, otherwise standard error.
    void SetSettingsFailureSink(std::function<void(const QString&)> sink)
    {
        m_settingsFailureSink = std::move(sink);
    }
    CTavoGraphDll& Graph() { return *m_graph; }
    CMeasureCanvas* Canvas() const { return m_canvas; }
    CImageListWnd* ThumbnailList() const { return m_thumbnails; }
    CSidePanel* SidePanel() const { return m_sidePanel; }
    CCommandTable& Commands() const { return *m_commands; }
    CWindowCommands& WindowCommands() const { return *m_windowCommands; }
    CLiveAidsPanel* LiveAidsPanel() const;
    CLiveAids& LiveAids() const;
    QFrame* VideoHost() const { return m_videoHost; }
    QFrame* PanelHost() const { return m_panelHost; }
    QFrame* ThumbHost() const { return m_thumbHost; }

    bool StillMode() const override;
    // The live/still switch: graph, still mode, canvas, pump and timer, then
    // liveStateChanged. Both begin by cancelling the tool.
    void SwitchToLive();
    void SwitchToStill(StillEntry how);
    QSize DisplaySize() const;
    float DisplayZoom() const;

    // What the side panel reads and changes.
    void RequestLive() override { SwitchToLive(); }
    void RequestStill() override { SwitchToStill(StillEntry::VideoButton); }
    int DisplayScale() const override { return m_general.m_nDisp; }
    void ApplyDisplayScale(int scale) override;
    QSize CaptureSize() const override;
    void ChangeCaptureSize(QSize size, int displayScale) override;
    bool Measure() const override { return m_general.m_bMeasure; }
    void SetMeasure(bool on) override { m_general.m_bMeasure = on; }
    bool Binarize() const override { return m_bBinarize; }
    void SetBinarize(bool on) override
    {
        m_bBinarize = on;
        FiltersChanged();
    }
    int Threshold() const override { return m_nBinarizeThreshold; }
    void SetThreshold(int threshold) override
    {
        m_nBinarizeThreshold = threshold;
        FiltersChanged();
    }
    bool Equalize() const override { return m_bEqualize; }
    void SetEqualize(bool on) override
    {
        m_bEqualize = on;
        FiltersChanged();
    }
    // Suspends the pump, lends the display values and the current frame to the Image Merge
    // dialog and takes them back; a switch made in the dialog is undone.
    void RunMerge() override;
    void Repaint() override { update(); }

    int m_nBinarizeThreshold = 128;
    bool m_bBinarize = false;
    bool m_bEqualize = false; // "AHE"
    // The picture opened from the thumbnails or from disk; empty while live.
    const QString& CurrentFile() const;
    void SetCurrentFile(const QString& file);
    // The summary of the last count of the picture shown; empty after a switch to live or
    // another picture.
    const QStringList& CountSummary() const;
    bool CountShown() const;

signals:
    void liveStateChanged(bool live, StillEntry how);

public slots:
    // SIGTERM or SIGINT: closes like the user would, but nobody is there to read a message box.
    void CloseOnSignal();
    void OnWakeUp();
    // "kalvex FILE" while Kalvex runs: the second start hands the path over.
    void OnOpenRequested(const QString& path);
    void OnAbout();
    void OnHidePanel();
    void OnShowPanel();
    void OnHideStrip();
    void OnShowStrip();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void LoadSettings();
    void TellSettingsProblem();
    bool SaveSettings(QString& error);
    void ReportSettingsFailure(const QString& error) const;
    void CreateControllers();
    void ApplyToggle();
    QToolButton* MakeToggleButton(
            const QString& objectName, const QString& icon, const QString& toolTip);
    void ToggleLive();
    void CancelTool();
    void RunMergeDialog();
    void ShowCalibrationStatus();
    void CreateCalibrationDialog();
    void CreateResultList();
    void WirePanel();
    void WireThumbnails();
    void CreateSnapshotSaver();
    void OpenPictureFromList(const QString& path);
    CFrameFilterSettings FilterSettings() const;
    // The live view's filters follow at once.
    void FiltersChanged() override;
    void WireShortcuts();
    void RunDeviceSetting();
    void RunCount();
    void WireEdgeSnapping();

    QString m_settingsPath;
    std::function<void(const QString&)> m_settingsFailureSink;
    QString m_settingsProblem; // why Setting.ini cannot be written, found at the start
    bool m_closedBySignal = false;
    bool m_closedByUser = false;
    // The window's messages go to message boxes unless a test records them.
    std::unique_ptr<CMessageBoxes> m_messageBoxes;
    std::unique_ptr<CTavoGraphDll> m_graph;
    CGeneralSettings m_general;
    CColorSetting m_colorSetting;
    CCalibrationTable m_calibration;

    QFrame* m_videoHost = nullptr;
    QFrame* m_panelHost = nullptr;
    QFrame* m_thumbHost = nullptr;
    QToolButton* m_btnHidePanel = nullptr; // "<<"
    QToolButton* m_btnShowPanel = nullptr; // ">>"
    QToolButton* m_btnShowStrip = nullptr; // "A"
    QToolButton* m_btnHideStrip = nullptr; // "V"
    CMeasureCanvas* m_canvas = nullptr;
    CSidePanel* m_sidePanel = nullptr;
    CImageListWnd* m_thumbnails = nullptr;

    std::unique_ptr<CCameraSession> m_camera;
    std::unique_ptr<CPictureController> m_picture;
    // Used on the pump's thread: made after the pump, it goes after it.
    std::unique_ptr<CLiveAidsController> m_liveAids;
    std::unique_ptr<CLiveController> m_live;
    CCalibrationDlg* m_calibrationDlg = nullptr;
    CResultListCtrl* m_resultList = nullptr;
    std::unique_ptr<CSnapshotSaver> m_saver;
    std::unique_ptr<CEdgeFinders> m_edgeFinders;
    CCommandTable* m_commands = nullptr;
    CWindowCommands* m_windowCommands = nullptr;
};

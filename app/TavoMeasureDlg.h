#pragma once

#include "app/PanelHost.h"
#include "base/ColorSetting.h"
#include "base/GeneralSettings.h"
#include "calibration/CalibrationTable.h"
#include "count/ShownCount.h"
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
class CPictureRescale;
class CCommandTable;
class CFramePump;
class CGraphFrameSource;
class CImageListWnd;
class CLiveAids;
class CLiveAidsPanel;
class CRecordingFeed;
class CTimeLapse;
class CResultListCtrl;
class CSnapshotSaver;
class CMeasureCanvas;
class CSidePanel;
class CTavoGraphDll;
class CWindowCommands;
class QFrame;
class QLabel;
class QMenu;
class QTimer;
class QToolButton;

// The main window and the program's shared state: settings, capture object, calibration
// table and the current picture. Reads GENERAL, COLORSETTING and CALIBRATION on
// construction and writes them on destruction. Owns the switch between live video and a
// still picture.
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
    CxImage& CurrentFrame() { return m_frameImage; }
    CxImage& SpareFrame() { return m_spareImage; }
    CCalibrationDlg* CalibrationDlg() const { return m_calibrationDlg; }
    CPictureCalibration& PictureCalibration() const { return *m_pictureCalibration; }
    CResultListCtrl* ResultList() const { return m_resultList; }
    CFramePump* Pump() const { return m_pump.get(); }
    const CRecordingFeed* RecordingFeed() const { return m_recordingFeed.get(); }
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
    CLiveAidsPanel* LiveAidsPanel() const { return m_liveAidsPanel; }
    CLiveAids& LiveAids() const { return *m_liveAids; }
    QFrame* VideoHost() const { return m_videoHost; }
    QFrame* PanelHost() const { return m_panelHost; }
    QFrame* ThumbHost() const { return m_thumbHost; }

    bool StillMode() const override { return m_bStill; }
    // The live/still switch: graph, still mode, canvas, pump and timer, then
    // liveStateChanged. Both begin by cancelling the tool.
    void SwitchToLive();
    void SwitchToStill(StillEntry how);
    QSize DisplaySize() const { return { m_nDisplayWidth, m_nDisplayHeight }; }
    float DisplayZoom() const { return m_fZoom; }

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
    void SetBinarize(bool on) override { m_bBinarize = on; }
    int Threshold() const override { return m_nBinarizeThreshold; }
    void SetThreshold(int threshold) override { m_nBinarizeThreshold = threshold; }
    bool Equalize() const override { return m_bEqualize; }
    void SetEqualize(bool on) override { m_bEqualize = on; }
    // Suspends the pump, lends the display values and the current frame to the Image Merge
    // dialog and takes them back; a switch made in the dialog is undone.
    void RunMerge() override;
    void Repaint() override { update(); }

    int m_nBinarizeThreshold = 128;
    bool m_bBinarize = false;
    bool m_bEqualize = false; // "AHE"
    QString m_strCurrentFile; // the picture opened from the thumbnails; empty while live
    // The summary of the last count of the picture shown; empty after a switch to live or
    // another picture.
    const QStringList& CountSummary() const { return m_shownCount.Summary(); }
    bool CountShown() const { return m_shownCount.HasOverlay(); }

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
    void OpenCamera();
    // Selects the saved camera at the saved size, or the nearest size it offers (said once).
    bool SelectCamera();
    void ApplyToggle();
    QToolButton* MakeToggleButton(
            const QString& objectName, const QString& icon, const QString& toolTip);
    QSize SourceSize() const;
    // The size of the picture being measured, live or still; the calibration follows it.
    QSize MeasuredSize() const;
    void FollowPictureSize();
    void FollowLiveResize(const CPictureRescale& map);
    // The canvas and the pump learn still mode at once, so a restart that follows already
    // serves the new mode.
    void SetStillMode(bool still);
    void ToggleLive();
    void CancelTool();
    void RunMergeDialog();
    void StartFramePump();
    void PushPumpState();
    void CreatePictureCalibration();
    void ShowCalibrationStatus();
    void StoreFileCalibration();
    void FitBigPicture();
    void CreateCalibrationDialog();
    void CreateResultList();
    void WirePanel();
    void WireThumbnails();
    void CreateSnapshotSaver();
    void ShowPictureError(const QString& path, const QString& reason);
    void OpenPictureFromList(const QString& path);
    bool OpenPicture(const QString& path, const QString& currentFile);
    CFrameFilterSettings FilterSettings() const;
    void WireShortcuts();
    // Peaking, meter, histogram, time-lapse and video under the side panel
    // (TavoMeasureLiveAids.cpp).
    void CreateLiveAids();
    QString TakeTimeLapsePicture(QString& reason);
    bool StartRecording(bool withDrawing, QString& path, QString& reason);
    // Ends the file off the window's thread; finished runs on the window's thread afterwards.
    void StopRecording(std::function<void(bool finished, const QString& reason)> finished);

    // The camera in daily use (TavoMeasureCamera.cpp).
    void WireCamera();
    void OnCameraLost();
    void OnCameraAppeared();
    // text: what the note says, empty to keep it.
    void ShowCameraState(bool disconnected, const QString& text = {});
    void OnCameraButtonUnreadable(const QString& path, const QString& reason);
    void ChooseVideoFormat(const QString& key);
    void RunVideoPropertyPages();
    void AfterDeviceSetting(const QString& identityBefore);

    QString m_settingsPath;
    std::function<void(const QString&)> m_settingsFailureSink;
    QString m_settingsProblem; // why Setting.ini cannot be written, found at the start
    bool m_closedBySignal = false;
    bool m_closedByUser = false;
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

    bool m_bStill = false;
    bool m_bSizeWasLive = false; // the size the drawing was last laid over was the camera's
    bool m_bToldAspectChange = false;
    int m_nDisplayWidth = 640;
    int m_nDisplayHeight = 480;
    float m_fZoom = 1.0f;
    QSize m_stillSize;

    CxImage m_frameImage; // the current frame: last captured or opened picture
    CxImage m_spareImage; // kept while the merge tool borrows the current frame
    std::vector<uint8_t> m_captureBuffer;
    std::unique_ptr<CGraphFrameSource> m_frameSource;
    // Used on the pump thread: made before the pump, so they go after it.
    std::unique_ptr<CLiveAids> m_liveAids;
    std::unique_ptr<CRecordingFeed> m_recordingFeed;
    std::unique_ptr<CFramePump> m_pump;
    QTimer* m_pumpStateTimer = nullptr;
    CCalibrationDlg* m_calibrationDlg = nullptr;
    CResultListCtrl* m_resultList = nullptr;
    std::unique_ptr<CSnapshotSaver> m_saver;
    std::unique_ptr<CPictureCalibration> m_pictureCalibration;
    CCommandTable* m_commands = nullptr;
    CWindowCommands* m_windowCommands = nullptr;
    std::unique_ptr<CCameraSession> m_camera;
    QLabel* m_cameraState = nullptr; // "Camera disconnected" over the picture
    bool m_resumeLive = false; // the camera went while live: live again when one comes
    bool m_videoSizeNoted = false; // a saved size the camera lacks is said once a run
    CTimeLapse* m_timeLapse = nullptr;
    CLiveAidsPanel* m_liveAidsPanel = nullptr;
    CShownCount m_shownCount;
};

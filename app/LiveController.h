#pragma once

#include "app/PanelHost.h"
#include "video/FrameFilterSettings.h"

#include <QObject>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CCameraSession;
class CFramePump;
class CLiveViewPlacement;
class CGraphFrameSource;
class CLiveStackSource;
class CMeasureCanvas;
class CPictureController;
class CTavoGraphDll;
class IFrameSource;
struct CGeneralSettings;
class QLabel;
class QWidget;

// Live video and the still picture: the switch between them, the frame pump that shows the
// camera's frames with the drawing over them, and the camera in daily use (unplug and replug,
// its snapshot button, its formats and controls).
class CLiveController : public QObject
{
    Q_OBJECT
public:
    struct CContext
    {
        CTavoGraphDll& graph;
        CCameraSession& camera;
        CGeneralSettings& general;
        CMeasureCanvas& canvas;
        QWidget& videoHost;
        CPictureController& picture;
        std::function<CFrameFilterSettings()> filters;
        // Ends the tool in progress (the panel's buttons show it).
        std::function<void()> cancelTool;
    };

    explicit CLiveController(CContext context, QObject* parent = nullptr);
    ~CLiveController() override;

    bool Still() const { return m_still; }
    CFramePump& Pump() const { return *m_pump; }
    IFrameSource* FrameSource() const;

    // Opens the saved camera at the saved size and starts its graph.
    void OpenCamera();
    // Watches the camera for unplug, replug and its button; the note goes over the picture.
    void WatchCamera();
    bool CameraDisconnected() const;

    // Both begin by ending the tool, and end with liveStateChanged.
    void SwitchToLive();
    void SwitchToStill(StillEntry how);
    void ToggleLive();
    // A picture replaces what is shown: still without taking a frame.
    void StillForPicture();
    // Capture to frame, still mode, pause the graph, repaint.
    void Pause();
    // Copies the newest frame (the live stack's while it is on) through the filters into the
    // current frame.
    bool CaptureToFrame();

    // The live stack: the pump shows, and CaptureToFrame takes, the running stack instead of
    // the camera's frames. Turning it on again starts a new stack.
    void SetLiveStack(bool on);
    bool LiveStackOn() const { return m_liveStack != nullptr; }
    // Null while it is off.
    CLiveStackSource* LiveStack() const { return m_liveStack.get(); }

    void PushPumpState();
    void RestartVideo();
    void ApplyDisplayScale(int scale);
    QSize CaptureSize() const;
    void ChangeCaptureSize(QSize size, int displayScale);
    void ChooseVideoFormat(const QString& key);
    void RunVideoPropertyPages();
    // The Device setting dialog may have chosen another camera.
    void AfterDeviceSetting(const QString& identityBefore);
    // The pump stops before anything it reads goes away.
    void Stop();

signals:
    void liveStateChanged(bool live, StillEntry how);
    void liveStackChanged(bool on);
    void snapshotPressed();
    // Another camera (or the same one again) is in use: its sizes may differ.
    void cameraChanged();

private:
    void StartFramePump();
    void SetStillMode(bool still);
    // Selects the saved camera at the saved size, or the nearest size it offers (said once).
    bool SelectCamera();
    void OnCameraLost();
    void OnCameraAppeared();
    // text: what the note says, empty to keep it.
    void ShowCameraState(bool disconnected, const QString& text = {});
    void OnCameraButtonUnreadable(const QString& path, const QString& reason);

    CContext m_context;
    bool m_still = false;
    std::vector<uint8_t> m_captureBuffer;
    std::unique_ptr<CGraphFrameSource> m_frameSource;
    std::unique_ptr<CLiveStackSource> m_liveStack;
    std::unique_ptr<CFramePump> m_pump;
    // Where the pump puts its views itself (X11); goes before the pump, which owns the
    // presenter.
    std::unique_ptr<CLiveViewPlacement> m_placement;
    QLabel* m_cameraState = nullptr; // "Camera disconnected" over the picture
    bool m_resumeLive = false; // the camera went while live: live again when one comes
    bool m_videoSizeNoted = false; // a saved size the camera lacks is said once a run
};

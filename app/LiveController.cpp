#include "app/LiveController.h"

#include "app/LiveViewPlacement.h"
#include "app/PictureController.h"
#include "base/GeneralSettings.h"
#include "base/Trace.h"
#include "base/UserMessages.h"
#include "capture/ResolutionList.h"
#include "capture/TavoGraphDll.h"
#include "measure/MeasureCanvas.h"
#include "measure/ShapeManager.h"
#include "video/CameraSession.h"
#include "video/FramePump.h"
#include "video/GraphFrameSource.h"
#include "video/LiveStackSource.h"
#include "video/WindowPresenter.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QRegion>
#include <QTimer>

namespace {
constexpr int kCameraPollMs = 500;
} // namespace

CLiveController::CLiveController(CContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context))
{
    StartFramePump();
    // Another camera's frames do not belong to the stack of the last one.
    connect(this, &CLiveController::cameraChanged, this, [this] {
        if (m_liveStack)
            m_liveStack->Reset();
    });
}

CLiveController::~CLiveController()
{
    m_placement.reset();
    // The canvas outlives the pump.
    m_context.canvas.SetDrawingChangedHook({});
    m_context.canvas.SetLivePainter({});
}

IFrameSource* CLiveController::FrameSource() const
{
    return m_liveStack ? static_cast<IFrameSource*>(m_liveStack.get()) : m_frameSource.get();
}

void CLiveController::SetLiveStack(bool on)
{
    if (on == LiveStackOn())
        return;
    // The pump may be reading the source it has: it is swapped between two of its frames.
    m_pump->SuspendPump();
    std::unique_ptr<CLiveStackSource> old = std::move(m_liveStack);
    if (on)
        m_liveStack = std::make_unique<CLiveStackSource>(*m_frameSource);
    m_pump->SetSource(FrameSource());
    m_pump->ResumePump();
    old.reset();
    emit liveStackChanged(on);
}

void CLiveController::StartFramePump()
{
    m_frameSource = std::make_unique<CGraphFrameSource>(m_context.graph);
    m_pump = std::make_unique<CFramePump>();
    m_pump->SetSource(m_frameSource.get());
    CMeasureCanvas* canvas = &m_context.canvas;
    m_pump->SetOverlayPainter([canvas](QPainter& painter, const CPumpState& state) {
        canvas->Manager().DrawOnFrame(
                painter, state.displayWidth, state.displayHeight, -state.originX, -state.originY);
    });
    // An idle live view is redrawn only for a new camera frame or a change of the drawing.
    m_pump->SetChangeProbe([canvas] { return canvas->Manager().ChangeCount(); });
    m_pump->SetPresentNotifier([canvas] {
        QMetaObject::invokeMethod(canvas, &CMeasureCanvas::UpdateLiveView, Qt::QueuedConnection);
    });
    CFramePump* pump = m_pump.get();
    // On X11 the pump puts its views onto the window itself, and the user-interface thread
    // paints the live view only when Qt draws the window anyway.
    if (std::unique_ptr<CWindowPresenter> presenter = CWindowPresenter::Create()) {
        CWindowPresenter& shown = *presenter;
        m_pump->SetPresenter(std::move(presenter));
        m_placement =
                std::make_unique<CLiveViewPlacement>(*canvas, shown, [pump] { pump->Represent(); });
    }
    canvas->SetLivePainter([this, pump, shown = false](QPainter& painter) mutable {
        PushPumpState();
        // Painted over what the pump put: it shows its newest view again once this is out.
        if (m_placement)
            QTimer::singleShot(0, this, [pump] { pump->Represent(); });
        pump->PaintView([&painter](const QImage& view) {
            // Black only where the view does not reach: filling under it doubles the work.
            QRegion around(0, 0, painter.device()->width(), painter.device()->height());
            if (!view.isNull()) {
                painter.drawImage(0, 0, view);
                around -= view.rect();
            }
            for (const QRect& part : around)
                painter.fillRect(part, Qt::black);
        });
        if (!shown && pump->Latency().frames > 0) {
            shown = true;
            qCDebug(lcTrace) << "first live frame on screen";
        }
    });
    canvas->SetPumpHooks(
            [this] {
                PushPumpState();
                m_pump->Restart();
            },
            [pump] { pump->SuspendPump(); }, [pump] { pump->ResumePump(); });
    // Nothing polls: the pump hears of the drawing's changes and the view's as they happen.
    canvas->SetDrawingChangedHook([pump] { pump->Wake(); });
    connect(canvas, &CMeasureCanvas::viewChanged, this, &CLiveController::PushPumpState);
}

void CLiveController::PushPumpState()
{
    if (!m_pump)
        return;
    const CGeneralSettings& general = m_context.general;
    const QSize display = m_context.picture.DisplaySize();
    CPumpState state;
    state.still = m_still;
    state.captureWidth = general.m_nVideoWidth;
    state.captureHeight = general.m_nVideoHeight;
    state.displayWidth = display.width();
    state.displayHeight = display.height();
    const QPoint origin = m_context.canvas.ScrollOrigin();
    state.originX = origin.x();
    state.originY = origin.y();
    state.displayScale = general.m_nDisp;
    const QSize host = m_context.videoHost.size();
    const bool fit = general.m_nDisp == 0;
    state.viewWidth = fit ? display.width() : std::min(display.width(), host.width());
    state.viewHeight = fit ? display.height() : std::min(display.height(), host.height());
    state.parentWidth = host.width();
    state.parentHeight = host.height();
    state.filters = m_context.filters();
    m_pump->SetState(state);
}

void CLiveController::Stop()
{
    m_context.canvas.SetDrawingChangedHook({});
    if (m_pump) {
        m_pump->Stop();
        qCDebug(lcTrace) << "frames copied" << m_pump->FramesCopied() << "presented"
                         << m_pump->FramesPresented();
    }
}

bool CLiveController::CaptureToFrame()
{
    CxImage& frame = m_context.picture.Frame();
    IFrameSource& source = *FrameSource();
    frame.Destroy();
    int width = 0;
    int height = 0;
    if (source.GetCaptureSize(width, height) < 0 || width <= 0 || height <= 0)
        return false;
    int32_t size = CFramePump::FrameBytes(width, height);
    int32_t held = size;
    // The grabber knows the size of the frame it holds; trust it over the requested size.
    if (source.CaptureToBuf(&held, nullptr) >= 0 && held != size)
        return false;
    m_captureBuffer.resize(static_cast<size_t>(size));
    if (source.CaptureToBuf(&size, m_captureBuffer.data()) < 0)
        return false;
    m_context.filters().Apply(m_captureBuffer.data(), width, height);
    return frame.CreateFromBuffer(m_captureBuffer.data(), static_cast<uint32_t>(width),
            static_cast<uint32_t>(height), 24,
            static_cast<uint32_t>(CFramePump::FrameBytes(width, 1)), false);
}

void CLiveController::SetStillMode(bool still)
{
    // The canvas and the pump learn still mode at once, so a restart that follows already
    // serves the new mode.
    m_still = still;
    m_context.canvas.SetStillMode(still);
    PushPumpState();
}

void CLiveController::SwitchToLive()
{
    m_context.cancelTool();
    // Back from a still picture the stage may be anywhere: the stack starts again.
    if (m_liveStack)
        m_liveStack->Reset();
    m_context.graph.MakeGraph();
    SetStillMode(false);
    m_context.picture.SizeCanvas();
    RestartVideo();
    m_context.picture.LiveStarted();
    emit liveStateChanged(true, StillEntry::VideoButton);
}

void CLiveController::SwitchToStill(StillEntry how)
{
    m_context.cancelTool();
    if (how == StillEntry::VideoButton)
        Pause();
    m_context.graph.Stop();
    m_context.graph.TearDownGraph();
    SetStillMode(true);
    emit liveStateChanged(false, how);
}

void CLiveController::ToggleLive()
{
    if (m_still)
        SwitchToLive();
    else
        SwitchToStill(StillEntry::VideoButton);
}

void CLiveController::StillForPicture()
{
    if (m_still)
        SetStillMode(true);
    else
        SwitchToStill(StillEntry::OpeningPicture);
}

void CLiveController::Pause()
{
    CaptureToFrame();
    m_context.picture.ShowCurrentFrame();
    SetStillMode(true);
    m_context.graph.Pause();
    m_context.canvas.update();
}

void CLiveController::RestartVideo()
{
    PushPumpState();
    m_context.canvas.RestartVideo();
}

void CLiveController::ApplyDisplayScale(int scale)
{
    m_context.general.m_nDisp = scale;
    m_context.picture.SizeCanvas();
    RestartVideo();
    m_context.canvas.update();
}

QSize CLiveController::CaptureSize() const
{
    int width = 0;
    int height = 0;
    m_context.graph.GetCaptureSize(width, height);
    return { width, height };
}

void CLiveController::ChangeCaptureSize(QSize size, int displayScale)
{
    m_context.graph.ChangeVideoSize(size.width(), size.height());
    // The camera may refuse the size: what it reports is what the program works with.
    int width = 0;
    int height = 0;
    if (m_context.graph.GetCaptureSize(width, height) >= 0) {
        m_context.general.m_nVideoWidth = width;
        m_context.general.m_nVideoHeight = height;
    }
    ApplyDisplayScale(displayScale);
    m_context.picture.SizeCanvas();
}

void CLiveController::OpenCamera()
{
    CTavoGraphDll& graph = m_context.graph;
    if (graph.InitGraph() < 0)
        return;
    if (!SelectCamera())
        return;
    // The camera's own settings go to it before it streams.
    m_context.camera.CameraOpened();
    graph.MakeGraph();
    QString name;
    // A start with the microscope unplugged must not forget which one the user chose.
    if (graph.GetCurCapDeviceName(name) >= 0 && !name.isEmpty())
        m_context.general.m_strDeviceName = name;
}

bool CLiveController::SelectCamera()
{
    CTavoGraphDll& graph = m_context.graph;
    CGeneralSettings& general = m_context.general;
    // The saved size goes to the camera before it is checked against the camera's sizes.
    const QSize saved(general.m_nVideoWidth, general.m_nVideoHeight);
    graph.SetCaptureSize(saved.width(), saved.height());
    if (graph.SpecifyCapDevice(general.m_strDeviceName) < 0 || !graph.HasCamera())
        return false;
    graph.GetCaptureSize(general.m_nVideoWidth, general.m_nVideoHeight);
    const QSize granted(general.m_nVideoWidth, general.m_nVideoHeight);
    if (granted != saved && !saved.isEmpty() && !m_videoSizeNoted) {
        m_videoSizeNoted = true;
        UserMessages().Inform({ .text = tr("The camera does not offer the saved video size %1 X "
                                           "%2; it shows %3 X %4 instead.")
                                                .arg(saved.width())
                                                .arg(saved.height())
                                                .arg(granted.width())
                                                .arg(granted.height()),
                .name = QStringLiteral("videoSizeMessage") });
    }
    graph.SetCaptureFormat(general.m_strVideoFormat, general.m_strFrameRate);
    graph.SetParentWindow(&m_context.canvas);
    return true;
}

void CLiveController::WatchCamera()
{
    m_cameraState = new QLabel(tr("Camera disconnected"), &m_context.videoHost);
    m_cameraState->setObjectName(QStringLiteral("cameraState"));
    // A note over the picture, not a cover: the picture stays measurable under it.
    m_cameraState->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_cameraState->setStyleSheet(QStringLiteral(
            "QLabel { background: rgba(160, 0, 0, 200); color: white; padding: 4px 8px; }"));
    m_cameraState->move(8, 8);
    m_cameraState->hide();

    CCameraSession* camera = &m_context.camera;
    connect(camera, &CCameraSession::cameraLost, this, &CLiveController::OnCameraLost);
    connect(camera, &CCameraSession::cameraAppeared, this, &CLiveController::OnCameraAppeared);
    connect(camera, &CCameraSession::snapshotPressed, this, &CLiveController::snapshotPressed);
    connect(camera, &CCameraSession::buttonUnreadable, this,
            &CLiveController::OnCameraButtonUnreadable);
    // "Video" pressed while the note is up: the camera is tried again, and watched again.
    connect(this, &CLiveController::liveStateChanged, this, [this](bool live) {
        if (live && m_context.camera.Lost() && m_context.graph.HasCamera()) {
            m_context.camera.CameraOpened();
            ShowCameraState(false);
        }
    });
    // The button of a camera opened before the window was wired may already be unreadable.
    camera->CameraOpened();
    if (!m_context.graph.HasCamera())
        m_resumeLive = !m_still;
    camera->Start(kCameraPollMs);
}

bool CLiveController::CameraDisconnected() const
{
    return m_cameraState && !m_cameraState->isHidden();
}

void CLiveController::ShowCameraState(bool disconnected, const QString& text)
{
    if (!m_cameraState)
        return;
    if (!text.isEmpty())
        m_cameraState->setText(text);
    m_cameraState->adjustSize();
    m_cameraState->setVisible(disconnected);
    m_cameraState->raise();
}

void CLiveController::OnCameraLost()
{
    CTavoGraphDll& graph = m_context.graph;
    // A camera still there whose stream failed (another program holds it, say) is not
    // "disconnected": the note says what the stream reported.
    const QString error = graph.GraphError();
    QString name;
    graph.GetCurCapDeviceName(name);
    const bool present = !error.isEmpty() && graph.CapDeviceProblem(name).isEmpty();
    qCDebug(lcTrace) << "camera lost:" << (present ? error : QStringLiteral("disconnected"));
    // The last frame stays as the still picture, so what was being measured stays.
    // Live without a single frame (gone before it sent one): the picture there is kept as it is.
    m_resumeLive = !m_still;
    TavoFrameStamp stamp;
    const bool hasFrame = graph.GetNewestFrameStamp(&stamp) >= 0;
    if (!m_still)
        SwitchToStill(hasFrame ? StillEntry::VideoButton : StillEntry::OpeningPicture);
    if (!hasFrame)
        m_context.picture.ShowCurrentFrame();
    graph.Stop();
    graph.TearDownGraph();
    ShowCameraState(
            true, present ? tr("The camera stopped: %1").arg(error) : tr("Camera disconnected"));
    // An unplug may reach the stream before the node goes: look once more.
    if (present)
        QTimer::singleShot(1000, this, [this, name] {
            if (CameraDisconnected() && !m_context.graph.CapDeviceProblem(name).isEmpty())
                ShowCameraState(true, tr("Camera disconnected"));
        });
}

void CLiveController::OnCameraAppeared()
{
    // The user went on to a picture of the strip meanwhile: that picture stays.
    const bool resume = m_resumeLive && m_context.picture.CurrentFile().isEmpty();
    if (!SelectCamera())
        return;
    m_context.camera.CameraOpened();
    ShowCameraState(false);
    m_resumeLive = false;
    emit cameraChanged();
    if (resume)
        SwitchToLive();
}

void CLiveController::OnCameraButtonUnreadable(const QString& path, const QString& reason)
{
    // Once per run, and not in the way: the program works without the button.
    UserMessages().Inform(
            { .text = tr("The camera's snapshot button cannot be read (%1: %2).\n\n"
                         "To use it, install the udev rule that comes with Kalvex "
                         "(70-kalvex-camera-button.rules) and plug the camera in again, or add "
                         "yourself to the \"input\" group.")
                              .arg(QDir::toNativeSeparators(path), reason),
                    .name = QStringLiteral("cameraButtonMessage") });
}

void CLiveController::ChooseVideoFormat(const QString& key)
{
    QString subtype;
    CFrameRate rate;
    if (!CResolutionEntry::ParseKey(key, subtype, rate))
        return;
    m_context.general.m_strVideoFormat = subtype;
    m_context.general.m_strFrameRate = rate.Text();
    m_context.graph.SetCaptureFormat(subtype, rate.Text());
}

void CLiveController::RunVideoPropertyPages()
{
    m_context.graph.ShowVideoPropertyPages(&m_context.canvas);
    // What the user set is kept at once: an unplug later cannot take it away.
    m_context.camera.RememberControls();
}

void CLiveController::AfterDeviceSetting(const QString& identityBefore)
{
    QString identity;
    m_context.graph.GetCurCapDeviceIdentity(identity);
    if (identity != identityBefore)
        m_context.camera.CameraOpened();
}

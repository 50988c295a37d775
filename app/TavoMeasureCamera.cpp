// The main window's part in the camera's daily use: unplug and replug, the snapshot button,
// the format of the "Resolution" entries and the controls kept per camera. The work is done by
// CCameraSession; these are the window's answers to it.
#include "app/TavoMeasureDlg.h"

#include "app/SidePanel.h"
#include "app/PanelButton.h"
#include "base/Trace.h"
#include "capture/ResolutionList.h"
#include "capture/TavoGraphDll.h"
#include "measure/MeasureCanvas.h"
#include "video/CameraSession.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace {
constexpr int kCameraPollMs = 500;
} // namespace

void CTavoMeasureDlg::WireCamera()
{
    m_cameraState = new QLabel(tr("Camera disconnected"), m_videoHost);
    m_cameraState->setObjectName(QStringLiteral("cameraState"));
    // A note over the picture, not a cover: the picture stays measurable under it.
    m_cameraState->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_cameraState->setStyleSheet(QStringLiteral(
            "QLabel { background: rgba(160, 0, 0, 200); color: white; padding: 4px 8px; }"));
    m_cameraState->move(8, 8);
    m_cameraState->hide();

    CCameraSession* camera = m_camera.get();
    connect(camera, &CCameraSession::cameraLost, this, &CTavoMeasureDlg::OnCameraLost);
    connect(camera, &CCameraSession::cameraAppeared, this, &CTavoMeasureDlg::OnCameraAppeared);
    connect(camera, &CCameraSession::snapshotPressed, this,
            [this] { m_sidePanel->ButtonAt(CSidePanel::Save)->click(); });
    connect(camera, &CCameraSession::buttonUnreadable, this,
            &CTavoMeasureDlg::OnCameraButtonUnreadable);
    m_sidePanel->Hooks().chooseVideoFormat = [this](const QString& key) { ChooseVideoFormat(key); };
    // "Video" pressed while the note is up: the camera is tried again, and watched again.
    connect(this, &CTavoMeasureDlg::liveStateChanged, this, [this](bool live) {
        if (live && m_camera->Lost() && m_graph->HasCamera()) {
            m_camera->CameraOpened();
            ShowCameraState(false);
        }
    });
    // The button of a camera opened before the window was wired may already be unreadable.
    camera->CameraOpened();
    if (!m_graph->HasCamera())
        m_resumeLive = !m_bStill;
    camera->Start(kCameraPollMs);
}

bool CTavoMeasureDlg::CameraDisconnected() const
{
    return m_cameraState && !m_cameraState->isHidden();
}

void CTavoMeasureDlg::ShowCameraState(bool disconnected, const QString& text)
{
    if (!m_cameraState)
        return;
    if (!text.isEmpty())
        m_cameraState->setText(text);
    m_cameraState->adjustSize();
    m_cameraState->setVisible(disconnected);
    m_cameraState->raise();
}

void CTavoMeasureDlg::OnCameraLost()
{
    // A camera still there whose stream failed (another program holds it, say) is not
    // "disconnected": the note says what the stream reported.
    const QString error = m_graph->GraphError();
    QString name;
    m_graph->GetCurCapDeviceName(name);
    const bool present = !error.isEmpty() && m_graph->CapDeviceProblem(name).isEmpty();
    qCDebug(lcTrace) << "camera lost:" << (present ? error : QStringLiteral("disconnected"));
    // The last frame stays as the still picture, so what was being measured stays.
    // Live without a single frame (gone before it sent one): the picture there is kept as it is.
    m_resumeLive = !m_bStill;
    TavoFrameStamp stamp;
    const bool hasFrame = m_graph->GetNewestFrameStamp(&stamp) >= 0;
    if (!m_bStill)
        SwitchToStill(hasFrame ? StillEntry::VideoButton : StillEntry::OpeningPicture);
    if (!hasFrame)
        ShowCurrentFrame();
    m_graph->Stop();
    m_graph->TearDownGraph();
    ShowCameraState(
            true, present ? tr("The camera stopped: %1").arg(error) : tr("Camera disconnected"));
    // An unplug may reach the stream before the node goes: look once more.
    if (present)
        QTimer::singleShot(1000, this, [this, name] {
            if (CameraDisconnected() && !m_graph->CapDeviceProblem(name).isEmpty())
                ShowCameraState(true, tr("Camera disconnected"));
        });
}

void CTavoMeasureDlg::OnCameraAppeared()
{
    // The user went on to a picture of the strip meanwhile: that picture stays.
    const bool resume = m_resumeLive && m_strCurrentFile.isEmpty();
    if (!SelectCamera())
        return;
    m_camera->CameraOpened();
    ShowCameraState(false);
    m_resumeLive = false;
    m_sidePanel->FillResolutionCombo();
    if (resume)
        SwitchToLive();
}

bool CTavoMeasureDlg::SelectCamera()
{
    // The saved size goes to the camera before it is checked against the camera's sizes.
    const QSize saved(m_general.m_nVideoWidth, m_general.m_nVideoHeight);
    m_graph->SetCaptureSize(saved.width(), saved.height());
    if (m_graph->SpecifyCapDevice(m_general.m_strDeviceName) < 0 || !m_graph->HasCamera())
        return false;
    m_graph->GetCaptureSize(m_general.m_nVideoWidth, m_general.m_nVideoHeight);
    const QSize granted(m_general.m_nVideoWidth, m_general.m_nVideoHeight);
    if (granted != saved && !saved.isEmpty() && !m_videoSizeNoted) {
        m_videoSizeNoted = true;
        auto* box = new QMessageBox(QMessageBox::Information, windowTitle(),
                tr("The camera does not offer the saved video size %1 X %2; it shows %3 X %4 "
                   "instead.")
                        .arg(saved.width())
                        .arg(saved.height())
                        .arg(granted.width())
                        .arg(granted.height()),
                QMessageBox::Ok, this);
        box->setObjectName(QStringLiteral("videoSizeMessage"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    }
    m_graph->SetCaptureFormat(m_general.m_strVideoFormat, m_general.m_strFrameRate);
    m_graph->SetParentWindow(m_canvas);
    return true;
}

void CTavoMeasureDlg::OnCameraButtonUnreadable(const QString& path, const QString& reason)
{
    // Once per run, and not in the way: the program works without the button.
    auto* box = new QMessageBox(QMessageBox::Information, windowTitle(),
            tr("The camera's snapshot button cannot be read (%1: %2).\n\n"
               "To use it, install the udev rule that comes with Kalvex "
               "(70-kalvex-camera-button.rules) and plug the camera in again, or add yourself "
               "to the \"input\" group.")
                    .arg(QDir::toNativeSeparators(path), reason),
            QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("cameraButtonMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void CTavoMeasureDlg::ChooseVideoFormat(const QString& key)
{
    QString subtype;
    CFrameRate rate;
    if (!CResolutionEntry::ParseKey(key, subtype, rate))
        return;
    m_general.m_strVideoFormat = subtype;
    m_general.m_strFrameRate = rate.Text();
    m_graph->SetCaptureFormat(subtype, rate.Text());
}

void CTavoMeasureDlg::RunVideoPropertyPages()
{
    m_graph->ShowVideoPropertyPages(m_canvas);
    // What the user set is kept at once: an unplug later cannot take it away.
    m_camera->RememberControls();
}

void CTavoMeasureDlg::AfterDeviceSetting(const QString& identityBefore)
{
    QString identity;
    m_graph->GetCurCapDeviceIdentity(identity);
    if (identity != identityBefore)
        m_camera->CameraOpened();
}

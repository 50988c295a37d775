#include "video/CameraSession.h"

#include "base/Trace.h"
#include "capture/TavoGraphDll.h"
#include "video/CameraButton.h"
#include "video/CameraWatch.h"

CCameraSession::CCameraSession(CTavoGraphDll& graph, QObject* parent)
    : QObject(parent), m_graph(graph), m_watch(new CCameraWatch(graph, this)),
      m_button(new CCameraButton(this))
{
    connect(m_watch, &CCameraWatch::cameraLost, this, [this] {
        CameraClosed();
        emit cameraLost();
    });
    connect(m_watch, &CCameraWatch::cameraAppeared, this, &CCameraSession::cameraAppeared);
    connect(m_button, &CCameraButton::pressed, this, &CCameraSession::snapshotPressed);
    connect(m_button, &CCameraButton::unreadable, this, &CCameraSession::buttonUnreadable);
}

CCameraSession::~CCameraSession() = default;

void CCameraSession::Save(CIniFile& ini)
{
    RememberControls();
    m_profiles.Save(ini);
}

void CCameraSession::RememberControls()
{
    // An unplugged camera cannot be read any more: its profile is what was kept before.
    if (m_lost || m_graph.IsDeviceLost())
        return;
    CCameraControls* controls = m_graph.CameraControls();
    if (!controls)
        return;
    QString identity;
    QString name;
    m_graph.GetCurCapDeviceIdentity(identity);
    m_graph.GetCurCapDeviceName(name);
    m_profiles.Remember(identity, name, *controls);
}

void CCameraSession::CameraOpened()
{
    if (!m_graph.HasCamera()) {
        CameraClosed();
        return;
    }
    m_lost = false;
    QString identity;
    m_graph.GetCurCapDeviceIdentity(identity);
    if (CCameraControls* controls = m_graph.CameraControls()) {
        const bool restored = m_profiles.Restore(identity, *controls);
        qCDebug(lcTrace) << "camera" << identity << (restored ? "profile restored" : "no profile");
    }
    QString path;
    m_graph.GetCurCapDevicePath(path);
    m_button->Attach(path);
    m_watch->SetConnected(true);
}

void CCameraSession::CameraClosed()
{
    m_lost = true;
    m_button->Detach();
    m_watch->SetConnected(false);
}

void CCameraSession::Start(int pollMs)
{
    m_watch->Start(pollMs);
}

#include "video/CameraWatch.h"

#include "base/Trace.h"
#include "capture/CaptureDeviceSource.h"
#include "capture/TavoGraphDll.h"

#include <QTimer>

CCameraWatch::CCameraWatch(CTavoGraphDll& graph, QObject* parent) : QObject(parent), m_graph(graph)
{
}

void CCameraWatch::Start(int intervalMs)
{
    m_graph.WatchDevices();
    if (intervalMs <= 0)
        return;
    if (!m_timer) {
        m_timer = new QTimer(this);
        connect(m_timer, &QTimer::timeout, this, &CCameraWatch::Poll);
    }
    m_timer->start(intervalMs);
}

void CCameraWatch::SetConnected(bool connected)
{
    m_connected = connected;
    m_idlePolls = 0;
    m_path.clear();
    if (connected)
        m_graph.GetCurCapDevicePath(m_path);
    else
        m_present = m_graph.AvailableDeviceIdentities();
    // What the monitor said before this moment is history.
    QList<CDeviceChange> old;
    m_graph.TakeDeviceChanges(old);
}

void CCameraWatch::Poll()
{
    QList<CDeviceChange> changes;
    m_graph.TakeDeviceChanges(changes);
    if (m_connected) {
        bool removed = false;
        for (const CDeviceChange& change : std::as_const(changes))
            removed = removed
                    || (change.kind == CDeviceChange::EKind::Removed && !m_path.isEmpty()
                            && change.device.path == m_path);
        if (removed || m_graph.IsDeviceLost()) {
            qCDebug(lcTrace) << "camera lost" << m_path;
            SetConnected(false);
            emit cameraLost();
        }
        return;
    }
    bool added = false;
    for (const CDeviceChange& change : std::as_const(changes))
        added = added || change.kind == CDeviceChange::EKind::Added;
    if (!added && ++m_idlePolls % m_listEvery == 0) {
        // Without monitor messages: a camera not there when waiting began.
        const QStringList now = m_graph.AvailableDeviceIdentities();
        for (const QString& identity : now)
            added = added || !m_present.contains(identity);
        // One that went away since is no longer "present" when it comes back.
        m_present.removeIf([&now](const QString& identity) { return !now.contains(identity); });
    }
    if (added) {
        qCDebug(lcTrace) << "camera appeared";
        emit cameraAppeared();
    }
}

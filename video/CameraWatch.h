#pragma once

#include <QObject>
#include <QStringList>

#include <algorithm>

class CTavoGraphDll;
class QTimer;

// Notices the camera in use going away and a camera coming: the device monitor's messages
// when the device list has a monitor, the camera's pipeline failing, and a look at the device
// list now and then while no camera is in use.
class CCameraWatch : public QObject
{
    Q_OBJECT
public:
    explicit CCameraWatch(CTavoGraphDll& graph, QObject* parent = nullptr);

    // Starts the device monitor and polls every intervalMs (0: only when Poll is called).
    void Start(int intervalMs);
    // A camera is in use (true) or the program waits for one (false); the cameras present
    // while waiting begins do not count as arriving.
    void SetConnected(bool connected);
    bool Connected() const { return m_connected; }
    // How many polls without news pass between two looks at the device list while waiting.
    void SetListEvery(int polls) { m_listEvery = std::max(1, polls); }

public slots:
    void Poll();

signals:
    void cameraLost();
    void cameraAppeared();

private:
    CTavoGraphDll& m_graph;
    QTimer* m_timer = nullptr;
    bool m_connected = false;
    QString m_path; // the node of the camera in use
    QStringList m_present; // cameras there when waiting began
    int m_listEvery = 4;
    int m_idlePolls = 0;
};

#pragma once

#include "video/CameraProfiles.h"

#include <QObject>

class CCameraButton;
class CCameraWatch;
class CIniFile;
class CTavoGraphDll;

// The camera in daily use, apart from any window: its controls kept per camera and given back
// when it opens, the watch that notices it going and coming, and its snapshot button.
class CCameraSession : public QObject
{
    Q_OBJECT
public:
    explicit CCameraSession(CTavoGraphDll& graph, QObject* parent = nullptr);
    ~CCameraSession() override;

    void Load(const CIniFile& ini) { m_profiles.Load(ini); }
    // Keeps the values of the camera in use, then writes every profile into ini.
    void Save(CIniFile& ini);

    // The graph selected a camera: its profile goes to it, its button is listened to, and the
    // watch follows it. Without a camera the watch waits for one.
    void CameraOpened();
    // The camera went away: the button is let go and the watch waits for a camera.
    void CameraClosed();
    // Keeps the values the camera in use has now as its profile.
    void RememberControls();
    // Starts the device monitor and the watch's polling.
    void Start(int pollMs);

    CCameraProfiles& Profiles() { return m_profiles; }
    CCameraWatch& Watch() const { return *m_watch; }
    CCameraButton& Button() const { return *m_button; }
    bool Lost() const { return m_lost; }

signals:
    void cameraLost();
    void cameraAppeared();
    void snapshotPressed();
    void buttonUnreadable(const QString& path, const QString& reason);

private:
    CTavoGraphDll& m_graph;
    CCameraProfiles m_profiles;
    CCameraWatch* m_watch = nullptr;
    CCameraButton* m_button = nullptr;
    bool m_lost = false;
};

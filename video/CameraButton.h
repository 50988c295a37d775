#pragma once

#include "video/ButtonInput.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;

// The snapshot button of a USB camera. UVC cameras report it through an input device of
// their own that sends KEY_CAMERA; it is found through sysfs as the event node on the same USB
// device as the camera's video node. A button that cannot be read is reported once per run.
class CCameraButton : public QObject
{
    Q_OBJECT
public:
    using InputFactory = std::function<std::unique_ptr<CButtonInput>()>;

    explicit CCameraButton(QObject* parent = nullptr);
    ~CCameraButton() override;

    // Where to look instead of /sys and /dev/input (tests), and what opens the node.
    void SetSystemFolders(const QString& sysRoot, const QString& inputFolder);
    void SetInputFactory(InputFactory factory) { m_factory = std::move(factory); }

    // Listens to the button of the camera at videoNode ("/dev/video0"); false when the camera
    // has none or it cannot be read.
    bool Attach(const QString& videoNode);
    void Detach();
    bool Attached() const { return m_input != nullptr; }
    QString InputPath() const { return m_path; }

    // The event node ("event7") of the camera's button, empty when there is none.
    static QString FindEventNode(const QString& sysRoot, const QString& videoNode);
    // Whether the key bitmap of sysfs ("capabilities/key") holds KEY_CAMERA.
    static bool KeyBitmapHasCamera(const QString& bitmap);

public slots:
    // Reads the presses waiting; the socket notifier calls it, tests with a fake too.
    void Poll();

signals:
    void pressed();
    // The button's node exists but may not be read (permissions); once per run.
    void unreadable(const QString& path, const QString& reason);

private:
    QString m_sysRoot = QStringLiteral("/sys");
    QString m_inputFolder = QStringLiteral("/dev/input");
    InputFactory m_factory;
    std::unique_ptr<CButtonInput> m_input;
    QSocketNotifier* m_notifier = nullptr;
    QString m_path;
    bool m_reported = false;
};

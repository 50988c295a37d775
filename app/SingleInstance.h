#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

// One Kalvex per user session: the first start holds a lock file and listens on a local
// socket; a later start finds the lock, sends the wake-up and ends.
class CSingleInstance : public QObject
{
    Q_OBJECT
public:
    // runtimeFolder holds the lock and the socket; empty means the user's runtime folder.
    explicit CSingleInstance(const QString& runtimeFolder = QString(), QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this process is the first; false after a wake-up was sent to the first.
    bool Acquire();

signals:
    void wakeUpRequested();

private:
    bool SendWakeUp() const;
    bool Listen();

    QString m_lockPath;
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

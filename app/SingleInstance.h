#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLocalServer;
class QLocalSocket;
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

    // True when this process is the first; false after the first was woken. A later start
    // hands its files (made absolute) to the first instead of waking it with a message.
    bool Acquire(const QStringList& files = {});

signals:
    void wakeUpRequested();
    void openRequested(const QString& path);

private:
    bool SendWakeUp(const QStringList& files) const;
    void ReadRequests(QLocalSocket* socket);
    bool Listen();

    QString m_lockPath;
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

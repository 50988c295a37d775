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
    // A lock nobody lives behind (empty, cut off, unreadable) is taken over; when no lock can
    // be made at all this start runs on its own, and Problem() says why.
    bool Acquire(const QStringList& files = {});
    // For standard error: why the check did not work as it should; empty when it did.
    const QString& Problem() const { return m_problem; }

signals:
    void wakeUpRequested();
    void openRequested(const QString& path);

private:
    bool SendWakeUp(const QStringList& files) const;
    bool HasLiveOwner(qint64& pid) const;
    QString WhyNoLock() const;
    void ReadRequests(QLocalSocket* socket);
    void DeliverRequests();
    bool Listen();

    QString m_lockPath;
    QString m_socketPath;
    QString m_problem;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    // Requests wait here until the socket handler has returned: a receiver may run a message
    // box, whose event loop can end and delete the socket being read.
    QStringList m_pendingOpens;
    int m_pendingWakeUps = 0;
    bool m_delivering = false;
    bool m_deliveryQueued = false;
};

#include "app/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace {
const char kWakeUp[] = "kalvex-wake-up-7d3f2a9c\n";
// One line per file: the prefix, then the absolute path in UTF-8, percent-encoded so that a
// name with a line break stays one line.
const char kOpen[] = "kalvex-open-7d3f2a9c ";

QString DefaultRuntimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/kalvex-") + QString::number(getuid());
    return folder;
}
} // namespace

CSingleInstance::CSingleInstance(const QString& runtimeFolder, QObject* parent) : QObject(parent)
{
    const QString folder = runtimeFolder.isEmpty() ? DefaultRuntimeFolder() : runtimeFolder;
    QDir().mkpath(folder);
    m_lockPath = folder + QStringLiteral("/kalvex-instance.lock");
    m_socketPath = folder + QStringLiteral("/kalvex-instance.socket");
}

CSingleInstance::~CSingleInstance() = default;

bool CSingleInstance::Acquire(const QStringList& files)
{
    m_problem.clear();
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0); // a crashed owner is detected by its process id instead
    if (m_lock->tryLock(0))
        return Listen();
    if (m_lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        if (HasLiveOwner(pid)) {
            if (!SendWakeUp(files))
                m_problem = tr("Kalvex already runs (process %1) but does not answer.").arg(pid);
            m_lock.reset();
            return false;
        }
        if (m_lock->removeStaleLockFile() && m_lock->tryLock(0))
            return Listen();
    }
    m_problem = tr("The instance lock %1 cannot be made (%2): this Kalvex runs without looking "
                   "for another one.")
                        .arg(QDir::toNativeSeparators(m_lockPath), WhyNoLock());
    m_lock.reset();
    return true;
}

bool CSingleInstance::HasLiveOwner(qint64& pid) const
{
    // tryLock already took over a lock whose process is gone; what is left is a live owner
    // or a lock without readable content. A starting owner writes its content just after
    // creating the file, so an unreadable lock gets a moment before it counts as abandoned.
    for (int attempt = 0; attempt < 5; ++attempt) {
        QString host;
        QString application;
        if (m_lock->getLockInfo(&pid, &host, &application))
            return true;
        if (!QFileInfo::exists(m_lockPath))
            return false;
        QThread::msleep(50);
    }
    return false;
}

QString CSingleInstance::WhyNoLock() const
{
    // The lock class gives no reason of its own: a plain file in the same place gets one.
    QFile probe(m_lockPath + QStringLiteral(".probe"));
    QString reason;
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        reason = probe.errorString();
    else if (probe.write("probe\n", 6) != 6)
        reason = probe.errorString();
    probe.close();
    probe.remove();
    if (reason.isEmpty())
        reason = QFileInfo::exists(m_lockPath) ? tr("the lock file cannot be replaced")
                                               : tr("unknown reason");
    return reason;
}

bool CSingleInstance::Listen()
{
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { ReadRequests(socket); });
            // What arrived with the hang-up is still read.
            connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
                ReadRequests(socket);
                socket->deleteLater();
            });
        }
    });
    m_server->listen(m_socketPath);
    return true;
}

void CSingleInstance::ReadRequests(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(64 * 1024);
        if (line == kWakeUp) {
            ++m_pendingWakeUps;
        } else if (line.startsWith(kOpen) && line.endsWith('\n')) {
            const QByteArray encoded = line.mid(int(sizeof(kOpen)) - 1).chopped(1);
            const QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(encoded));
            if (QDir::isAbsolutePath(path))
                m_pendingOpens.append(path);
        }
    }
    if ((m_pendingWakeUps > 0 || !m_pendingOpens.isEmpty()) && !m_delivering && !m_deliveryQueued) {
        m_deliveryQueued = true;
        QMetaObject::invokeMethod(this, &CSingleInstance::DeliverRequests, Qt::QueuedConnection);
    }
}

void CSingleInstance::DeliverRequests()
{
    // One delivery at a time, in arrival order: what comes in while a receiver waits on a
    // message box is handed over after it returns, not inside it.
    m_deliveryQueued = false;
    m_delivering = true;
    while (m_pendingWakeUps > 0 || !m_pendingOpens.isEmpty()) {
        if (m_pendingWakeUps > 0) {
            --m_pendingWakeUps;
            emit wakeUpRequested();
        } else {
            emit openRequested(m_pendingOpens.takeFirst());
        }
    }
    m_delivering = false;
}

bool CSingleInstance::SendWakeUp(const QStringList& files) const
{
    QByteArray message;
    for (const QString& file : files)
        message +=
                kOpen + QFileInfo(file).absoluteFilePath().toUtf8().toPercentEncoding("/") + '\n';
    if (message.isEmpty())
        message = kWakeUp;
    // The first instance may still be starting: give its socket a moment to appear.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(200)) {
            socket.write(message);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}

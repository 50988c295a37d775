#include "app/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace {
const char kWakeUp[] = "kalvex-wake-up-7d3f2a9c\n";

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

bool CSingleInstance::Acquire()
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0); // a crashed owner is detected by its process id instead
    if (m_lock->tryLock(0))
        return Listen();
    SendWakeUp();
    m_lock.reset();
    return false;
}

bool CSingleInstance::Listen()
{
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->canReadLine() && socket->readLine() == kWakeUp)
                    emit wakeUpRequested();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server->listen(m_socketPath);
    return true;
}

bool CSingleInstance::SendWakeUp() const
{
    // The first instance may still be starting: give its socket a moment to appear.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(200)) {
            socket.write(kWakeUp);
            socket.waitForBytesWritten(500);
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(100);
    }
    return false;
}

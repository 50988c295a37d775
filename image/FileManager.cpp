#include "image/FileManager.h"

#include "base/Trace.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace {

void OpenFolderOf(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

} // namespace

void CFileManager::ShowItem(const QString& path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        OpenFolderOf(path);
        return;
    }
    QDBusMessage call =
            QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.FileManager1"),
                    QStringLiteral("/org/freedesktop/FileManager1"),
                    QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList { QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString() }
         << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
            [path](QDBusPendingCallWatcher* w) {
                const QDBusPendingReply<> reply = *w;
                if (reply.isError()) {
                    qCDebug(lcTrace) << "ShowItems failed:" << reply.error().message();
                    OpenFolderOf(path);
                }
                w->deleteLater();
            });
}

bool CFileManager::MoveToTrash(const QString& path, QString* error)
{
    // The trash lives in the data folder. When that folder is missing Qt's trash lookup falls
    // back to the working directory and files the picture into "files/" and "info/" there, so
    // the folder is made first; where it cannot be made there is no trash.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!dataHome.isEmpty() && QDir().mkpath(dataHome)) {
        QFile file(path);
        if (file.moveToTrash())
            return true;
        qCDebug(lcTrace) << "no trash for" << path << "-" << file.errorString();
    } else {
        qCDebug(lcTrace) << "no data folder for the trash:" << dataHome;
    }
    if (!QFileInfo::exists(path))
        return true;
    qCDebug(lcTrace) << "deleting" << path;
    QFile file(path);
    if (file.remove())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

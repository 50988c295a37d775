#include "image/FileManager.h"

#include "base/Trace.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
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

bool CFileManager::MoveToTrash(const QString& path)
{
    if (QFile::moveToTrash(path))
        return true;
    if (!QFileInfo::exists(path))
        return true;
    qCDebug(lcTrace) << "no trash for" << path << "- deleting";
    return QFile::remove(path);
}

#include "image/FileManager.h"

#include "base/Trace.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <memory>

namespace {

using Failed = std::function<void(const QString&)>;

// xdg-open itself, not QDesktopServices: only its exit status tells that nothing opened.
void OpenFolderOf(const QString& path, const Failed& failed)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (failed)
            failed(QCoreApplication::translate("CFileManager",
                    "No file manager is installed (neither a desktop file manager nor xdg-open "
                    "was found)."));
        return;
    }
    auto* process = new QProcess();
    process->setProgram(opener);
    process->setArguments({ folder });
    auto reported = std::make_shared<bool>(false);
    auto report = [failed, reported](const QString& reason) {
        if (*reported || !failed)
            return;
        *reported = true;
        failed(reason);
    };
    QObject::connect(process, &QProcess::errorOccurred, process,
            [process, report](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return;
                report(process->errorString());
                process->deleteLater();
            });
    QObject::connect(process, &QProcess::finished, process,
            [process, report](int code, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || code != 0)
                    report(QCoreApplication::translate("CFileManager",
                            "No program opens folders here (xdg-open ended with %1).")
                                    .arg(code));
                process->deleteLater();
            });
    process->start();
}

} // namespace

void CFileManager::ShowItem(const QString& path, std::function<void(const QString&)> failed)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        OpenFolderOf(path, failed);
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
            [path, failed](QDBusPendingCallWatcher* w) {
                const QDBusPendingReply<> reply = *w;
                if (reply.isError()) {
                    qCDebug(lcTrace) << "ShowItems failed:" << reply.error().message();
                    OpenFolderOf(path, failed);
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

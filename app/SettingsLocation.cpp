#include "app/SettingsLocation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

QString CSettingsLocation::ProgramDirectory()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString CSettingsLocation::Resolve(const QString& programDirectory, const QString& configHome)
{
    const QString portable = programDirectory + QStringLiteral("Setting.ini");
    const QFileInfo portableInfo(portable);
    if (portableInfo.exists() && QFileInfo(programDirectory).isWritable())
        return portable;
    return configHome + QStringLiteral("/kalvex/Setting.ini");
}

QString CSettingsLocation::SettingsPath()
{
    return Resolve(ProgramDirectory(),
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

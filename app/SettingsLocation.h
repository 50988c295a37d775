#pragma once

#include <QString>

// Where Setting.ini lives: beside the executable for portable use (only when a Setting.ini
// is already there and the folder is writable), otherwise in the user's config folder.
class CSettingsLocation
{
public:
    static QString ProgramDirectory(); // ends with "/"
    static QString SettingsPath();
    static QString Resolve(const QString& programDirectory, const QString& configHome);
};

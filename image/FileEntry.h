#pragma once

#include <QString>

// One listed picture file. An entry with index -1 stands for an item without a file.
struct CFileEntry
{
    int index = -1;
    QString name;
    QString folder;

    bool HasFile() const { return index >= 0; }
    // folder + "/" + name, the separator added only when the folder lacks one.
    QString FullPath() const
    {
        if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
            return folder + name;
        return folder + QLatin1Char('/') + name;
    }
};

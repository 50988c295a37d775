#pragma once

#include <QString>
#include <QStringList>

// Which files of a folder the thumbnail list shows.
class CImageFolder
{
public:
    // True for names whose last four characters, lower-cased, are ".bmp" or ".jpg".
    static bool IsListedName(const QString& name);
    // The listed names of a folder in name order; empty when the folder cannot be read.
    static QStringList Scan(const QString& folder);
};

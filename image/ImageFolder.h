#pragma once

#include <QString>
#include <QStringList>

// Which files of a folder the thumbnail list shows.
class CImageFolder
{
public:
    // True for the pictures the program reads: names ending, in any case, in ".bmp", ".jpg",
    // ".jpeg", ".png", ".tif" or ".tiff".
    static bool IsListedName(const QString& name);
    // The name patterns of those pictures for a file dialog's filter ("*.bmp *.BMP ...").
    static QString NamePatterns();
    // The listed names of a folder in name order; empty when the folder cannot be read.
    static QStringList Scan(const QString& folder);
};

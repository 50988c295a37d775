#pragma once

#include <QString>
#include <QStringList>

// The files a picture camera plays, in the order it plays them. What the user names is a folder
// (its JPEG, PNG, BMP and TIFF files in name order, numbers by value), a numbered pattern
// ("stack/slice_%02d.jpg": from 0, or from 1 when there is no 0, up to the first gap), a glob
// ("stack/*.png") or one file.
class CPictureList
{
public:
    // The files, or none with the reason in the user's words.
    static QStringList Resolve(const QString& what, QString& problem);
    // "slice_%02d.jpg" with 7 is "slice_07.jpg"; "%%" is a percent sign. Empty when the pattern
    // has no number field or more than one.
    static QString Numbered(const QString& pattern, int number);
    // Name order as a person reads it: "slice_2" before "slice_10", "A" beside "a".
    static void SortByName(QStringList& names);
    static bool NameBefore(const QString& a, const QString& b);
};

#pragma once

#include <QString>

#include <functional>

// The desktop's file manager and trash.
class CFileManager
{
public:
    // Shows the file selected in the file manager (org.freedesktop.FileManager1); when no file
    // manager answers, opens its folder with xdg-open instead. Returns at once; failed hears,
    // later, why neither worked.
    static void ShowItem(
            const QString& path, std::function<void(const QString& reason)> failed = {});
    // Moves the file to the desktop trash, making the data folder that holds the trash when it
    // is missing; deletes it only where there is no trash to move it to. False, with the reason
    // in error, when the file is still there afterwards.
    static bool MoveToTrash(const QString& path, QString* error = nullptr);
};

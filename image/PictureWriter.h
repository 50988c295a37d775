#pragma once

#include "base/SnapshotNamer.h"
#include "image/xImage.h"

#include <QString>

#include <cstdint>

// The one way a picture reaches the disk: CxImage's atomic save (the target is replaced only by
// a whole picture; the system's reason when it cannot be), and the time-stamped unique name in
// the image folder. Used by snapshots, merge captures and merge results alike.
class CPictureWriter
{
public:
    // format: one of CXIMAGE_FORMAT_BMP, _JPG (at the picture's JPEG quality), _PNG, _TIF.
    static bool Write(CxImage& image, const QString& path, uint32_t format, QString* reason);

    // A new time-stamped name in folder (made when missing), JPEG at quality 100: name and
    // path are set even on failure, so the message can say where.
    static bool WriteTimeStamped(CxImage& image, const QString& folder, uint32_t format,
            const CSnapshotNamer& namer, QString& name, QString& path, QString* reason);
    static bool WriteTimeStamped(CxImage& image, const QString& folder, bool bmp,
            const CSnapshotNamer& namer, QString& name, QString& path, QString* reason)
    {
        return WriteTimeStamped(image, folder, bmp ? CXIMAGE_FORMAT_BMP : CXIMAGE_FORMAT_JPG, namer,
                name, path, reason);
    }

    // ".bmp", ".jpg", ".png" or ".tif"; the format a snapshot suffix ("bmp", "png", ...) names.
    static QString Extension(uint32_t format);
    static uint32_t FormatOfSuffix(const QString& suffix);
};

#pragma once

#include "base/SnapshotNamer.h"

#include <QString>

#include <cstdint>

class CxImage;

// The one way a picture reaches the disk: CxImage's atomic save (the target is replaced only by
// a whole picture; the system's reason when it cannot be), and the time-stamped unique name in
// the image folder. Used by snapshots, merge captures and merge results alike.
class CPictureWriter
{
public:
    // format: CXIMAGE_FORMAT_BMP or CXIMAGE_FORMAT_JPG (at the picture's JPEG quality).
    static bool Write(CxImage& image, const QString& path, uint32_t format, QString* reason);

    // A new time-stamped name in folder (made when missing), BMP or JPEG at quality 100:
    // name and path are set even on failure, so the message can say where.
    static bool WriteTimeStamped(CxImage& image, const QString& folder, bool bmp,
            const CSnapshotNamer& namer, QString& name, QString& path, QString* reason);
};

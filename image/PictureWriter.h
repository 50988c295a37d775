#pragma once

#include "base/SnapshotNamer.h"

#include <QString>

#include <cstdint>

class CxImage;

// The one way a picture reaches the disk: through a temporary file that replaces the target
// only when the whole picture is written, with the system's reason when it cannot be. Used by
// snapshots, merge captures and merge results alike.
class CPictureWriter
{
public:
    // format: CXIMAGE_FORMAT_BMP or CXIMAGE_FORMAT_JPG (at the picture's JPEG quality).
    static bool Write(CxImage& image, const QString& path, uint32_t format, QString* reason);

    // A new time-stamped name in folder (made when missing), BMP or JPEG at quality 100:
    // name and path are set even on failure, so the message can say where.
    static bool WriteTimeStamped(CxImage& image, const QString& folder, bool bmp,
            const CSnapshotNamer& namer, QString& name, QString& path, QString* reason);

    // Palette pictures (grey JPEGs, 8-bit BMPs) widened to 24 bits, so a drawing can be burnt
    // in or a fusion can take them; false for a picture that cannot be.
    static bool WidenToTrueColour(CxImage& image);
};

#pragma once

#include "capture/TavoCapExport.h"

#include <QList>
#include <QString>

/**
 * @brief One capture format a camera offers: a frame size in one pixel format.
 */
struct CCaptureFormat
{
    int width = 0;
    /** @brief Height as the device reports it; a negative value marks a top-down format. */
    int height = 0;
    /** @brief Pixel format name, e.g. "YUY2", "MJPG", "BGR". */
    QString subtype;

    bool operator==(const CCaptureFormat&) const = default;
};

/**
 * @brief A camera as the device list reports it.
 *
 * A device without a path is a built-in pattern source (videotestsrc) drawing @ref pattern.
 */
struct CCaptureDevice
{
    /** @brief Friendly name, shown in the device list and stored in the settings. */
    QString name;
    /** @brief Device node, e.g. "/dev/video0"; empty for a pattern source. */
    QString path;
    /** @brief Formats in the order the device reports them. */
    QList<CCaptureFormat> formats;
    /** @brief What a pattern source draws: a videotestsrc pattern name ("smpte", "red", ...),
     * optionally followed by further videotestsrc settings ("red num-buffers=0"). */
    QString pattern;
    /** @brief Index into @ref formats the device delivers when no format is asked for; -1 lets
     * the device decide. */
    int currentFormat = -1;

    bool IsPatternSource() const { return path.isEmpty(); }
};

#pragma once

#include "capture/TavoCapExport.h"

#include <QList>
#include <QString>

/**
 * @brief A frame rate as a fraction, 30000/1001 for NTSC's 29.97 frames a second.
 */
struct TAVOCAP_EXPORT CFrameRate
{
    int numerator = 0;
    int denominator = 1;

    bool IsValid() const { return numerator > 0 && denominator > 0; }
    double Fps() const { return IsValid() ? double(numerator) / denominator : 0.0; }
    /** @brief "30/1"; empty for an invalid rate. */
    QString Text() const;
    /** @brief Reads "30/1" or "30"; an invalid rate for anything else. */
    static CFrameRate Parse(const QString& text);
    /** @brief "30", "29.97", "7.5": what the user reads before "fps". */
    QString FpsText() const;

    bool operator==(const CFrameRate&) const = default;
};

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
    /** @brief Frame rates offered at this size, fastest first; empty when the device does not
     * say. A format handed to the pipeline with exactly one rate asks for that rate. */
    QList<CFrameRate> frameRates = {};

    bool operator==(const CCaptureFormat&) const = default;
};

/**
 * @brief A camera as the device list reports it.
 *
 * A device without a path is built in: a pattern source (videotestsrc) drawing @ref pattern, or
 * a picture source playing the files @ref pictures names.
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
    /** @brief What a picture source plays: a folder, a numbered pattern ("slice_%02d.jpg"), a
     * glob or one file; empty for every other device. */
    QString pictures;
    /** @brief Index into @ref formats the device delivers when no format is asked for; -1 lets
     * the device decide. */
    int currentFormat = -1;
    /** @brief What tells this camera from others across restarts and replugs: the name with
     * the USB vendor, product and serial number, or the port without a serial. Empty: the
     * name alone. */
    QString identity;

    /** @brief @ref identity, or the name when there is none. */
    QString Identity() const { return identity.isEmpty() ? name : identity; }

    /** @brief True for a built-in source, which has no node to open and no controls. */
    bool IsPatternSource() const { return path.isEmpty(); }
    bool IsPictureSource() const { return path.isEmpty() && !pictures.isEmpty(); }
};

#pragma once

#include "capture/CaptureDevice.h"
#include "capture/TavoCapExport.h"

#include <QList>
#include <QString>

/**
 * @brief One entry of the "Resolution" list: a size, the pixel format it is taken in and one
 * frame rate.
 */
struct TAVOCAP_EXPORT CResolutionEntry
{
    int width = 0;
    int height = 0;
    QString subtype;
    /** @brief Invalid when the camera does not say which rates it offers. */
    CFrameRate rate;

    /** @brief "1920 X 1080  MJPG 30 fps": the size first, so the text before the first digits
     * after "X" still reads as the size. */
    QString Label() const;
    /** @brief "MJPG 30/1": the format and rate, for the combo entry's data and the settings. */
    QString Key() const;
    /** @brief Splits a @ref Key() into format and rate; false for an empty text. */
    static bool ParseKey(const QString& key, QString& subtype, CFrameRate& rate);

    bool operator==(const CResolutionEntry&) const = default;
};

/**
 * @brief Builds the "Resolution" list of a camera: each size once, in the format that reaches
 * the highest frame rate at that size (the first listed when they tie), with one entry per rate
 * of that format, fastest first.
 */
class TAVOCAP_EXPORT CResolutionList
{
public:
    static QList<CResolutionEntry> Build(const QList<CCaptureFormat>& formats);
    /** @brief The fastest rate of @p format; invalid when it has none. */
    static CFrameRate FastestRate(const CCaptureFormat& format);
    /** @brief Index into @p formats of the format to take at @p width x @p height: @p subtype
     * when the camera offers it at that size, else the fastest; -1 when the size is not
     * offered. */
    static int Choose(
            const QList<CCaptureFormat>& formats, int width, int height, const QString& subtype);
};

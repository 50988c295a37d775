#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <memory>

typedef struct _GstSample GstSample;

struct CSampleUnref
{
    void operator()(GstSample* sample) const;
};
using CSamplePtr = std::unique_ptr<GstSample, CSampleUnref>;

// One picture file decoded by GStreamer's own decoders into one BGR video sample (its caps give
// the size and the row stride). JPEG goes to jpegdec, PNG, BMP and TIFF to gdkpixbufdec; the
// file's first bytes say which it is, not its name.
class CPictureDecoder
{
public:
    // Null with the reason, naming the file, when it is missing, unreadable or not a picture.
    static CSamplePtr Decode(const QString& path, QString& problem);
    // The caps of a file's first bytes ("image/png"); empty for anything else.
    static QByteArray CapsOfContent(const QByteArray& head);
    static QSize SizeOf(GstSample* sample);
};

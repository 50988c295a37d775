#include "capture/PictureDecoder.h"

#include "capture/CaptureTrace.h"

#include <QCoreApplication>
#include <QFile>

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

namespace {

// A larger file is no picture a microscope took; reading it would only fill the memory.
constexpr qint64 kMaxFileBytes = qint64(512) << 20;
// A picture that takes longer than this to decode is as good as broken.
constexpr GstClockTime kDecodeTimeout = 20 * GST_SECOND;

QString Tr(const char* text)
{
    return QCoreApplication::translate("CTavoGraphDll", text);
}

struct CElementUnref
{
    void operator()(GstElement* element) const
    {
        gst_element_set_state(element, GST_STATE_NULL);
        gst_object_unref(element);
    }
};

// The first error the decoding pipeline posted, or empty.
QString BusError(GstElement* pipeline)
{
    GstBus* bus = gst_element_get_bus(pipeline);
    QString text;
    if (GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        text = QString::fromUtf8(error ? error->message : "");
        g_clear_error(&error);
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    return text;
}

} // namespace

void CSampleUnref::operator()(GstSample* sample) const
{
    gst_sample_unref(sample);
}

QByteArray CPictureDecoder::CapsOfContent(const QByteArray& head)
{
    if (head.startsWith("\xFF\xD8\xFF"))
        return "image/jpeg";
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return "image/png";
    if (head.startsWith("BM"))
        return "image/bmp";
    if (head.startsWith(QByteArray("II*\0", 4)) || head.startsWith(QByteArray("MM\0*", 4)))
        return "image/tiff";
    return {};
}

QSize CPictureDecoder::SizeOf(GstSample* sample)
{
    const GstCaps* caps = sample ? gst_sample_get_caps(sample) : nullptr;
    const GstStructure* structure =
            caps && gst_caps_get_size(caps) > 0 ? gst_caps_get_structure(caps, 0) : nullptr;
    int width = 0;
    int height = 0;
    if (!structure || !gst_structure_get_int(structure, "width", &width)
            || !gst_structure_get_int(structure, "height", &height))
        return {};
    return { width, height };
}

CSamplePtr CPictureDecoder::Decode(const QString& path, QString& problem)
{
    problem.clear();
    if (!gst_init_check(nullptr, nullptr, nullptr)) {
        problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "%1 cannot be decoded: %2"))
                          .arg(path, QStringLiteral("GStreamer"));
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "%1 cannot be read: %2"))
                          .arg(path, file.errorString());
        return nullptr;
    }
    if (file.size() > kMaxFileBytes) {
        problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "%1 is too large for a picture")).arg(path);
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "%1 cannot be read: %2"))
                          .arg(path, file.errorString());
        return nullptr;
    }
    const QByteArray type = CapsOfContent(bytes.left(16));
    if (type.isEmpty()) {
        problem =
                Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "%1 is not a JPEG, PNG, BMP or TIFF picture"))
                        .arg(path);
        return nullptr;
    }
    // pngdec hands out 16-bit PNGs in the wrong byte order: gdkpixbuf reads them right.
    const char* decoder = type == "image/jpeg" ? "jpegdec" : "gdkpixbufdec";
    // Fixed text only: the file's name never reaches the parser.
    const QByteArray description = QByteArray("appsrc name=in ! ") + decoder
            + " ! videoconvert ! video/x-raw,format=BGR ! appsink name=out sync=false";
    GError* error = nullptr;
    std::unique_ptr<GstElement, CElementUnref> pipeline(
            gst_parse_launch(description.constData(), &error));
    if (!pipeline || error) {
        problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "%1 cannot be decoded: %2"))
                          .arg(path, QString::fromUtf8(error ? error->message : decoder));
        g_clear_error(&error);
        return nullptr;
    }
    GstElement* in = gst_bin_get_by_name(GST_BIN(pipeline.get()), "in");
    GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline.get()), "out");
    GstCaps* caps = gst_caps_new_empty_simple(type.constData());
    g_object_set(in, "caps", caps, "format", GST_FORMAT_BYTES, nullptr);
    gst_caps_unref(caps);
    gst_app_src_push_buffer(GST_APP_SRC(in),
            gst_buffer_new_memdup(bytes.constData(), static_cast<gsize>(bytes.size())));
    gst_app_src_end_of_stream(GST_APP_SRC(in));
    CSamplePtr sample;
    if (gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE)
        sample.reset(gst_app_sink_try_pull_sample(GST_APP_SINK(out), kDecodeTimeout));
    gst_object_unref(in);
    gst_object_unref(out);
    if (!sample || SizeOf(sample.get()).isEmpty()) {
        QString reason = BusError(pipeline.get());
        if (reason.isEmpty())
            reason = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "the picture holds no image"));
        qCDebug(lcCaptureTrace) << "decoding" << path << "failed:" << reason;
        problem = Tr(QT_TRANSLATE_NOOP("CTavoGraphDll", "%1 cannot be decoded: %2"))
                          .arg(path, reason);
        return nullptr;
    }
    return sample;
}

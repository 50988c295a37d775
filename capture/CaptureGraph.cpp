#include "capture/CaptureGraph.h"

#include "capture/CaptureStatus.h"
#include "capture/CaptureTrace.h"
#include "capture/PictureDecoder.h"
#include "capture/PictureList.h"
#include "capture/PicturePlayer.h"
#include "capture/VideoRecorder.h"

#include <QCoreApplication>
#include <QSize>
#include <QStringList>

#include <gst/gst.h>

#include <vector>

namespace {

// Without a main loop nobody drains the bus: keep errors in the trace and drop everything, so
// messages never pile up over a long run.
GstBusSyncReply DropBusMessage(GstBus*, GstMessage* message, gpointer graph)
{
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        GError* error = nullptr;
        gchar* debug = nullptr;
        gst_message_parse_error(message, &error, &debug);
        qCDebug(lcCaptureTrace) << "capture pipeline error:" << (error ? error->message : "")
                                << (debug ? debug : "");
        static_cast<CCaptureGraph*>(graph)->OnBusError(GST_ELEMENT(GST_MESSAGE_SRC(message)),
                QString::fromUtf8(error ? error->message : ""));
        g_clear_error(&error);
        g_free(debug);
    }
    // A dropped message is the handler's to release: each one holds its source, and so the
    // whole pipeline, alive.
    gst_message_unref(message);
    return GST_BUS_DROP;
}

GstElement* MakeElement(const char* factory)
{
    return gst_element_factory_make(factory, nullptr);
}

int32_t StatusOf(GstStateChangeReturn ret)
{
    switch (ret) {
    case GST_STATE_CHANGE_FAILURE:
        return TavoStatus::Fail;
    case GST_STATE_CHANGE_ASYNC:
        return TavoStatus::Pending;
    default:
        return TavoStatus::Ok;
    }
}

void Release(std::initializer_list<GstElement*> elements)
{
    for (GstElement* element : elements)
        if (element)
            gst_object_unref(gst_object_ref_sink(element));
}

} // namespace

QString CCaptureGraph::SourceCapsText(const CCaptureFormat& format)
{
    const int height = format.height < 0 ? -format.height : format.height;
    QString text = format.subtype == QLatin1String("MJPG")
            ? QStringLiteral("image/jpeg,width=%1,height=%2").arg(format.width).arg(height)
            : QStringLiteral("video/x-raw,format=%1,width=%2,height=%3")
                      .arg(format.subtype)
                      .arg(format.width)
                      .arg(height);
    if (format.frameRates.size() == 1 && format.frameRates[0].IsValid())
        text += QStringLiteral(",framerate=") + format.frameRates[0].Text();
    return text;
}

std::unique_ptr<CCaptureGraph> CCaptureGraph::Create(const CCaptureDevice& device,
        const CCaptureFormat* format, int32_t& status, QString& message)
{
    std::unique_ptr<CCaptureGraph> graph(new CCaptureGraph);
    status = TavoStatus::Fail;

    GstElement* sink = MakeElement("appsink");
    if (!sink) {
        message = QCoreApplication::translate(
                "CTavoGraphDll", "Could not create SampleGrabber (is qedit.dll registered?)");
        return nullptr;
    }
    // BGRx first: sources and converters write it much faster than packed BGR, and the live
    // view shows it as it is.
    GstCaps* bgr = gst_caps_from_string("video/x-raw,format={ BGRx, BGR }");
    g_object_set(sink, "caps", bgr, "max-buffers", 1u, "drop", TRUE, "sync", FALSE, "emit-signals",
            FALSE, nullptr);
    gst_caps_unref(bgr);

    graph->m_pipeline = gst_pipeline_new("graph");
    GstBus* bus = gst_element_get_bus(graph->m_pipeline);
    gst_bus_set_sync_handler(bus, DropBusMessage, graph.get(), nullptr);
    gst_object_unref(bus);

    if (device.IsPictureSource()) {
        if (!graph->MakePictureSource(device, format, sink, message))
            return nullptr;
        status = TavoStatus::Ok;
        return graph;
    }

    // Source caps: the chosen format, or for a camera left to itself raw video when it has any.
    QString capsText;
    bool decode = false;
    if (format) {
        capsText = SourceCapsText(*format);
        decode = format->subtype == QLatin1String("MJPG");
        // The pattern is drawn in whatever the grabber takes best; its sizes still say BGR,
        // which is what every frame copy gives.
        if (device.IsPatternSource())
            capsText.replace(
                    QStringLiteral("format=BGR,"), QStringLiteral("format={ BGRx, BGR },"));
    } else if (!device.IsPatternSource()) {
        bool anyRaw = device.formats.isEmpty();
        for (const CCaptureFormat& f : device.formats)
            anyRaw = anyRaw || f.subtype != QLatin1String("MJPG");
        capsText = anyRaw ? QStringLiteral("video/x-raw") : QStringLiteral("image/jpeg");
        decode = !anyRaw;
    }
    // The pattern's "framerate=N/D" is a caps field, not a property of the source.
    QStringList patternSettings;
    QString patternRate = QStringLiteral("15/1");
    if (device.IsPatternSource()) {
        patternSettings = device.pattern.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (qsizetype i = patternSettings.size() - 1; i >= 0; --i) {
            if (patternSettings[i].startsWith(QLatin1String("framerate="))) {
                patternRate = patternSettings[i].mid(10);
                patternSettings.removeAt(i);
            }
        }
        if (!capsText.isEmpty() && !capsText.contains(QLatin1String("framerate=")))
            capsText += QStringLiteral(",framerate=") + patternRate;
    }

    GstElement* source = MakeElement(device.IsPatternSource() ? "videotestsrc" : "v4l2src");
    GstElement* filter = MakeElement("capsfilter");
    GstElement* decoder = decode ? MakeElement("jpegdec") : nullptr;
    GstElement* convert = MakeElement("videoconvert");
    // The grabber hangs on a tee, so a recording can take the same frames beside it.
    GstElement* tee = MakeElement("tee");
    std::vector<GstElement*> chain { source, filter };
    if (decode)
        chain.push_back(decoder);
    chain.push_back(convert);
    chain.push_back(tee);
    bool made = true;
    for (GstElement* element : chain)
        made = made && element;
    if (!made) {
        Release({ source, filter, decoder, convert, tee, sink });
        message = QCoreApplication::translate("CTavoGraphDll", "Can't add the filter to graph");
        return nullptr;
    }
    if (device.IsPatternSource()) {
        g_object_set(source, "is-live", TRUE, nullptr);
        const QStringList& settings = patternSettings;
        for (int i = 0; i < settings.size(); ++i) {
            const QString setting = i == 0 && !settings[i].contains(QLatin1Char('='))
                    ? QStringLiteral("pattern=") + settings[i]
                    : settings[i];
            const qsizetype eq = setting.indexOf(QLatin1Char('='));
            if (eq <= 0)
                continue;
            const QByteArray name = setting.left(eq).toUtf8();
            if (!g_object_class_find_property(G_OBJECT_GET_CLASS(source), name.constData()))
                continue;
            gst_util_set_object_arg(
                    G_OBJECT(source), name.constData(), setting.mid(eq + 1).toUtf8().constData());
        }
    } else {
        g_object_set(source, "device", device.path.toUtf8().constData(), nullptr);
    }
    if (!capsText.isEmpty()) {
        GstCaps* caps = gst_caps_from_string(capsText.toUtf8().constData());
        g_object_set(filter, "caps", caps, nullptr);
        gst_caps_unref(caps);
    }
    if (!graph->LinkToGrabber(chain, sink, message))
        return nullptr;
    qCDebug(lcCaptureTrace) << "capture graph for" << device.name << capsText;
    status = TavoStatus::Ok;
    return graph;
}

bool CCaptureGraph::LinkToGrabber(
        std::vector<GstElement*> chain, GstElement* sink, QString& message)
{
    GstElement* tee = chain.back();
    chain.push_back(sink);
    for (GstElement* element : chain)
        gst_bin_add(GST_BIN(m_pipeline), element);
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        if (!gst_element_link(chain[i], chain[i + 1])) {
            message = QCoreApplication::translate("CTavoGraphDll",
                    "Can't connect capture device filter to sample grabber filter");
            return false;
        }
    }
    g_object_set(tee, "allow-not-linked", TRUE, nullptr);
    m_tee = tee;
    m_grabber = std::make_unique<CFrameGrabber>();
    m_grabber->Attach(sink);
    return true;
}

bool CCaptureGraph::MakePictureSource(const CCaptureDevice& device, const CCaptureFormat* format,
        GstElement* sink, QString& message)
{
    // The first picture is decoded here, so a camera that cannot play says why at once.
    QString problem;
    const QStringList files = CPictureList::Resolve(device.pictures, problem);
    CSamplePtr first = files.isEmpty() ? nullptr : CPictureDecoder::Decode(files[0], problem);
    if (!first) {
        message =
                QCoreApplication::translate("CTavoGraphDll", "The camera \"%1\" cannot start: %2.")
                        .arg(device.name, problem);
        Release({ sink });
        return false;
    }
    // The size the device list offered, else the first picture's: every picture is scaled to
    // it (with borders where the shape differs), so the stream never changes size.
    QSize size = CPictureDecoder::SizeOf(first.get());
    if (format && format->width > 0 && format->height != 0)
        size = QSize(format->width, qAbs(format->height));
    CFrameRate rate { 5, 1 };
    if (format && format->frameRates.size() == 1 && format->frameRates[0].IsValid())
        rate = format->frameRates[0];
    else if (!device.formats.isEmpty() && !device.formats[0].frameRates.isEmpty())
        rate = device.formats[0].frameRates[0];

    GstElement* source = MakeElement("appsrc");
    GstElement* scale = MakeElement("videoscale");
    GstElement* filter = MakeElement("capsfilter");
    GstElement* convert = MakeElement("videoconvert");
    GstElement* tee = MakeElement("tee");
    if (!source || !scale || !filter || !convert || !tee) {
        Release({ source, scale, filter, convert, tee, sink });
        message = QCoreApplication::translate("CTavoGraphDll", "Can't add the filter to graph");
        return false;
    }
    // Live like a camera: the newest picture counts, one waiting is enough.
    g_object_set(source, "is-live", TRUE, "format", GST_FORMAT_TIME, "do-timestamp", TRUE,
            "max-buffers", guint64(2), nullptr);
    gst_util_set_object_arg(G_OBJECT(source), "leaky-type", "downstream");
    const QString capsText = QStringLiteral("video/x-raw,format=BGR,width=%1,height=%2,"
                                            "pixel-aspect-ratio=1/1,framerate=%3")
                                     .arg(size.width())
                                     .arg(size.height())
                                     .arg(rate.Text());
    GstCaps* caps = gst_caps_from_string(capsText.toUtf8().constData());
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
    m_player = std::make_unique<CPicturePlayer>(source, files, rate, std::move(first));
    if (!LinkToGrabber({ source, scale, filter, convert, tee }, sink, message))
        return false;
    qCDebug(lcCaptureTrace) << "picture graph of" << files.size() << "pictures" << capsText;
    return true;
}

QString CCaptureGraph::ErrorText() const
{
    const std::lock_guard lock(m_fault.mutex);
    return m_fault.text;
}

CCaptureGraph::~CCaptureGraph()
{
    StopRecording();
    // The player pushes into the pipeline: it ends first.
    m_player.reset();
    if (m_pipeline) {
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        gst_object_unref(m_pipeline);
    }
}

int32_t CCaptureGraph::ChangeState(int state, bool wait)
{
    GstStateChangeReturn ret = gst_element_set_state(m_pipeline, static_cast<GstState>(state));
    if (ret == GST_STATE_CHANGE_FAILURE)
        return TavoStatus::Fail;
    if (wait)
        ret = gst_element_get_state(m_pipeline, nullptr, nullptr, GST_SECOND);
    return StatusOf(ret);
}

int32_t CCaptureGraph::Run()
{
    const int32_t status = ChangeState(GST_STATE_PLAYING, true);
    if (m_player && status >= 0)
        m_player->Start();
    return status;
}

int32_t CCaptureGraph::Pause()
{
    return ChangeState(GST_STATE_PAUSED, false);
}

int32_t CCaptureGraph::Stop()
{
    return ChangeState(GST_STATE_READY, false);
}

int32_t CCaptureGraph::StartRecording(const QString& path, QString& reason)
{
    if (IsRecording()) {
        reason = QCoreApplication::translate("CTavoGraphDll", "A recording is already running.");
        return TavoStatus::Fail;
    }
    // One branch on the tee at a time: the last file is finished first.
    m_finisher.Wait();
    std::unique_ptr<CVideoRecorder> recorder =
            CVideoRecorder::FromTee(m_pipeline, m_tee, path, reason);
    if (!recorder)
        return TavoStatus::Fail;
    const std::lock_guard lock(m_recorderMutex);
    m_recorder = std::move(recorder);
    return TavoStatus::Ok;
}

bool CCaptureGraph::StopRecording(QString* reason)
{
    std::unique_ptr<CVideoRecorder> recorder;
    {
        const std::lock_guard lock(m_recorderMutex);
        recorder = std::move(m_recorder);
    }
    if (!recorder) {
        m_finisher.Wait();
        return false;
    }
    return m_finisher.Finish(std::move(recorder), reason);
}

bool CCaptureGraph::StopRecordingLater(CRecordingFinisher::Done done)
{
    std::unique_ptr<CVideoRecorder> recorder;
    {
        const std::lock_guard lock(m_recorderMutex);
        recorder = std::move(m_recorder);
    }
    if (!recorder)
        return false;
    m_finisher.FinishLater(std::move(recorder), std::move(done));
    return true;
}

bool CCaptureGraph::IsRecording() const
{
    const std::lock_guard lock(m_recorderMutex);
    return m_recorder != nullptr;
}

bool CCaptureGraph::RecordingFailed(QString& reason) const
{
    const std::lock_guard lock(m_recorderMutex);
    if (!m_recorder || !m_recorder->Failed())
        return false;
    reason = m_recorder->FailureText();
    return true;
}

void CCaptureGraph::OnBusError(GstElement* source, const QString& text)
{
    {
        const std::lock_guard lock(m_recorderMutex);
        if (m_recorder && m_recorder->Owns(source)) {
            m_recorder->ReportError(text);
            return;
        }
    }
    if (m_finisher.ReportError(source, text))
        return;
    // A branch that failed to start, or the rest of one being finished: never the camera's.
    if (CVideoRecorder::InAnyRecording(source))
        return;
    // Anything else stops the camera's stream: the window learns why.
    {
        const std::lock_guard lock(m_fault.mutex);
        if (m_fault.text.isEmpty())
            m_fault.text = text;
    }
    m_fault.failed.store(true, std::memory_order_release);
}

#include "capture/VideoRecorder.h"

#include "capture/CaptureTrace.h"

#include <QCoreApplication>

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <chrono>
#include <cstring>

namespace {

constexpr char kBranchMark[] = "kalvex-recording";

bool HasFactory(const char* name)
{
    GstElementFactory* factory = gst_element_factory_find(name);
    if (!factory)
        return false;
    gst_object_unref(factory);
    return true;
}

bool UseH264()
{
    return HasFactory("x264enc") && HasFactory("mp4mux");
}

QString EncoderText()
{
    if (UseH264())
        return QStringLiteral("videoconvert ! video/x-raw,format=I420 ! x264enc tune=zerolatency "
                              "speed-preset=veryfast key-int-max=30 ! mp4mux");
    // Real-time VP8: the fastest settings that still give a sharp 720p picture.
    return QStringLiteral("videoconvert ! video/x-raw,format=I420 ! vp8enc deadline=1 "
                          "cpu-used=8 threads=2 target-bitrate=4000000 keyframe-max-dist=60 "
                          "! webmmux");
}

QString NoRecorderText()
{
    return QCoreApplication::translate("CTavoGraphDll",
            "Video cannot be recorded: the GStreamer encoder is missing (install "
            "gstreamer1.0-plugins-good).");
}

// The end of stream reaching the file: the muxer has written everything it will.
GstPadProbeReturn OnFileEvent(GstPad*, GstPadProbeInfo* info, gpointer self)
{
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (event && GST_EVENT_TYPE(event) == GST_EVENT_EOS)
        static_cast<CVideoRecorder*>(self)->MarkEnded();
    return GST_PAD_PROBE_OK;
}

// The pictures that go on to the encoder: a file that got none holds no video.
GstPadProbeReturn OnQueuedBuffer(GstPad*, GstPadProbeInfo*, gpointer self)
{
    static_cast<CVideoRecorder*>(self)->CountFrame();
    return GST_PAD_PROBE_OK;
}

// After a failure the branch gets nothing more, so its error never reaches the camera.
GstPadProbeReturn OnTeeBuffer(GstPad*, GstPadProbeInfo*, gpointer self)
{
    return static_cast<CVideoRecorder*>(self)->Failed() ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
}

GstBusSyncReply OnOwnBus(GstBus*, GstMessage* message, gpointer self)
{
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        static_cast<CVideoRecorder*>(self)->ReportError(
                QString::fromUtf8(error ? error->message : ""));
        g_clear_error(&error);
    }
    gst_message_unref(message); // dropped: ours to release
    return GST_BUS_DROP;
}

} // namespace

QString CVideoRecorder::Suffix()
{
    return UseH264() ? QStringLiteral("mp4") : QStringLiteral("webm");
}

GstElement* CVideoRecorder::MakeEncoderBin(const QString& path, bool withSource, QString& reason)
{
    if (!HasFactory("vp8enc") && !UseH264()) {
        reason = NoRecorderText();
        return nullptr;
    }
    // The queue keeps the encoder off the camera's thread and drops old frames, never the
    // live picture's, when the encoder falls behind.
    const QString queue = QStringLiteral(
            "queue name=recordqueue max-size-buffers=30 max-size-bytes=0 max-size-time=0 "
            "leaky=downstream");
    QString text = queue + QStringLiteral(" ! ") + EncoderText()
            + QStringLiteral(" ! filesink name=recordfile async=false");
    // Frames handed in come bottom row first. The flip is named by its video direction: the
    // older "method" is undone by the direction's default when the element is made.
    if (withSource)
        text = QStringLiteral("appsrc name=recordsource is-live=true do-timestamp=true "
                              "format=time ! ")
                + text.replace(QStringLiteral(" ! videoconvert"),
                        QStringLiteral(" ! videoflip video-direction=vert ! videoconvert"));
    GError* error = nullptr;
    const QByteArray utf8 = text.toUtf8();
    GstElement* bin = withSource ? gst_parse_launch(utf8.constData(), &error)
                                 : gst_parse_bin_from_description(utf8.constData(), TRUE, &error);
    if (!bin || error) {
        reason = NoRecorderText();
        if (error)
            qCDebug(lcCaptureTrace) << "recorder:" << error->message;
        g_clear_error(&error);
        if (bin)
            gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    GstElement* file = gst_bin_get_by_name(GST_BIN(bin), "recordfile");
    g_object_set(file, "location", path.toUtf8().constData(), nullptr);
    gst_object_unref(file);
    // The mark tells the camera's bus handler that an error belongs to a recording, also to one
    // that is still starting or already being finished.
    g_object_set_data(G_OBJECT(bin), kBranchMark, GINT_TO_POINTER(1));
    return bin;
}

std::unique_ptr<CVideoRecorder> CVideoRecorder::FromTee(
        GstElement* pipeline, GstElement* tee, const QString& path, QString& reason)
{
    std::unique_ptr<CVideoRecorder> recorder(new CVideoRecorder);
    recorder->m_bin = MakeEncoderBin(path, false, reason);
    if (!recorder->m_bin)
        return nullptr;
    recorder->m_pipeline = pipeline;
    recorder->m_tee = tee;
    recorder->m_root = recorder->m_bin;
    recorder->WatchBin(recorder->m_bin);

    gst_bin_add(GST_BIN(pipeline), recorder->m_bin);
    if (!gst_element_sync_state_with_parent(recorder->m_bin)) {
        reason = QCoreApplication::translate("CTavoGraphDll", "The video file cannot be written.");
        gst_element_set_state(recorder->m_bin, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(pipeline), recorder->m_bin);
        recorder->m_bin = nullptr;
        return nullptr;
    }
    recorder->m_teePad = gst_element_request_pad_simple(tee, "src_%u");
    // The file starts at its first frame, not at the camera's start.
    if (GstClock* clock = gst_element_get_clock(pipeline)) {
        const GstClockTime running =
                gst_clock_get_time(clock) - gst_element_get_base_time(pipeline);
        gst_pad_set_offset(recorder->m_teePad, -static_cast<gint64>(running));
        gst_object_unref(clock);
    }
    gst_pad_add_probe(
            recorder->m_teePad, GST_PAD_PROBE_TYPE_BUFFER, OnTeeBuffer, recorder.get(), nullptr);
    GstPad* binSink = gst_element_get_static_pad(recorder->m_bin, "sink");
    const GstPadLinkReturn linked = gst_pad_link(recorder->m_teePad, binSink);
    gst_object_unref(binSink);
    if (linked != GST_PAD_LINK_OK) {
        reason = NoRecorderText();
        return nullptr; // the destructor takes the branch off again
    }
    qCDebug(lcCaptureTrace) << "recording the camera to" << path;
    return recorder;
}

std::unique_ptr<CVideoRecorder> CVideoRecorder::FromFrames(
        const QString& path, int framesPerSecond, QString& reason)
{
    std::unique_ptr<CVideoRecorder> recorder(new CVideoRecorder);
    recorder->m_pipeline = MakeEncoderBin(path, true, reason);
    if (!recorder->m_pipeline)
        return nullptr;
    recorder->m_ownPipeline = true;
    recorder->m_root = recorder->m_pipeline;
    recorder->m_rate = framesPerSecond > 0 ? framesPerSecond : 15;
    GstBus* bus = gst_element_get_bus(recorder->m_pipeline);
    gst_bus_set_sync_handler(bus, OnOwnBus, recorder.get(), nullptr);
    gst_object_unref(bus);
    recorder->m_source = gst_bin_get_by_name(GST_BIN(recorder->m_pipeline), "recordsource");
    g_object_set(recorder->m_source, "max-buffers", guint64(8), nullptr);
    gst_util_set_object_arg(G_OBJECT(recorder->m_source), "leaky-type", "downstream");
    recorder->WatchBin(recorder->m_pipeline);
    if (gst_element_set_state(recorder->m_pipeline, GST_STATE_PLAYING)
            == GST_STATE_CHANGE_FAILURE) {
        reason = QCoreApplication::translate("CTavoGraphDll", "The video file cannot be written.");
        return nullptr;
    }
    qCDebug(lcCaptureTrace) << "recording frames to" << path;
    return recorder;
}

CVideoRecorder::~CVideoRecorder()
{
    if (!m_finished)
        Finish(1000);
}

bool CVideoRecorder::Push(const uint8_t* frame, int width, int height)
{
    if (!m_source || !frame || width <= 0 || height <= 0 || Failed())
        return false;
    if (m_width == 0) {
        GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", "width",
                G_TYPE_INT, width, "height", G_TYPE_INT, height, "framerate", GST_TYPE_FRACTION,
                m_rate, 1, nullptr);
        gst_app_src_set_caps(GST_APP_SRC(m_source), caps);
        gst_caps_unref(caps);
        m_width = width;
        m_height = height;
    }
    if (width != m_width || height != m_height) {
        {
            const std::lock_guard lock(m_mutex);
            if (m_failure.isEmpty())
                m_failure = QCoreApplication::translate(
                        "CTavoGraphDll", "The picture size changed during the recording.");
        }
        m_refused = true;
        return false;
    }
    // GStreamer's BGR rows are padded to 4 bytes as the capture layout's are.
    const gsize bytes = static_cast<gsize>((width * 3 + 3) / 4 * 4) * static_cast<gsize>(height);
    GstBuffer* buffer = gst_buffer_new_memdup(frame, bytes);
    return gst_app_src_push_buffer(GST_APP_SRC(m_source), buffer) == GST_FLOW_OK;
}

void CVideoRecorder::WatchBin(GstElement* bin)
{
    GstElement* file = gst_bin_get_by_name(GST_BIN(bin), "recordfile");
    GstPad* fileSink = gst_element_get_static_pad(file, "sink");
    gst_pad_add_probe(fileSink, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, OnFileEvent, this, nullptr);
    gst_object_unref(fileSink);
    gst_object_unref(file);
    GstElement* queue = gst_bin_get_by_name(GST_BIN(bin), "recordqueue");
    GstPad* queueSource = gst_element_get_static_pad(queue, "src");
    gst_pad_add_probe(queueSource, GST_PAD_PROBE_TYPE_BUFFER, OnQueuedBuffer, this, nullptr);
    gst_object_unref(queueSource);
    gst_object_unref(queue);
}

bool CVideoRecorder::Finish(int timeoutMs)
{
    if (m_finished)
        return !m_failed.load();
    m_finished = true;
    bool ended = false;
    if (m_ownPipeline) {
        gst_app_src_end_of_stream(GST_APP_SRC(m_source));
        ended = WaitForEnd(timeoutMs);
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        gst_object_unref(m_source);
        gst_object_unref(m_pipeline);
        m_source = nullptr;
        m_pipeline = nullptr;
    } else if (m_bin) {
        GstPad* binSink = gst_element_get_static_pad(m_bin, "sink");
        if (m_teePad) {
            // Off the tee between two buffers, then the end of stream down the branch alone.
            gst_pad_add_probe(
                    m_teePad, GST_PAD_PROBE_TYPE_IDLE,
                    [](GstPad* pad, GstPadProbeInfo*, gpointer sink) {
                        GstPad* branch = static_cast<GstPad*>(sink);
                        gst_pad_unlink(pad, branch);
                        gst_pad_send_event(branch, gst_event_new_eos());
                        return GST_PAD_PROBE_REMOVE;
                    },
                    gst_object_ref(binSink), gst_object_unref);
            ended = WaitForEnd(timeoutMs);
            gst_element_release_request_pad(m_tee, m_teePad);
            gst_object_unref(m_teePad);
            m_teePad = nullptr;
        }
        gst_object_unref(binSink);
        gst_element_set_state(m_bin, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(m_pipeline), m_bin);
        m_bin = nullptr;
    }
    // Only a header and no picture is no recording, whatever the muxer made of it.
    if (ended && m_frames.load() == 0)
        ReportError(
                QCoreApplication::translate("CTavoGraphDll", "No picture reached the video file."));
    return ended && !m_failed.load();
}

bool CVideoRecorder::WaitForEnd(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_ended.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] {
        return m_endSeen || m_failed.load();
    }) && m_endSeen;
}

bool CVideoRecorder::Failed() const
{
    return m_failed.load() || m_refused.load();
}

QString CVideoRecorder::FailureText() const
{
    const std::lock_guard lock(m_mutex);
    return m_failure;
}

void CVideoRecorder::ReportError(const QString& text)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_failure.isEmpty())
            m_failure = text;
        m_failed = true;
    }
    qCDebug(lcCaptureTrace) << "recording failed:" << text;
    m_ended.notify_all();
}

void CVideoRecorder::MarkEnded()
{
    {
        const std::lock_guard lock(m_mutex);
        m_endSeen = true;
    }
    m_ended.notify_all();
}

bool CVideoRecorder::InAnyRecording(GstElement* element)
{
    for (GstObject* object = element ? GST_OBJECT(gst_object_ref(element)) : nullptr; object;) {
        const bool branch = g_object_get_data(G_OBJECT(object), kBranchMark) != nullptr;
        GstObject* parent = branch ? nullptr : gst_object_get_parent(object);
        gst_object_unref(object);
        if (branch)
            return true;
        object = parent;
    }
    return false;
}

bool CVideoRecorder::Owns(GstElement* element) const
{
    // Only compared, never used: the root may already be gone while a late error comes in.
    GstElement* root = m_root;
    return element && root
            && (element == root
                    || gst_object_has_as_ancestor(GST_OBJECT(element), GST_OBJECT(root)));
}

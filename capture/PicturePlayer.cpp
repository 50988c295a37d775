#include "capture/PicturePlayer.h"

#include "capture/CaptureTrace.h"

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <chrono>

CPicturePlayer::CPicturePlayer(
        GstElement* appSource, QStringList files, CFrameRate rate, CSamplePtr first)
    : m_source(GST_ELEMENT(gst_object_ref(appSource))), m_files(std::move(files)),
      m_rate(rate.IsValid() ? rate : CFrameRate { 5, 1 }), m_first(std::move(first))
{
}

CPicturePlayer::~CPicturePlayer()
{
    Stop();
    gst_object_unref(m_source);
}

void CPicturePlayer::Start()
{
    if (m_worker.joinable() || !m_first)
        return;
    m_worker = std::thread([this] { Play(); });
}

void CPicturePlayer::Stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

bool CPicturePlayer::Push(GstSample* sample)
{
    // The camera's rate in the caps (a still picture has none), and the time of arrival as the
    // stamp: the recorder's encoder needs both.
    GstCaps* caps = gst_caps_copy(gst_sample_get_caps(sample));
    gst_caps_set_simple(caps, "framerate", GST_TYPE_FRACTION, m_rate.numerator, m_rate.denominator,
            "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
    GstBuffer* buffer = gst_buffer_copy(gst_sample_get_buffer(sample));
    GST_BUFFER_PTS(buffer) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DTS(buffer) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DURATION(buffer) = GST_CLOCK_TIME_NONE;
    GstSample* stamped = gst_sample_new(buffer, caps, nullptr, nullptr);
    gst_buffer_unref(buffer);
    gst_caps_unref(caps);
    const GstFlowReturn flow = gst_app_src_push_sample(GST_APP_SRC(m_source), stamped);
    gst_sample_unref(stamped);
    // Flushing: the graph is stopped for now and drops what comes; it may play again.
    return flow != GST_FLOW_EOS;
}

void CPicturePlayer::Fail(const QString& text)
{
    qCDebug(lcCaptureTrace) << "pictures stopped:" << text;
    GError* error = g_error_new_literal(
            GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_READ, text.toUtf8().constData());
    gst_element_post_message(m_source, gst_message_new_error(GST_OBJECT(m_source), error, nullptr));
    g_error_free(error);
}

void CPicturePlayer::Play()
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::nanoseconds(
            static_cast<int64_t>(1e9 * m_rate.denominator / m_rate.numerator));
    auto next = Clock::now();
    qsizetype index = 0;
    CSamplePtr current = std::move(m_first);
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            if (m_wake.wait_until(lock, next, [this] { return m_stop; }))
                return;
        }
        // Decoded when its turn comes: what is on disc then is what plays.
        if (!current) {
            QString problem;
            current = CPictureDecoder::Decode(m_files[index], problem);
            if (!current) {
                Fail(problem);
                return;
            }
        }
        if (!Push(current.get()))
            return;
        // Pictures slower to decode than the rate: the next one follows as soon as it is ready.
        next = std::max(next + period, Clock::now());
        if (m_files.size() > 1) {
            current.reset();
            index = (index + 1) % m_files.size();
        }
    }
}

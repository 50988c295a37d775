#pragma once

#include "capture/CaptureDevice.h"
#include "capture/FrameGrabber.h"
#include "capture/RecordingFinisher.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

typedef struct _GstElement GstElement;

// One built pipeline: camera source, decoder for MJPG, videoconvert and the grabber's appsink
// (BGR only, newest sample kept). Destruction stops the streaming before the grabber goes.
class CPicturePlayer;
class CVideoRecorder;

class CCaptureGraph
{
public:
    // Builds the pipeline for device at format (null: the device's own choice). On failure
    // returns null and gives the status and the message to show.
    static std::unique_ptr<CCaptureGraph> Create(const CCaptureDevice& device,
            const CCaptureFormat* format, int32_t& status, QString& message);
    ~CCaptureGraph();

    CCaptureGraph(const CCaptureGraph&) = delete;
    CCaptureGraph& operator=(const CCaptureGraph&) = delete;

    int32_t Run();
    int32_t Pause();
    int32_t Stop();

    const CFrameGrabber& Grabber() const { return *m_grabber; }
    // Before Run(): who hears of the grabber's frames.
    void SetFrameListeners(std::shared_ptr<const CFrameListeners> listeners)
    {
        m_grabber->SetListeners(std::move(listeners));
    }
    // True once the pipeline reported an error (the camera was unplugged, for one).
    bool Failed() const { return m_fault.failed.load(std::memory_order_acquire); }
    // The first error's text, empty before one.
    QString ErrorText() const;

    // What the streaming threads report of a failure.
    struct CFault
    {
        std::atomic<bool> failed { false };
        mutable std::mutex mutex;
        QString text; // guarded by mutex
    };

    // A branch on the tee writes the camera's frames to path; Fail with the reason when it
    // cannot, or while a recording runs.
    int32_t StartRecording(const QString& path, QString& reason);
    // Ends the file; false when it could not be finished (or nothing was recorded).
    bool StopRecording(QString* reason = nullptr);
    // Ends the file on a thread of its own, which then calls done; false when nothing records.
    bool StopRecordingLater(CRecordingFinisher::Done done);
    bool IsRecording() const;
    // A recording that failed while writing (a full disk): true with its reason.
    bool RecordingFailed(QString& reason) const;
    // The bus handler: an error of the recording's branch fails the recording only; any other
    // marks the graph failed.
    void OnBusError(GstElement* source, const QString& text);

    // The source caps of format; a format with exactly one frame rate asks for it.
    static QString SourceCapsText(const CCaptureFormat& format);

private:
    CCaptureGraph() = default;
    int32_t ChangeState(int state, bool wait);
    // Adds chain (source first, the tee last) and sink to the pipeline and links them.
    bool LinkToGrabber(std::vector<GstElement*> chain, GstElement* sink, QString& message);
    // A picture source: an appsrc the player feeds, scaled to one size. Takes sink.
    bool MakePictureSource(const CCaptureDevice& device, const CCaptureFormat* format,
            GstElement* sink, QString& message);

    GstElement* m_pipeline = nullptr;
    GstElement* m_tee = nullptr;
    std::unique_ptr<CFrameGrabber> m_grabber;
    CFault m_fault;
    // The bus handler runs on streaming threads: the recorder is swapped under the lock.
    mutable std::mutex m_recorderMutex;
    std::unique_ptr<CVideoRecorder> m_recorder;
    // Waited for by StopRecording(), and so before the pipeline goes.
    CRecordingFinisher m_finisher;
    std::unique_ptr<CPicturePlayer> m_player; // picture sources only
};

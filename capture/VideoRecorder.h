#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

typedef struct _GstElement GstElement;
typedef struct _GstPad GstPad;

// A video file being written: either a branch hung on the capture pipeline's tee (the camera's
// own frames) or a pipeline of its own fed with frames the program made (frames with the
// drawing burnt in). The encoder is H.264 in MP4 where x264enc is installed, else VP8 in WebM.
class CVideoRecorder
{
public:
    // A branch on tee inside pipeline, writing to path. Null on failure with the reason.
    static std::unique_ptr<CVideoRecorder> FromTee(
            GstElement* pipeline, GstElement* tee, const QString& path, QString& reason);
    // A pipeline of its own; Push() brings its frames, framesPerSecond is the nominal rate.
    static std::unique_ptr<CVideoRecorder> FromFrames(
            const QString& path, int framesPerSecond, QString& reason);
    ~CVideoRecorder();

    CVideoRecorder(const CVideoRecorder&) = delete;
    CVideoRecorder& operator=(const CVideoRecorder&) = delete;

    // One frame in the capture layout (24-bit BGR, rows bottom-up, padded to 4 bytes). The
    // first frame fixes the size; frames of another size are refused. False when refused or
    // the recording failed.
    bool Push(const uint8_t* frame, int width, int height);
    // Ends the file (end of stream through the muxer, waited for at most timeoutMs) and
    // releases the branch or pipeline. False when the file could not be finished.
    bool Finish(int timeoutMs = 3000);
    // A write or encoder error happened (a full disk), the file ends where it failed; or a
    // frame of another size came, and the file ends whole before it.
    bool Failed() const;
    QString FailureText() const;
    // An error from an element of this recording; the bus handler calls it.
    void ReportError(const QString& text);
    // The end of stream reached the file.
    void MarkEnded();
    void CountFrame() { m_frames.fetch_add(1, std::memory_order_relaxed); }
    bool Owns(GstElement* element) const;
    // The element belongs to a recording's branch or pipeline, running or not.
    static bool InAnyRecording(GstElement* element);

    // "mp4" or "webm": what the installed encoders give.
    static QString Suffix();

private:
    CVideoRecorder() = default;
    static GstElement* MakeEncoderBin(const QString& path, bool withSource, QString& reason);
    // The end of stream at the file and the pictures on their way to the encoder.
    void WatchBin(GstElement* bin);
    bool WaitForEnd(int timeoutMs);

    GstElement* m_pipeline = nullptr; // the capture pipeline (tee mode) or our own one
    GstElement* m_tee = nullptr;
    GstElement* m_bin = nullptr; // tee mode: the branch
    GstPad* m_teePad = nullptr;
    GstElement* m_source = nullptr; // frames mode: the appsrc
    GstElement* m_root = nullptr; // the branch or own pipeline, kept for Owns()
    bool m_ownPipeline = false;
    int m_rate = 15;
    int m_width = 0;
    int m_height = 0;
    bool m_finished = false;

    mutable std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_endSeen = false;
    std::atomic<bool> m_failed { false };
    std::atomic<uint64_t> m_frames { 0 };
    std::atomic<bool> m_refused { false };
    QString m_failure;
};

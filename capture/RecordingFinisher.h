#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

typedef struct _GstElement GstElement;
class CVideoRecorder;

// Ends recordings, on the caller's thread or on one of its own, one after the other. The end
// of stream may take seconds on a loaded machine: the window goes on meanwhile. While a file
// is being finished its errors still reach it, so a failure at the end is reported.
class CRecordingFinisher
{
public:
    using Done = std::function<void(bool finished, const QString& reason)>;
    // Long enough for an encoder far behind on a loaded machine to drain its queue.
    static constexpr int kEndTimeoutMs = 15000;

    CRecordingFinisher() = default;
    ~CRecordingFinisher();
    CRecordingFinisher(const CRecordingFinisher&) = delete;
    CRecordingFinisher& operator=(const CRecordingFinisher&) = delete;

    // False when the file could not be finished, with the reason.
    bool Finish(std::unique_ptr<CVideoRecorder> recorder, QString* reason);
    // Returns at once; done runs on the finishing thread.
    void FinishLater(std::unique_ptr<CVideoRecorder> recorder, Done done);
    // Until the file being finished, if any, is finished.
    void Wait();
    // An error of the recording being finished; false when it is not one of its elements.
    bool ReportError(GstElement* element, const QString& text);

private:
    bool Run(QString& reason);

    std::mutex m_mutex;
    std::unique_ptr<CVideoRecorder> m_recorder; // being finished, guarded by m_mutex
    std::thread m_thread;
};

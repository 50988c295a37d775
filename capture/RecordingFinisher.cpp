#include "capture/RecordingFinisher.h"

#include "capture/VideoRecorder.h"

CRecordingFinisher::~CRecordingFinisher()
{
    Wait();
}

bool CRecordingFinisher::Finish(std::unique_ptr<CVideoRecorder> recorder, QString* reason)
{
    Wait();
    {
        const std::lock_guard lock(m_mutex);
        m_recorder = std::move(recorder);
    }
    QString why;
    const bool finished = Run(why);
    if (!finished && reason)
        *reason = why;
    return finished;
}

void CRecordingFinisher::FinishLater(std::unique_ptr<CVideoRecorder> recorder, Done done)
{
    Wait();
    {
        const std::lock_guard lock(m_mutex);
        m_recorder = std::move(recorder);
    }
    m_thread = std::thread([this, done = std::move(done)] {
        QString why;
        const bool finished = Run(why);
        if (done)
            done(finished, why);
    });
}

void CRecordingFinisher::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool CRecordingFinisher::Run(QString& reason)
{
    CVideoRecorder* recorder = nullptr;
    {
        const std::lock_guard lock(m_mutex);
        recorder = m_recorder.get();
    }
    if (!recorder)
        return false;
    // Outside the lock: taking the branch down waits for its streaming threads, which may be
    // reporting an error here.
    const bool finished = recorder->Finish(kEndTimeoutMs);
    if (!finished)
        reason = recorder->FailureText();
    std::unique_ptr<CVideoRecorder> done;
    {
        const std::lock_guard lock(m_mutex);
        done = std::move(m_recorder);
    }
    return finished;
}

bool CRecordingFinisher::ReportError(GstElement* element, const QString& text)
{
    const std::lock_guard lock(m_mutex);
    if (!m_recorder || !m_recorder->Owns(element))
        return false;
    m_recorder->ReportError(text);
    return true;
}

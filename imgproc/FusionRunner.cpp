#include "imgproc/FusionRunner.h"

#include <utility>

CFusionRunner::~CFusionRunner()
{
    Cancel();
    Wait();
}

bool CFusionRunner::Start(std::vector<CImageView> images, FusionMode mode, CSearchCentre centre,
        ProgressHandler progress, FinishedHandler finished)
{
    if (m_running)
        return false;
    Wait();
    m_cancel = false;
    m_running = true;
    {
        const std::lock_guard lock(m_mutex);
        m_result = {};
        m_centre = centre;
        m_status = FusionStatus::Failed;
    }
    m_thread = std::thread(
            [this, images = std::move(images), mode, centre, progress = std::move(progress),
                    finished = std::move(finished)]() mutable {
                CFusionObserver observer;
                observer.progress = progress;
                observer.cancel = &m_cancel;
                CFusedImage result;
                const FusionStatus status = Fuse(mode, images, centre, result, observer);
                {
                    const std::lock_guard lock(m_mutex);
                    m_status = status;
                    if (status == FusionStatus::Done) {
                        m_result = std::move(result);
                        m_centre = centre;
                    }
                }
                m_running = false;
                if (finished)
                    finished(status);
            });
    return true;
}

void CFusionRunner::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

FusionStatus CFusionRunner::Status() const
{
    const std::lock_guard lock(m_mutex);
    return m_status;
}

CFusedImage CFusionRunner::TakeResult()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_result, {});
}

CSearchCentre CFusionRunner::Centre() const
{
    const std::lock_guard lock(m_mutex);
    return m_centre;
}

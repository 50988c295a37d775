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
        m_doubts.clear();
    }
    m_thread = std::thread(
            [this, images = std::move(images), mode, centre, progress = std::move(progress),
                    finished = std::move(finished)]() mutable {
                CFusionObserver observer;
                observer.progress = progress;
                observer.cancel = &m_cancel;
                // Only the Adjusted Merge's fitted maps can go astray on their own.
                if (mode == FusionMode::Adjusted)
                    observer.pairDone = [this, &images](const CFusionPairReport& pair) {
                        const CPairMapCheck check = CPairMapCheck::Judge(pair.first, pair.pairMap,
                                images[static_cast<std::size_t>(pair.first)],
                                images[static_cast<std::size_t>(pair.first) + 1]);
                        if (check.doubtful) {
                            const std::lock_guard lock(m_mutex);
                            m_doubts.push_back(check);
                        }
                    };
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

std::vector<CPairMapCheck> CFusionRunner::Doubts() const
{
    const std::lock_guard lock(m_mutex);
    return m_doubts;
}

CSearchCentre CFusionRunner::Centre() const
{
    const std::lock_guard lock(m_mutex);
    return m_centre;
}

#include "image/ThumbnailPool.h"

#include "base/Trace.h"
#include "image/ThumbnailLoader.h"

#include <QMetaObject>

#include <algorithm>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

int DefaultWorkers()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 2u, 4u));
}

// Decoding yields to the user-interface thread when the cores are busy.
void LowerThisThreadPriority()
{
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 5);
}

} // namespace

CThumbnailPool::CThumbnailPool(QSize thumbSize, int workers, QObject* parent)
    : QObject(parent), m_size(thumbSize), m_workerCount(workers > 0 ? workers : DefaultWorkers())
{
}

CThumbnailPool::~CThumbnailPool()
{
    StopWorkers();
}

void CThumbnailPool::StartWorkers()
{
    if (!m_workers.empty())
        return;
    m_workers.reserve(m_workerCount);
    for (int i = 0; i < m_workerCount; ++i)
        m_workers.emplace_back([this] { WorkerLoop(); });
}

void CThumbnailPool::StopWorkers()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
    m_workers.clear();
}

quint64 CThumbnailPool::Request(const QString& path)
{
    const quint64 ticket = m_nextTicket++;
    m_outstanding.insert(ticket);
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back({ ticket, path });
    }
    StartWorkers();
    m_wake.notify_one();
    return ticket;
}

void CThumbnailPool::Prioritize(const std::vector<quint64>& tickets)
{
    std::lock_guard lock(m_mutex);
    std::deque<Job> front;
    for (const quint64 ticket : tickets) {
        const auto it = std::find_if(m_queue.begin(), m_queue.end(),
                [ticket](const Job& job) { return job.ticket == ticket; });
        if (it != m_queue.end()) {
            front.push_back(std::move(*it));
            m_queue.erase(it);
        }
    }
    m_queue.insert(m_queue.begin(), std::make_move_iterator(front.begin()),
            std::make_move_iterator(front.end()));
}

void CThumbnailPool::CancelAll()
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.clear();
    }
    // Everything asked for is now cancelled: whoever waits for the last picture stops waiting.
    const bool wasBusy = !m_outstanding.empty();
    m_outstanding.clear();
    if (wasBusy)
        emit idle();
}

void CThumbnailPool::Cancel(quint64 ticket)
{
    {
        std::lock_guard lock(m_mutex);
        const auto it = std::find_if(m_queue.begin(), m_queue.end(),
                [ticket](const Job& job) { return job.ticket == ticket; });
        if (it != m_queue.end())
            m_queue.erase(it);
    }
    if (m_outstanding.erase(ticket) && m_outstanding.empty())
        emit idle();
}

void CThumbnailPool::WorkerLoop()
{
    LowerThisThreadPriority();
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_stop)
                return;
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        qCDebug(lcTrace).noquote() << "new CxImage of:" << job.path;
        QImage thumbnail = CThumbnailLoader::Load(job.path, m_size);
        // Queued to the owner's thread; dropped with the pool if it is gone by then, and the
        // destructor joins before that can happen.
        QMetaObject::invokeMethod(
                this,
                [this, ticket = job.ticket, thumbnail = std::move(thumbnail)] {
                    Deliver(ticket, thumbnail);
                },
                Qt::QueuedConnection);
    }
}

void CThumbnailPool::Deliver(quint64 ticket, const QImage& thumbnail)
{
    if (m_outstanding.erase(ticket) == 0)
        return;
    emit thumbnailReady(ticket, thumbnail);
    if (m_outstanding.empty())
        emit idle();
}

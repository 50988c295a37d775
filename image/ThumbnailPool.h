#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

// Decodes thumbnails on worker threads and hands each finished picture back to the thread
// that owns the pool by queued signal. Workers never touch a widget.
class CThumbnailPool : public QObject
{
    Q_OBJECT
public:
    // workers 0: one per core, at least two.
    explicit CThumbnailPool(QSize thumbSize, int workers = 0, QObject* parent = nullptr);
    ~CThumbnailPool() override;

    // Queues a decode; the ticket comes back with the picture.
    quint64 Request(const QString& path);
    // Moves these queued tickets to the front, in the given order.
    void Prioritize(const std::vector<quint64>& tickets);
    // Drops every queued decode; pictures still in flight are not delivered.
    void CancelAll();
    // Forgets one ticket: its picture will not be delivered.
    void Cancel(quint64 ticket);
    int Pending() const { return static_cast<int>(m_outstanding.size()); }
    int WorkerCount() const { return m_workerCount; }

signals:
    // A null picture means the file could not be decoded.
    void thumbnailReady(quint64 ticket, const QImage& thumbnail);
    // Every requested picture has been delivered or cancelled.
    void idle();

private:
    struct Job
    {
        quint64 ticket = 0;
        QString path;
    };

    void StartWorkers();
    void StopWorkers();
    void WorkerLoop();
    void Deliver(quint64 ticket, const QImage& thumbnail);

    const QSize m_size;
    const int m_workerCount;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_queue;
    bool m_stop = false;
    std::vector<std::thread> m_workers;

    // Owner's thread only.
    quint64 m_nextTicket = 1;
    std::set<quint64> m_outstanding;
};

#pragma once

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <functional>

// When the pictures of a time-lapse are due: the first at the start, then one every interval,
// until a number of pictures or a stop time. Late pictures are not caught up in a burst: a
// picture that could not be taken in time is skipped, the rhythm stays.
class CTimeLapseSchedule
{
    Q_DECLARE_TR_FUNCTIONS(CTimeLapseSchedule)
public:
    // Milliseconds of the wall clock (the stop time is a time of day); injected by tests.
    using Clock = std::function<int64_t()>;
    static constexpr int kMaxIntervalSeconds = 24 * 3600;

    struct CPlan
    {
        int intervalSeconds = 10;
        int count = 0; // pictures to take; 0: until the stop time
        int64_t stopAtMs = 0; // no picture after this; 0: only the count ends it
    };

    explicit CTimeLapseSchedule(Clock clock = {});

    // False, with the reason, for an interval out of range or a plan that never ends or has
    // already ended.
    bool Start(const CPlan& plan, QString* reason = nullptr);
    void Stop() { m_running = false; }
    bool Running() const { return m_running; }

    bool Due() const;
    // The stop time went by while running (the machine slept): nothing more is due.
    bool PastStop() const;
    // A picture was taken: the next is due at the next step of the rhythm after now. Stops the
    // schedule after the last picture.
    void Taken();
    int TakenCount() const { return m_taken; }
    // Whole seconds until the next picture, rounded up; 0 when one is due or it stopped.
    int SecondsToNext() const;
    const CPlan& Plan() const { return m_plan; }

private:
    int64_t Now() const;

    Clock m_clock;
    CPlan m_plan;
    bool m_running = false;
    int64_t m_startMs = 0;
    int64_t m_nextMs = 0;
    int m_taken = 0;
};

#include "app/TimeLapseSchedule.h"

#include <QDateTime>

CTimeLapseSchedule::CTimeLapseSchedule(Clock clock) : m_clock(std::move(clock)) { }

int64_t CTimeLapseSchedule::Now() const
{
    return m_clock ? m_clock() : QDateTime::currentMSecsSinceEpoch();
}

bool CTimeLapseSchedule::Start(const CPlan& plan, QString* reason)
{
    const auto refuse = [reason](const QString& text) {
        if (reason)
            *reason = text;
        return false;
    };
    if (plan.intervalSeconds < 1 || plan.intervalSeconds > kMaxIntervalSeconds)
        return refuse(tr("The interval must be between 1 second and 24 hours."));
    if (plan.count < 0)
        return refuse(tr("The number of pictures cannot be negative."));
    const int64_t now = Now();
    if (plan.count == 0 && plan.stopAtMs == 0)
        return refuse(tr("Give a number of pictures or a stop time."));
    if (plan.stopAtMs != 0 && plan.stopAtMs <= now)
        return refuse(tr("The stop time has already passed."));
    m_plan = plan;
    m_startMs = now;
    m_nextMs = now;
    m_taken = 0;
    m_running = true;
    return true;
}

bool CTimeLapseSchedule::Due() const
{
    return m_running && Now() >= m_nextMs && !PastStop();
}

bool CTimeLapseSchedule::PastStop() const
{
    return m_running && m_plan.stopAtMs != 0 && Now() > m_plan.stopAtMs;
}

void CTimeLapseSchedule::Taken()
{
    if (!m_running)
        return;
    ++m_taken;
    const int64_t now = Now();
    const int64_t interval = static_cast<int64_t>(m_plan.intervalSeconds) * 1000;
    // The first step of the rhythm after now: a slow save skips a picture, never doubles one.
    const int64_t steps = (now - m_startMs) / interval + 1;
    m_nextMs = m_startMs + steps * interval;
    if ((m_plan.count > 0 && m_taken >= m_plan.count)
            || (m_plan.stopAtMs != 0 && m_nextMs > m_plan.stopAtMs))
        m_running = false;
}

int CTimeLapseSchedule::SecondsToNext() const
{
    if (!m_running)
        return 0;
    const int64_t left = m_nextMs - Now();
    return left <= 0 ? 0 : static_cast<int>((left + 999) / 1000);
}

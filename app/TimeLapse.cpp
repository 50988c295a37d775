#include "app/TimeLapse.h"

#include <QTimer>

CTimeLapse::CTimeLapse(Shooter shooter, CTimeLapseSchedule::Clock clock, QObject* parent)
    : QObject(parent), m_shooter(std::move(shooter)), m_schedule(std::move(clock)),
      m_timer(new QTimer(this))
{
    m_timer->setInterval(kTickMs);
    connect(m_timer, &QTimer::timeout, this, &CTimeLapse::Poll);
}

bool CTimeLapse::Start(const CTimeLapseSchedule::CPlan& plan, QString* reason)
{
    if (!m_schedule.Start(plan, reason))
        return false;
    m_lastPath.clear();
    m_timer->start();
    Poll();
    return true;
}

void CTimeLapse::Stop()
{
    if (Running())
        End(false, tr("Time-lapse stopped after %n picture(s).", "", m_schedule.TakenCount()));
}

void CTimeLapse::Poll()
{
    if (!Running())
        return;
    if (m_schedule.PastStop()) {
        End(false, tr("Time-lapse finished: %n picture(s).", "", m_schedule.TakenCount()));
        return;
    }
    if (m_schedule.Due()) {
        QString reason;
        const QString path = m_shooter ? m_shooter(reason) : QString();
        if (path.isEmpty()) {
            End(true,
                    tr("Time-lapse stopped after %n picture(s): the next one could not be saved.",
                            "", m_schedule.TakenCount())
                            + (reason.isEmpty() ? QString() : QStringLiteral("\n\n") + reason));
            return;
        }
        m_lastPath = path;
        m_schedule.Taken();
        if (!Running()) {
            End(false, tr("Time-lapse finished: %n picture(s).", "", m_schedule.TakenCount()));
            return;
        }
    }
    emit progress(m_schedule.TakenCount(), m_schedule.SecondsToNext());
}

void CTimeLapse::End(bool failed, const QString& message)
{
    m_schedule.Stop();
    m_timer->stop();
    emit stopped(failed, message);
}

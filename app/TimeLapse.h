#pragma once

#include "app/TimeLapseSchedule.h"

#include <QObject>
#include <QString>

#include <functional>

class QTimer;

// A running time-lapse: takes the pictures its schedule asks for and stops after the last,
// at the stop time, on Stop(), or at the first picture that cannot be saved (a full disk).
class CTimeLapse : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTickMs = 250;
    // Takes one picture: the path written, or an empty text with the reason.
    using Shooter = std::function<QString(QString& reason)>;

    explicit CTimeLapse(
            Shooter shooter, CTimeLapseSchedule::Clock clock = {}, QObject* parent = nullptr);

    // Takes the first picture at once.
    bool Start(const CTimeLapseSchedule::CPlan& plan, QString* reason = nullptr);
    void Stop();
    bool Running() const { return m_schedule.Running(); }
    const CTimeLapseSchedule& Schedule() const { return m_schedule; }
    QString LastPath() const { return m_lastPath; }

    // One tick of the timer: the picture when due, then the countdown.
    void Poll();

signals:
    void progress(int taken, int secondsToNext);
    // The time-lapse ended; failed with the reason when a picture could not be saved.
    void stopped(bool failed, const QString& message);

private:
    void End(bool failed, const QString& message);

    Shooter m_shooter;
    CTimeLapseSchedule m_schedule;
    QTimer* m_timer = nullptr;
    QString m_lastPath;
};

#pragma once

#include "imgproc/FusionRunner.h"

#include <QObject>

/// @brief One fusion run as a job of the user-interface thread: started, it works on its own
/// thread and reports progress and its end by signals on the thread that owns the job, so the
/// window that started it keeps its own event loop.
class CFusionJob : public QObject
{
    Q_OBJECT
public:
    explicit CFusionJob(QObject* parent = nullptr);
    /// @brief Cancels a run still going and waits for it.
    ~CFusionJob() override;

    /// @brief False while a run is still going. The pictures behind the views must stay
    /// untouched until finished().
    bool Start(std::vector<CImageView> images, FusionMode mode, CSearchCentre centre);
    void Cancel() { m_runner.Cancel(); }
    bool Running() const { return m_running; }

    /// @brief After finished(): the result (empty unless Done), moved out, and the centre.
    CFusedImage TakeResult() { return m_runner.TakeResult(); }
    CSearchCentre Centre() const { return m_runner.Centre(); }
    std::vector<CPairMapCheck> Doubts() const { return m_runner.Doubts(); }

signals:
    void progress(const CFusionProgress& step);
    void finished(FusionStatus status);

private:
    CFusionRunner m_runner;
    bool m_running = false; // owner's thread: from Start until finished() is emitted
};

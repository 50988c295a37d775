#pragma once

#include "imgproc/ImageFusion.h"
#include "imgproc/PairMapCheck.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

/// @brief Runs one fusion on a worker thread, so the user-interface thread can show progress and
/// offer Cancel. The callbacks run on the worker thread; the pictures behind the views must stay
/// untouched until Finished() (or Wait()).
class CFusionRunner
{
public:
    using ProgressHandler = std::function<void(const CFusionProgress&)>;
    using FinishedHandler = std::function<void(FusionStatus)>;

    CFusionRunner() = default;
    ~CFusionRunner();
    CFusionRunner(const CFusionRunner&) = delete;
    CFusionRunner& operator=(const CFusionRunner&) = delete;

    /// @brief Starts a fusion in `mode` (the Adjusted Merge from `centre`). False while a run is
    /// still going.
    bool Start(std::vector<CImageView> images, FusionMode mode, CSearchCentre centre,
            ProgressHandler progress, FinishedHandler finished);
    void Cancel() { m_cancel = true; }
    /// @brief Joins the worker; the result and centre are then safe to read.
    void Wait();
    bool Running() const { return m_running; }

    FusionStatus Status() const;
    /// @brief The run's result (empty unless the status is Done); moved out.
    CFusedImage TakeResult();
    /// @brief The search centre after the run: moved on by a finished Adjusted Merge, as given
    /// otherwise.
    CSearchCentre Centre() const;
    /// @brief After the run: the Adjusted Merge's pairs whose map is doubtful, in order.
    std::vector<CPairMapCheck> Doubts() const;

private:
    std::thread m_thread;
    std::atomic<bool> m_cancel { false };
    std::atomic<bool> m_running { false };
    mutable std::mutex m_mutex;
    FusionStatus m_status = FusionStatus::Done;
    CFusedImage m_result;
    CSearchCentre m_centre;
    std::vector<CPairMapCheck> m_doubts;
};

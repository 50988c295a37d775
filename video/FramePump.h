#pragma once

#include "video/FrameFilterSettings.h"

#include <QImage>
#include <QRect>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class IFrameSource;
class QPainter;

// What the pump needs from the user-interface thread, copied once per iteration.
struct CPumpState
{
    bool still = false;
    int captureWidth = 640;
    int captureHeight = 480;
    int displayWidth = 640;
    int displayHeight = 480;
    int originX = 0; // scroll offsets of the picture, 0 or negative
    int originY = 0;
    int displayScale = 1; // 0 fit, 1..3 integer zoom
    int viewWidth = 640; // the composed view: display size, cut to the visible area
    int viewHeight = 480;
    int parentWidth = 640; // the visible area, for the direct drawing mode's fit
    int parentHeight = 480;
    CFrameFilterSettings filters;
};

// The live-video worker of one canvas: copies the newest frame from the capture object,
// filters it, composes the visible part at the display scale into a view image, lets the shape
// manager draw over it and hands the finished image to the canvas.
class CFramePump
{
public:
    // Draws measurements and overlays over the view (DrawOnFrame with the display size and
    // the negated origin).
    using OverlayPainter = std::function<void(QPainter&, const CPumpState&)>;
    // Called on the pump thread after a new view image was published.
    using PresentNotifier = std::function<void()>;

    CFramePump();
    ~CFramePump();
    CFramePump(const CFramePump&) = delete;
    CFramePump& operator=(const CFramePump&) = delete;

    void SetSource(IFrameSource* source);
    void SetOverlayPainter(OverlayPainter painter);
    void SetPresentNotifier(PresentNotifier notifier);
    // The merge dialog's big view: the frame scaled straight into the view, no overlays.
    void SetDirectDrawing(bool direct);
    void SetState(const CPumpState& state);
    CPumpState State() const;

    // Stops the running worker (flag and join), then starts a fresh one, held when still.
    void Restart();
    void Stop();
    bool IsRunning() const;
    // Holds the worker between iterations, waiting at most timeoutMs for it to finish the
    // frame it is presenting. Suspensions nest: each needs one ResumePump.
    void SuspendPump(int timeoutMs = 1000);
    void ResumePump();
    int SuspendCount() const;

    // The last presented view; the canvas paints it under the hand-over lock.
    void PaintView(const std::function<void(const QImage&)>& paint) const;
    uint64_t FramesPresented() const { return m_framesPresented.load(); }
    uint64_t FramesCopied() const { return m_framesCopied.load(); }
    int32_t FrameBufferSize() const;

    // One iteration of the loop without the sleep; the worker calls it, benchmarks too.
    void RunIteration();

    static int SleepMsForWidth(int captureWidth);
    static int32_t FrameBytes(int width, int height);
    static QRect SourceRect(const CPumpState& state);
    static QSize DirectFitSize(int frameWidth, int frameHeight, int parentWidth, int parentHeight);

private:
    void Loop();
    bool WaitWhileHeld();
    bool CopyFrame(const CPumpState& state, int& width, int& height);
    void ComposeView(const CPumpState& state, int width, int height);
    void ComposeDirect(const CPumpState& state, int width, int height);
    void Publish();

    IFrameSource* m_source = nullptr;
    OverlayPainter m_overlayPainter;
    PresentNotifier m_presentNotifier;
    std::atomic<bool> m_direct { false };

    mutable std::mutex m_stateMutex;
    CPumpState m_state;

    // Worker control: stop flag, nesting hold, and "parked" so a suspend knows the worker
    // is between iterations.
    mutable std::mutex m_controlMutex;
    std::condition_variable m_controlChanged;
    std::thread m_thread;
    bool m_stop = false;
    int m_suspendCount = 0;
    bool m_parked = true;

    // Owned by the worker between restarts.
    std::vector<uint8_t> m_frame;
    int32_t m_frameSize = 0;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    QImage m_back;

    // A standard mutex: the thread checker sees it, unlike the uninstrumented Qt one.
    mutable std::mutex m_handOffMutex;
    QImage m_front;

    std::atomic<uint64_t> m_framesPresented { 0 };
    std::atomic<uint64_t> m_framesCopied { 0 };
};

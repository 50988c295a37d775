#pragma once

#include "capture/HeldFrame.h"
#include "video/FrameFilterSettings.h"

#include <QImage>
#include <QRect>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

class IFrameSource;
class IViewPresenter;
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

    bool operator==(const CPumpState&) const = default;
};

// From a camera frame's arrival at the grabber to the first paint of the view that shows it.
struct CPumpLatency
{
    uint64_t frames = 0;
    double meanMs = 0.0;
    double maxMs = 0.0;
};

// The live-video worker of one canvas: copies the newest frame from the capture object,
// filters it, composes the visible part at the display scale into a view image, lets the shape
// manager draw over it and hands the finished image to the canvas.
//
// It works only when there is something new to show: a camera frame it has not copied yet,
// or a change of the state, of the drawing (the change probe) or one announced with
// MarkChanged(). It sleeps until then: a source that tells of its frames (WatchFrames) and
// Wake() rouse it, so an idle live view wakes once per camera frame. A source that cannot
// tell is looked at on a pace set by the frame width.
class CFramePump
{
public:
    // Draws measurements and overlays over the view (DrawOnFrame with the display size and
    // the negated origin).
    using OverlayPainter = std::function<void(QPainter&, const CPumpState&)>;
    // Called on the pump thread after a new view image was published.
    using PresentNotifier = std::function<void()>;
    // A counter that moves whenever what the overlay painter draws may have changed.
    using ChangeProbe = std::function<uint64_t()>;
    // Sees every new camera frame once, after the filters, on the pump thread.
    using FrameTap =
            std::function<void(const uint8_t* frame, int width, int height, const CPumpState&)>;
    // Whether the tap wants the next frame; while it does not, and no filter is on, the pump
    // composes the view from the frame the source lends instead of copying it.
    using TapWanted = std::function<bool()>;
    // Changes the composed view before the overlays are drawn over it.
    using ViewFilter = std::function<void(QImage& view, const CPumpState&)>;

    CFramePump();
    ~CFramePump();
    CFramePump(const CFramePump&) = delete;
    CFramePump& operator=(const CFramePump&) = delete;

    void SetSource(IFrameSource* source);
    void SetOverlayPainter(OverlayPainter painter);
    void SetPresentNotifier(PresentNotifier notifier);
    void SetChangeProbe(ChangeProbe probe);
    // Without wanted the tap wants every frame.
    void SetFrameTap(FrameTap tap, TapWanted wanted = {});
    void SetViewFilter(ViewFilter filter);
    // The next iteration composes and presents even without a new camera frame.
    void MarkChanged();
    // Any thread: the worker looks again now, for a frame or a moved change probe.
    void Wake();
    // The merge dialog's big view: the frame scaled straight into the view, no overlays.
    void SetDirectDrawing(bool direct);
    // Views are composed in the presenter's memory and shown by it; the present notifier is
    // called only for a view it could not show. Set while the worker is stopped.
    void SetPresenter(std::unique_ptr<IViewPresenter> presenter);
    // Any thread: the presenter shows the last view again (Qt drew over it).
    void Represent();
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
    // Camera frames taken from the source, copied or lent.
    uint64_t FramesCopied() const { return m_framesCopied.load(); }
    uint64_t FramesLent() const { return m_framesLent.load(); }
    // Presentations that brought a camera frame not presented before.
    uint64_t CameraFramesPresented() const { return m_cameraFramesPresented.load(); }
    CPumpLatency Latency() const;
    void ResetLatency();
    int32_t FrameBufferSize() const;

    // Wake-ups of the worker so far, by frames, changes and resumes (for tests).
    uint64_t WakeUps() const;

    // One iteration of the loop without the sleep; the worker calls it, benchmarks too.
    void RunIteration();

    static int SleepMsForWidth(int captureWidth);
    static int32_t FrameBytes(int width, int height);
    static QRect SourceRect(const CPumpState& state);
    static QSize DirectFitSize(int frameWidth, int frameHeight, int parentWidth, int parentHeight);

private:
    void Loop();
    bool WaitWhileHeld();
    // Sleeps until Wake() or stop; at most the pace when the source does not tell of frames.
    void Sleep();
    IFrameSource* Source() const;
    // The pump's own count and the probe's: the view is made anew when either moved.
    using CChanges = std::pair<uint64_t, uint64_t>;
    CChanges Changes() const;
    bool HasNewFrame(IFrameSource* source) const;
    bool CopyFrame(IFrameSource* source, const CPumpState& state);
    bool HoldFrame(IFrameSource* source);
    bool TapWantsFrame() const;
    void ComposeView(const CPumpState& state, int width, int height);
    void ComposeDirect(const CPumpState& state, int width, int height);
    // m_back at that size, in the presenter's memory when there is one.
    void PrepareBack(QSize size);
    void Publish(int64_t arrivalNs);
    void RecordLatency(int64_t arrivalNs) const; // hand-over lock held

    IFrameSource* m_source = nullptr;
    int m_watchId = -1; // the source's id of the pump's frame listener; -1 none
    std::atomic<bool> m_sourceTells { false }; // the source calls Wake() for its frames
    OverlayPainter m_overlayPainter;
    PresentNotifier m_presentNotifier;
    ChangeProbe m_changeProbe;
    FrameTap m_frameTap;
    TapWanted m_tapWanted;
    ViewFilter m_viewFilter;
    std::atomic<bool> m_direct { false };
    // Declared before the views, which may lie in its memory: it goes after them.
    std::unique_ptr<IViewPresenter> m_presenter;
    std::atomic<bool> m_represent { false };
    // Moved by every change of state, source, painter or mode, and by MarkChanged().
    std::atomic<uint64_t> m_changes { 1 };

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
    uint64_t m_wakeUps = 0; // moved by Wake()
    uint64_t m_wakeUpsSeen = 0; // what the running iteration began at

    // Owned by the worker between restarts.
    std::vector<uint8_t> m_frame;
    int32_t m_frameSize = 0;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    uint64_t m_lastSequence = 0; // of the frame in m_frame; 0 none
    int64_t m_frameArrivalNs = 0;
    // The source's own frame the view is made from, when it lent one; m_frame otherwise.
    TavoHeldFrame m_held;
    CChanges m_presentedChanges; // the counts the last presented view was made at
    int m_backSlot = 0; // the presenter's slot m_back lies in; the front is in the other
    QImage m_back;
    QImage m_scaled; // the visible part top-down, before it is scaled into the view

    // A standard mutex: the thread checker sees it, unlike the uninstrumented Qt one.
    mutable std::mutex m_handOffMutex;
    QImage m_front;
    int64_t m_frontArrivalNs = 0; // 0: no camera frame new with this view
    mutable bool m_frontPainted = false;
    mutable CPumpLatency m_latency;

    std::atomic<uint64_t> m_framesPresented { 0 };
    std::atomic<uint64_t> m_framesCopied { 0 };
    std::atomic<uint64_t> m_framesLent { 0 };
    std::atomic<uint64_t> m_cameraFramesPresented { 0 };
};

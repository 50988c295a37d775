#include "video/FramePump.h"

#include "imgproc/FrameFilters.h"
#include "imgproc/WideInstructions.h"
#include "video/FrameSource.h"
#include "video/ViewPresenter.h"

#include <QPainter>

#include <algorithm>
#include <chrono>

#if defined(KALVEX_X86_DISPATCH)
#include <immintrin.h>
#endif

namespace {
#if defined(KALVEX_X86_DISPATCH)
// Eight pixels a step: each 128-bit lane takes twelve bytes and spreads them over four pixels.
// A step reads eight bytes past its pixels, so it stops three pixels before the row's end.
__attribute__((target("avx2"))) int CopyRowWide(const uint8_t* src, uint32_t* dst, int width)
{
    const __m256i spread = _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6);
    const __m256i pixels = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0,
            1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 11 <= width; x += 8, src += 24) {
        const __m256i bytes = _mm256_permutevar8x32_epi32(
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)), spread);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + x),
                _mm256_or_si256(_mm256_shuffle_epi8(bytes, pixels), opaque));
    }
    return x;
}

// Four-byte pixels (BGRx) made opaque, eight a step.
__attribute__((target("avx2"))) int CopyRowWide4(const uint8_t* src, uint32_t* dst, int width)
{
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int x = 0;
    for (; x + 8 <= width; x += 8, src += 32)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + x),
                _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)), opaque));
    return x;
}
#endif

// A frame's rows as the view reads them: top-down from top by stride (negative for a bottom-up
// frame), 3 (BGR) or 4 (BGRx) bytes a pixel.
struct CRows
{
    const uint8_t* top = nullptr;
    std::ptrdiff_t stride = 0;
    int bytesPerPixel = 3;
};

// The part of the frame given in picture coordinates into a top-down RGB32 image at a point
// inside it.
void CopyRows(const CRows& rows, const QRect& part, QImage& out, QPoint at)
{
    uint8_t* outBits = out.bits();
    const qsizetype outStride = out.bytesPerLine();
    const int bpp = rows.bytesPerPixel;
#if defined(KALVEX_X86_DISPATCH)
    const bool wide = UseWideInstructions();
#endif
    for (int y = 0; y < part.height(); ++y) {
        const uint8_t* src = rows.top + rows.stride * (part.y() + y)
                + static_cast<std::ptrdiff_t>(part.x()) * bpp;
        auto* dst = reinterpret_cast<uint32_t*>(outBits + outStride * (at.y() + y)) + at.x();
        int x = 0;
#if defined(KALVEX_X86_DISPATCH)
        if (wide)
            x = bpp == 4 ? CopyRowWide4(src, dst, part.width())
                         : CopyRowWide(src, dst, part.width());
#endif
        for (src += bpp * x; x < part.width(); ++x, src += bpp)
            dst[x] = 0xFF000000u | static_cast<uint32_t>(src[2]) << 16
                    | static_cast<uint32_t>(src[1]) << 8 | src[0];
    }
}

int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch())
            .count();
}
} // namespace

CFramePump::CFramePump() = default;

CFramePump::~CFramePump()
{
    Stop();
    SetSource(nullptr);
    // The views may lie in the presenter's memory.
    m_back = {};
    m_front = {};
}

void CFramePump::SetSource(IFrameSource* source)
{
    IFrameSource* old = nullptr;
    {
        const std::lock_guard lock(m_stateMutex);
        old = m_source;
        m_source = source;
        ++m_changes;
    }
    if (old != source) {
        // Outside the state lock: ending a watch waits for a listener that is running.
        if (old && m_watchId >= 0)
            old->UnwatchFrames(m_watchId);
        m_watchId = source ? source->WatchFrames([this] { Wake(); }) : -1;
        m_sourceTells = m_watchId >= 0;
    }
    Wake();
}

void CFramePump::SetOverlayPainter(OverlayPainter painter)
{
    {
        const std::lock_guard lock(m_stateMutex);
        m_overlayPainter = std::move(painter);
        ++m_changes;
    }
    Wake();
}

void CFramePump::SetPresentNotifier(PresentNotifier notifier)
{
    const std::lock_guard lock(m_stateMutex);
    m_presentNotifier = std::move(notifier);
}

void CFramePump::SetChangeProbe(ChangeProbe probe)
{
    {
        const std::lock_guard lock(m_stateMutex);
        m_changeProbe = std::move(probe);
        ++m_changes;
    }
    Wake();
}

void CFramePump::SetFrameTap(FrameTap tap, TapWanted wanted)
{
    const std::lock_guard lock(m_stateMutex);
    m_frameTap = std::move(tap);
    m_tapWanted = std::move(wanted);
}

bool CFramePump::TapWantsFrame() const
{
    TapWanted wanted;
    {
        const std::lock_guard lock(m_stateMutex);
        if (!m_frameTap)
            return false;
        wanted = m_tapWanted;
    }
    return !wanted || wanted();
}

void CFramePump::SetViewFilter(ViewFilter filter)
{
    {
        const std::lock_guard lock(m_stateMutex);
        m_viewFilter = std::move(filter);
        ++m_changes;
    }
    Wake();
}

void CFramePump::MarkChanged()
{
    ++m_changes;
    Wake();
}

void CFramePump::Wake()
{
    {
        const std::lock_guard lock(m_controlMutex);
        ++m_wakeUps;
    }
    m_controlChanged.notify_all();
}

uint64_t CFramePump::WakeUps() const
{
    const std::lock_guard lock(m_controlMutex);
    return m_wakeUps;
}

void CFramePump::SetPresenter(std::unique_ptr<IViewPresenter> presenter)
{
    m_back = {};
    {
        const std::lock_guard lock(m_handOffMutex);
        m_front = {};
    }
    m_presenter = std::move(presenter);
    MarkChanged();
}

void CFramePump::Represent()
{
    m_represent = true;
    Wake();
}

void CFramePump::SetDirectDrawing(bool direct)
{
    m_direct = direct;
    MarkChanged();
}

void CFramePump::SetState(const CPumpState& state)
{
    // The window may hand over a state that did not change: that wakes nobody.
    {
        const std::lock_guard lock(m_stateMutex);
        if (state == m_state)
            return;
        m_state = state;
        ++m_changes;
    }
    Wake();
}

CPumpState CFramePump::State() const
{
    const std::lock_guard lock(m_stateMutex);
    return m_state;
}

int CFramePump::SleepMsForWidth(int captureWidth)
{
    if (captureWidth > 1500)
        return 20;
    if (captureWidth > 1000)
        return 15;
    return 10;
}

int32_t CFramePump::FrameBytes(int width, int height)
{
    if (width <= 0 || height <= 0)
        return 0;
    return static_cast<int32_t>(FrameStride(width)) * height;
}

QRect CFramePump::SourceRect(const CPumpState& s)
{
    if (s.displayScale <= 0)
        return { 0, 0, s.captureWidth, s.captureHeight };
    // Integer divisions truncate toward zero, as the scroll arithmetic always did.
    const int left = -(s.originX / s.displayScale);
    const int top = -(s.originY / s.displayScale);
    const int right = left + s.viewWidth / s.displayScale;
    const int bottom = top + s.viewHeight / s.displayScale;
    return { left, top, right - left, bottom - top };
}

QSize CFramePump::DirectFitSize(int w, int h, int W, int H)
{
    if (w <= 0 || h <= 0)
        return {};
    if (static_cast<double>(H) / h >= static_cast<double>(W) / w)
        return { W, static_cast<int>(static_cast<double>(h) * W / w) };
    return { static_cast<int>(static_cast<double>(w) * H / h), H };
}

bool CFramePump::IsRunning() const
{
    const std::lock_guard lock(m_controlMutex);
    return m_thread.joinable();
}

void CFramePump::Stop()
{
    {
        const std::lock_guard lock(m_controlMutex);
        m_stop = true;
    }
    m_controlChanged.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CFramePump::Restart()
{
    Stop();
    const bool still = State().still;
    {
        const std::lock_guard lock(m_controlMutex);
        m_stop = false;
        m_parked = true;
        // A pump made in still mode is held once more than a resume releases: it waits for
        // the next restart, which the return to live video brings.
        m_suspendCount = still ? 2 : 0;
    }
    m_frameSize = 0;
    m_lastSequence = 0;
    m_presentedChanges = {};
    m_thread = std::thread(&CFramePump::Loop, this);
}

void CFramePump::SuspendPump(int timeoutMs)
{
    std::unique_lock lock(m_controlMutex);
    ++m_suspendCount;
    if (!m_thread.joinable())
        return;
    m_controlChanged.wait_for(
            lock, std::chrono::milliseconds(timeoutMs), [this] { return m_parked || m_stop; });
}

void CFramePump::ResumePump()
{
    {
        const std::lock_guard lock(m_controlMutex);
        if (m_suspendCount > 0)
            --m_suspendCount;
        // What came while held is looked at at once.
        ++m_wakeUps;
    }
    m_controlChanged.notify_all();
}

int CFramePump::SuspendCount() const
{
    const std::lock_guard lock(m_controlMutex);
    return m_suspendCount;
}

int32_t CFramePump::FrameBufferSize() const
{
    const std::lock_guard lock(m_controlMutex);
    return m_frameSize;
}

bool CFramePump::WaitWhileHeld()
{
    std::unique_lock lock(m_controlMutex);
    m_parked = true;
    m_controlChanged.notify_all();
    m_controlChanged.wait(lock, [this] { return m_stop || m_suspendCount == 0; });
    if (m_stop)
        return false;
    m_parked = false;
    // A wake-up from here on belongs to the next iteration.
    m_wakeUpsSeen = m_wakeUps;
    return true;
}

void CFramePump::Sleep()
{
    const CPumpState state = State();
    // Still, there is nothing to look for until the state changes.
    const bool told = m_sourceTells.load() || state.still;
    // Sleeping counts as parked: a suspend need not wait for it.
    std::unique_lock lock(m_controlMutex);
    m_parked = true;
    m_controlChanged.notify_all();
    const auto woken = [this] { return m_stop || m_wakeUps != m_wakeUpsSeen; };
    if (told)
        m_controlChanged.wait(lock, woken);
    else
        m_controlChanged.wait_for(
                lock, std::chrono::milliseconds(SleepMsForWidth(state.captureWidth)), woken);
}

void CFramePump::Loop()
{
    while (WaitWhileHeld()) {
        RunIteration();
        Sleep();
    }
}

void CFramePump::RunIteration()
{
    const CPumpState state = State();
    if (state.still)
        return;
    // Read before the work: a change made while this view is composed brings another one.
    const CChanges changes = Changes();
    const bool represent = m_represent.exchange(false);
    IFrameSource* source = Source();
    bool copied = false;
    bool lent = false;
    if (HasNewFrame(source)) {
        // The merge dialog's direct drawing scales the frame as a whole: it keeps the copy.
        if (!m_direct && !state.filters.AnyOn() && !TapWantsFrame())
            lent = HoldFrame(source);
        if (!lent)
            copied = CopyFrame(source, state);
    }
    if (!copied && !lent && changes == m_presentedChanges) {
        if (represent && m_presenter && !m_front.isNull())
            m_presenter->Present(m_backSlot ^ 1);
        return;
    }
    m_presentedChanges = changes;
    if (copied) {
        FrameTap tap;
        {
            const std::lock_guard lock(m_stateMutex);
            tap = m_frameTap;
        }
        if (tap)
            tap(m_frame.data(), m_frameWidth, m_frameHeight, state);
    }
    if (m_direct)
        ComposeDirect(state, m_frameWidth, m_frameHeight);
    else
        ComposeView(state, m_frameWidth, m_frameHeight);
    Publish(copied || lent ? m_frameArrivalNs : 0);
    if (copied || lent)
        ++m_cameraFramesPresented;
}

IFrameSource* CFramePump::Source() const
{
    const std::lock_guard lock(m_stateMutex);
    return m_source;
}

CFramePump::CChanges CFramePump::Changes() const
{
    ChangeProbe probe;
    {
        const std::lock_guard lock(m_stateMutex);
        probe = m_changeProbe;
    }
    return { m_changes.load(), probe ? probe() : 0 };
}

bool CFramePump::HasNewFrame(IFrameSource* source) const
{
    if (!source)
        return false;
    const std::optional<uint64_t> newest = source->NewestSequence();
    return !newest || (*newest != 0 && *newest != m_lastSequence);
}

bool CFramePump::CopyFrame(IFrameSource* source, const CPumpState& state)
{
    int width = 0;
    int height = 0;
    if (source->GetCaptureSize(width, height) < 0 || width <= 0 || height <= 0)
        return false;
    int32_t size = FrameBytes(width, height);
    int32_t held = size;
    if (source->CaptureToBuf(&held, nullptr) >= 0)
        size = held;
    if (size != m_frameSize) {
        m_frame.assign(static_cast<size_t>(std::max<int32_t>(size, 0)), 0);
        const std::lock_guard lock(m_controlMutex);
        m_frameSize = size;
        m_frameWidth = 0;
        m_frameHeight = 0;
    }
    // A frame smaller than the reported size would make the filters and the view read past
    // the buffer: such a frame is not used.
    CFrameStamp stamp;
    if (size < FrameBytes(width, height)
            || source->CaptureStamped(&size, m_frame.data(), stamp) < 0)
        return false;
    m_lastSequence = stamp.sequence;
    m_frameArrivalNs = stamp.arrivalNs;
    state.filters.Apply(m_frame.data(), width, height);
    m_frameWidth = width;
    m_frameHeight = height;
    m_held = {};
    ++m_framesCopied;
    return true;
}

bool CFramePump::HoldFrame(IFrameSource* source)
{
    TavoHeldFrame held;
    if (!source->HoldNewest(held) || !held.top || held.width <= 0 || held.height <= 0
            || (held.bytesPerPixel != 3 && held.bytesPerPixel != 4)
            || held.stride < held.width * held.bytesPerPixel)
        return false;
    // The frame stays with the pump until the next: a redraw of the drawing alone, and one
    // after the camera has gone, are made from it.
    m_held = std::move(held);
    m_lastSequence = m_held.sequence;
    m_frameArrivalNs = m_held.arrivalNs;
    m_frameWidth = m_held.width;
    m_frameHeight = m_held.height;
    ++m_framesCopied;
    ++m_framesLent;
    return true;
}

void CFramePump::ComposeView(const CPumpState& state, int width, int height)
{
    if (state.viewWidth <= 0 || state.viewHeight <= 0)
        return;
    const QSize viewSize(state.viewWidth, state.viewHeight);
    PrepareBack(viewSize);
    const int scale = state.displayScale;
    const QRect source = scale <= 0 ? QRect(0, 0, width, height) : SourceRect(state);
    const QRect visible = source & QRect(0, 0, width, height);
    // Where the visible part lands in the view; fit stretches the frame over the whole view.
    const QRect target = scale <= 0
            ? QRect(QPoint(0, 0), viewSize)
            : QRect((visible.x() - source.x()) * scale, (visible.y() - source.y()) * scale,
                    visible.width() * scale, visible.height() * scale);
    if (visible.isEmpty() || !target.contains(m_back.rect()))
        m_back.fill(Qt::black);
    // One pass turns the bottom-up frame into top-down view pixels: at X 1 straight into the
    // view, otherwise into a scratch image that is then only scaled, never flipped.
    CRows rows { m_held.top, m_held.stride, m_held.bytesPerPixel };
    if (!m_held.top) {
        const auto stride = static_cast<std::ptrdiff_t>(FrameStride(width));
        rows = { m_frame.data() + stride * (height - 1), -stride, 3 };
    }
    if (!visible.isEmpty() && scale == 1) {
        CopyRows(rows, visible, m_back, target.topLeft());
    } else if (!visible.isEmpty()) {
        if (m_scaled.size() != visible.size())
            m_scaled = QImage(visible.size(), QImage::Format_RGB32);
        CopyRows(rows, visible, m_scaled, QPoint(0, 0));
    }
    if (!visible.isEmpty() && scale != 1) {
        QPainter scaler(&m_back);
        scaler.drawImage(target, m_scaled);
    }
    OverlayPainter overlay;
    ViewFilter filter;
    {
        const std::lock_guard lock(m_stateMutex);
        overlay = m_overlayPainter;
        filter = m_viewFilter;
    }
    if (filter)
        filter(m_back, state);
    QPainter painter(&m_back);
    if (overlay)
        overlay(painter, state);
}

void CFramePump::ComposeDirect(const CPumpState& state, int width, int height)
{
    if (state.viewWidth <= 0 || state.viewHeight <= 0)
        return;
    PrepareBack(QSize(state.viewWidth, state.viewHeight));
    m_back.fill(Qt::black);
    if (width <= 0 || height <= 0)
        return;
    QRect target;
    if (state.displayScale > 0) {
        target = QRect(state.originX, state.originY, width * state.displayScale,
                height * state.displayScale);
    } else {
        target = QRect(
                QPoint(0, 0), DirectFitSize(width, height, state.parentWidth, state.parentHeight));
    }
    const QImage frame(m_frame.data(), width, height, static_cast<qsizetype>(FrameBytes(width, 1)),
            QImage::Format_BGR888);
    QPainter painter(&m_back);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(target.x(), target.y() + target.height());
    painter.scale(1, -1);
    painter.drawImage(QRectF(0, 0, target.width(), target.height()), frame);
}

void CFramePump::PrepareBack(QSize size)
{
    // The presenter's slot is asked every time: that waits until the server has read it.
    if (m_presenter)
        m_back = m_presenter->View(m_backSlot, size);
    else if (m_back.size() != size)
        m_back = QImage(size, QImage::Format_RGB32);
}

void CFramePump::Publish(int64_t arrivalNs)
{
    PresentNotifier notifier;
    {
        const std::lock_guard lock(m_handOffMutex);
        std::swap(m_front, m_back);
        m_backSlot ^= 1;
        m_frontArrivalNs = arrivalNs;
        m_frontPainted = false;
    }
    {
        const std::lock_guard lock(m_stateMutex);
        notifier = m_presentNotifier;
    }
    ++m_framesPresented;
    if (m_presenter && m_presenter->Present(m_backSlot ^ 1)) {
        const std::lock_guard lock(m_handOffMutex);
        if (arrivalNs != 0)
            RecordLatency(arrivalNs);
        m_frontPainted = true;
        return;
    }
    if (notifier)
        notifier();
}

void CFramePump::RecordLatency(int64_t arrivalNs) const
{
    const double ms = static_cast<double>(NowNs() - arrivalNs) / 1e6;
    m_latency.meanMs += (ms - m_latency.meanMs) / static_cast<double>(++m_latency.frames);
    m_latency.maxMs = std::max(m_latency.maxMs, ms);
}

void CFramePump::PaintView(const std::function<void(const QImage&)>& paint) const
{
    const std::lock_guard lock(m_handOffMutex);
    paint(m_front);
    if (m_frontPainted || m_frontArrivalNs == 0)
        return;
    m_frontPainted = true;
    RecordLatency(m_frontArrivalNs);
}

CPumpLatency CFramePump::Latency() const
{
    const std::lock_guard lock(m_handOffMutex);
    return m_latency;
}

void CFramePump::ResetLatency()
{
    const std::lock_guard lock(m_handOffMutex);
    m_latency = {};
}

#include "video/LiveStackSource.h"

#include "base/FrameLayout.h"
#include "imgproc/LiveStacker.h"

#include <cstring>

namespace {
constexpr int32_t kOk = 0;
constexpr int32_t kFail = -1;
} // namespace

CLiveStackSource::CLiveStackSource(IFrameSource& camera)
    : m_camera(camera), m_thread([this] { Work(); })
{
    m_cameraWatch = m_camera.WatchFrames([this] { Feed(); });
}

CLiveStackSource::~CLiveStackSource()
{
    // First the camera's calls end, then the worker.
    if (m_cameraWatch >= 0)
        m_camera.UnwatchFrames(m_cameraWatch);
    {
        const std::lock_guard lock(m_feedMutex);
        m_stop = true;
    }
    m_inputChanged.notify_all();
    m_thread.join();
}

void CLiveStackSource::Reset()
{
    {
        const std::lock_guard lock(m_feedMutex);
        m_reset = true;
    }
    const std::lock_guard lock(m_outputMutex);
    m_status.merged = 0;
    m_status.skipped = 0;
}

CLiveStackSource::CStatus CLiveStackSource::Status() const
{
    const std::lock_guard lock(m_outputMutex);
    return m_status;
}

void CLiveStackSource::Feed()
{
    const std::optional<uint64_t> newest = m_camera.NewestSequence();
    if (newest && *newest == 0)
        return;
    const std::lock_guard lock(m_feedMutex);
    if (newest && *newest == m_seenSequence)
        return;
    if (m_inputReady) {
        // One merge at a time: a frame that comes meanwhile is not kept.
        if (newest) {
            m_seenSequence = *newest;
            const std::lock_guard out(m_outputMutex);
            ++m_status.dropped;
        }
        return;
    }
    int width = 0;
    int height = 0;
    if (m_camera.GetCaptureSize(width, height) < 0 || width <= 0 || height <= 0)
        return;
    int32_t size = static_cast<int32_t>(FrameBytes(width, height));
    m_input.resize(static_cast<size_t>(size));
    CFrameStamp stamp;
    if (m_camera.CaptureStamped(&size, m_input.data(), stamp) < 0
            || size < static_cast<int32_t>(FrameBytes(width, height)))
        return;
    // A source that cannot tell its frames apart is fed whatever it holds.
    if (stamp.sequence != 0 && stamp.sequence == m_fedSequence)
        return;
    m_fedSequence = stamp.sequence;
    m_seenSequence = newest ? *newest : stamp.sequence;
    m_inputWidth = width;
    m_inputHeight = height;
    m_inputArrivalNs = stamp.arrivalNs;
    m_inputReady = true;
    m_inputChanged.notify_one();
}

void CLiveStackSource::Work()
{
    CLiveStacker stacker;
    for (;;) {
        std::unique_lock lock(m_feedMutex);
        m_inputChanged.wait(lock, [this] { return m_stop || m_inputReady; });
        if (m_stop)
            return;
        if (m_reset) {
            stacker.Reset();
            m_reset = false;
        }
        lock.unlock();

        const CImageView frame { m_inputWidth, m_inputHeight,
            static_cast<std::size_t>(FrameStride(m_inputWidth)), m_input.data() };
        const CLiveStacker::EAdded added = stacker.Add(frame);

        lock.lock();
        // A reset asked for meanwhile throws this stack away before anybody sees it.
        const bool discard = m_reset;
        m_inputReady = false;
        lock.unlock();
        if (discard || added == CLiveStacker::EAdded::Invalid)
            continue;
        {
            const std::lock_guard out(m_outputMutex);
            m_status.merged = stacker.MergedCount();
            m_status.skipped = stacker.SkippedCount();
            if (added == CLiveStacker::EAdded::Skipped)
                continue;
            const CImageView result = stacker.Result();
            m_output.resize(FrameBytes(result.width, result.height));
            std::memcpy(m_output.data(), result.bits, m_output.size());
            m_outputWidth = result.width;
            m_outputHeight = result.height;
            m_outputArrivalNs = m_inputArrivalNs;
            ++m_status.results;
        }
        const std::lock_guard watch(m_watchMutex);
        for (const auto& [id, watcher] : m_watchers)
            watcher();
    }
}

int CLiveStackSource::WatchFrames(std::function<void()> listener)
{
    const std::lock_guard lock(m_watchMutex);
    const int id = m_nextWatch++;
    m_watchers.emplace(id, std::move(listener));
    return id;
}

void CLiveStackSource::UnwatchFrames(int id)
{
    const std::lock_guard lock(m_watchMutex);
    m_watchers.erase(id);
}

int32_t CLiveStackSource::GetCaptureSize(int& width, int& height)
{
    {
        const std::lock_guard lock(m_outputMutex);
        if (m_status.results > 0) {
            width = m_outputWidth;
            height = m_outputHeight;
            return kOk;
        }
    }
    return m_camera.GetCaptureSize(width, height);
}

int32_t CLiveStackSource::CaptureToBuf(int32_t* byteCount, uint8_t* buffer)
{
    CFrameStamp stamp;
    return CaptureStamped(byteCount, buffer, stamp);
}

std::optional<uint64_t> CLiveStackSource::NewestSequence()
{
    Feed();
    const std::lock_guard lock(m_outputMutex);
    return m_status.results;
}

int32_t CLiveStackSource::CaptureStamped(int32_t* byteCount, uint8_t* buffer, CFrameStamp& stamp)
{
    if (!byteCount)
        return kFail;
    const std::lock_guard lock(m_outputMutex);
    if (m_status.results == 0)
        return kFail;
    const auto size = static_cast<int32_t>(m_output.size());
    if (!buffer) {
        *byteCount = size;
        return kOk;
    }
    if (*byteCount < size)
        return kFail;
    std::memcpy(buffer, m_output.data(), m_output.size());
    *byteCount = size;
    stamp.sequence = m_status.results;
    stamp.arrivalNs = m_outputArrivalNs;
    return kOk;
}

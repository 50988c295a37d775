#pragma once

// A camera for the live stack's tests and benchmark: it plays the pictures it is shown.

#include "base/FrameLayout.h"
#include "video/FrameSource.h"

#include <opencv2/core.hpp>

#include <cstring>
#include <functional>
#include <mutex>
#include <vector>

namespace sweep {

// Hands out one picture at a time in the frame layout; Show() makes it the newest frame and,
// when `tells`, calls its watcher as a camera's streaming thread does.
class CSweepCamera : public IFrameSource
{
public:
    explicit CSweepCamera(bool tells = false) : m_tells(tells) { }
    void Show(const cv::Mat& picture)
    {
        Store(picture);
        const std::lock_guard lock(m_watchMutex);
        if (m_watcher)
            m_watcher();
    }
    int WatchFrames(std::function<void()> listener) override
    {
        if (!m_tells)
            return -1;
        const std::lock_guard lock(m_watchMutex);
        m_watcher = std::move(listener);
        return 7;
    }
    void UnwatchFrames(int id) override
    {
        (void)id;
        const std::lock_guard lock(m_watchMutex);
        m_watcher = {};
    }
    void Store(const cv::Mat& picture)
    {
        const std::lock_guard lock(m_mutex);
        m_width = picture.cols;
        m_height = picture.rows;
        const size_t stride = static_cast<size_t>(FrameStride(m_width));
        m_frame.assign(FrameBytes(m_width, m_height), 0);
        for (int y = 0; y < m_height; ++y)
            std::memcpy(m_frame.data() + y * stride, picture.ptr(y), size_t(m_width) * 3);
        ++m_sequence;
    }
    int32_t GetCaptureSize(int& width, int& height) override
    {
        const std::lock_guard lock(m_mutex);
        width = m_width;
        height = m_height;
        return m_width > 0 ? 0 : -1;
    }
    int32_t CaptureToBuf(int32_t* byteCount, uint8_t* buffer) override
    {
        CFrameStamp stamp;
        return CaptureStamped(byteCount, buffer, stamp);
    }
    std::optional<uint64_t> NewestSequence() override
    {
        const std::lock_guard lock(m_mutex);
        return m_sequence;
    }
    int32_t CaptureStamped(int32_t* byteCount, uint8_t* buffer, CFrameStamp& stamp) override
    {
        const std::lock_guard lock(m_mutex);
        if (m_sequence == 0 || *byteCount < static_cast<int32_t>(m_frame.size()))
            return -1;
        std::memcpy(buffer, m_frame.data(), m_frame.size());
        *byteCount = static_cast<int32_t>(m_frame.size());
        stamp.sequence = m_sequence;
        return 0;
    }

private:
    const bool m_tells;
    std::mutex m_watchMutex;
    std::function<void()> m_watcher;
    std::mutex m_mutex;
    std::vector<uint8_t> m_frame;
    int m_width = 0;
    int m_height = 0;
    uint64_t m_sequence = 0;
};

} // namespace sweep

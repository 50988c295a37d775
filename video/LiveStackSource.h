#pragma once

#include "video/FrameSource.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

// The live stack between the camera and the frame pump: it hands the camera's newest frame to
// a worker of its own whenever that worker is free, which aligns it and merges it into the
// running stack, and hands out that stack as the frames it serves. Frames that arrive while one
// is being merged are dropped, never queued. A camera that tells of its frames feeds the worker
// as they come, and the stack tells its own watchers of each new result; a camera that cannot
// is looked at whenever the pump asks for news. Every call may come from any thread.
class CLiveStackSource : public IFrameSource
{
public:
    struct CStatus
    {
        int merged = 0; // frames in the stack, the first included
        int skipped = 0; // frames that did not line up with it
        uint64_t dropped = 0; // camera frames that came while one was being merged
        uint64_t results = 0; // stacks handed out so far
    };

    explicit CLiveStackSource(IFrameSource& camera);
    ~CLiveStackSource() override;
    CLiveStackSource(const CLiveStackSource&) = delete;
    CLiveStackSource& operator=(const CLiveStackSource&) = delete;

    // The next frame starts a new stack.
    void Reset();
    CStatus Status() const;

    int32_t GetCaptureSize(int& width, int& height) override;
    int32_t CaptureToBuf(int32_t* byteCount, uint8_t* buffer) override;
    std::optional<uint64_t> NewestSequence() override;
    int32_t CaptureStamped(int32_t* byteCount, uint8_t* buffer, CFrameStamp& stamp) override;
    int WatchFrames(std::function<void()> listener) override;
    void UnwatchFrames(int id) override;

private:
    // Copies the camera's newest frame for the worker when it is free and the frame is new.
    void Feed();
    void Work();

    IFrameSource& m_camera;

    // The worker's input: filled by Feed() while m_inputReady is false, the worker's after.
    std::mutex m_feedMutex;
    std::condition_variable m_inputChanged;
    bool m_stop = false;
    bool m_inputReady = false;
    bool m_reset = false;
    uint64_t m_fedSequence = 0;
    uint64_t m_seenSequence = 0;
    std::vector<uint8_t> m_input;
    int m_inputWidth = 0;
    int m_inputHeight = 0;
    int64_t m_inputArrivalNs = 0;

    // What the pump and the window read.
    mutable std::mutex m_outputMutex;
    std::vector<uint8_t> m_output;
    int m_outputWidth = 0;
    int m_outputHeight = 0;
    int64_t m_outputArrivalNs = 0;
    CStatus m_status;

    // Held while watchers are told, so that one is never called after UnwatchFrames().
    std::mutex m_watchMutex;
    std::map<int, std::function<void()>> m_watchers;
    int m_nextWatch = 0;

    std::thread m_thread;
    int m_cameraWatch = -1;
};

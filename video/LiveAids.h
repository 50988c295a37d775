#pragma once

#include "imgproc/LiveHistogram.h"

#include <QImage>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>

class CFramePump;
struct CPumpState;

// What the live aids measured last, for the window to show.
struct CLiveReadings
{
    double sharpness = 0.0;
    double recentMax = 0.0; // the highest sharpness of the last few seconds
    bool hasHistogram = false;
    CLiveHistogram histogram;
    uint64_t serial = 0; // moves with every new reading; 0: none yet
};

// Focus peaking, the sharpness meter and the live histogram, worked on the pump thread.
// Peaking marks the composed view, so it costs only when a view is made; the meter and the
// histogram look at a new camera frame a few times a second. Everything switched off costs
// one check per new frame.
class CLiveAids
{
public:
    // Monotonic milliseconds; injected by tests.
    using Clock = std::function<int64_t()>;
    static constexpr int kReadingIntervalMs = 200;
    static constexpr int kRecentMaxMs = 5000;
    // The histogram's shape counts a grid of at most this many pixels of a large frame, which
    // is all a drawing needs; its clipped shares count every pixel.
    static constexpr int kHistogramSamples = 160000;

    explicit CLiveAids(Clock clock = {});

    // Installs the view filter; a toggle of peaking then redraws at once. New frames come
    // through OnFrame() from the pump's frame tap, which the owner shares with others.
    void Attach(CFramePump& pump);

    void SetPeaking(bool on);
    bool Peaking() const { return m_peaking.load(); }
    // 0x00RRGGBB
    void SetPeakColour(uint32_t rgb);
    uint32_t PeakColour() const { return m_peakColour.load(); }
    void SetMeter(bool on) { m_meter = on; }
    bool Meter() const { return m_meter.load(); }
    void SetHistogram(bool on) { m_histogramOn = on; }
    bool Histogram() const { return m_histogramOn.load(); }

    // Pump thread: whether OnFrame() would read the next frame (a reading is due); the pump
    // copies frames only then.
    bool WantsFrame() const;
    // Pump thread: a new camera frame (24-bit BGR, bottom-up) and a composed view.
    void OnFrame(const uint8_t* frame, int width, int height, const CPumpState& state);
    void OnView(QImage& view);

    CLiveReadings Readings() const;

private:
    int64_t Now() const;

    Clock m_clock;
    CFramePump* m_pump = nullptr;
    std::atomic<bool> m_peaking { false };
    std::atomic<uint32_t> m_peakColour { 0x00FF2020u };
    std::atomic<bool> m_meter { false };
    std::atomic<bool> m_histogramOn { false };

    // Pump thread only.
    int m_peakThreshold = 0;
    int64_t m_lastReadingMs = 0;
    bool m_readAny = false;
    std::deque<std::pair<int64_t, double>> m_recent;

    mutable std::mutex m_mutex;
    CLiveReadings m_readings;
};

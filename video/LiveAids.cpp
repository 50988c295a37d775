#include "video/LiveAids.h"

#include "imgproc/FocusMeasure.h"
#include "video/FramePump.h"

#include <algorithm>
#include <chrono>

// Before any view was seen the floor holds, so the first view is not marked all over.
CLiveAids::CLiveAids(Clock clock)
    : m_clock(std::move(clock)), m_peakThreshold(CFocusMeasure::PeakThreshold(0))
{
}

int64_t CLiveAids::Now() const
{
    if (m_clock)
        return m_clock();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch())
            .count();
}

void CLiveAids::Attach(CFramePump& pump)
{
    m_pump = &pump;
    pump.SetViewFilter([this](QImage& view, const CPumpState&) { OnView(view); });
}

void CLiveAids::SetPeaking(bool on)
{
    if (m_peaking.exchange(on) != on && m_pump)
        m_pump->MarkChanged();
}

void CLiveAids::SetPeakColour(uint32_t rgb)
{
    if (m_peakColour.exchange(rgb & 0x00FFFFFFu) != (rgb & 0x00FFFFFFu) && m_pump && Peaking())
        m_pump->MarkChanged();
}

bool CLiveAids::WantsFrame() const
{
    if (!m_meter.load() && !m_histogramOn.load())
        return false;
    return !m_readAny || Now() - m_lastReadingMs >= kReadingIntervalMs;
}

void CLiveAids::OnFrame(const uint8_t* frame, int width, int height, const CPumpState& state)
{
    const bool meter = m_meter.load();
    const bool histogram = m_histogramOn.load();
    if (!(meter || histogram) || !frame || width <= 0 || height <= 0)
        return;
    const int64_t now = Now();
    if (m_readAny && now - m_lastReadingMs < kReadingIntervalMs)
        return;
    m_readAny = true;
    m_lastReadingMs = now;

    CLiveReadings next;
    {
        const std::lock_guard lock(m_mutex);
        next.serial = m_readings.serial + 1;
    }
    if (meter) {
        // The part on screen: at a zoom the user focuses on what is seen.
        const QRect source = CFramePump::SourceRect(state) & QRect(0, 0, width, height);
        const CFrameRegion region = state.displayScale <= 0 || source.isEmpty()
                ? CFrameRegion {}
                : CFrameRegion { source.x(), source.y(), source.width(), source.height() };
        next.sharpness = CFocusMeasure::VarianceOfLaplacian(frame, width, height, region);
        m_recent.emplace_back(now, next.sharpness);
        while (!m_recent.empty() && now - m_recent.front().first > kRecentMaxMs)
            m_recent.pop_front();
        for (const auto& reading : m_recent)
            next.recentMax = std::max(next.recentMax, reading.second);
    } else {
        m_recent.clear();
    }
    if (histogram) {
        next.histogram.Compute(
                frame, width, height, CLiveHistogram::GridStep(width, height, kHistogramSamples));
        next.hasHistogram = true;
    }
    const std::lock_guard lock(m_mutex);
    m_readings = next;
}

void CLiveAids::OnView(QImage& view)
{
    if (!m_peaking.load() || view.isNull() || view.depth() != 32)
        return;
    const uint32_t colour = 0xFF000000u | m_peakColour.load();
    const int strongest = CFocusMeasure::MarkPeaks(
            view.bits(), view.width(), view.height(), view.bytesPerLine(), colour, m_peakThreshold);
    m_peakThreshold = CFocusMeasure::PeakThreshold(strongest);
}

CLiveReadings CLiveAids::Readings() const
{
    const std::lock_guard lock(m_mutex);
    return m_readings;
}

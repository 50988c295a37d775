#include "app/HistogramView.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

CHistogramView::CHistogramView(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(48);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CHistogramView::SetHistogram(const CLiveHistogram& histogram, CLiveHistogram::Channel channel)
{
    m_counts = histogram.Of(channel);
    m_channel = channel;
    // Scaled to the largest count between the ends, so a clipped end does not flatten the rest.
    m_peak = *std::max_element(m_counts.begin() + 1, m_counts.end() - 1);
    update();
}

void CHistogramView::Clear()
{
    m_counts.fill(0);
    m_peak = 0;
    update();
}

void CHistogramView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(24, 24, 24));
    if (m_peak == 0 && m_counts.front() == 0 && m_counts.back() == 0)
        return;
    static const QColor colours[] = { QColor(220, 220, 220), QColor(230, 60, 60),
        QColor(60, 200, 60), QColor(70, 110, 240) };
    const double w = width();
    const int h = height();
    // Square root: faint tones stay visible beside a large peak.
    const double scale = m_peak ? (h - 2) / std::sqrt(static_cast<double>(m_peak)) : 0.0;
    for (int i = 0; i < 256; ++i) {
        const int bar = std::min(h - 2,
                static_cast<int>(std::lround(std::sqrt(static_cast<double>(m_counts[i])) * scale)));
        const bool clipped = (i == 0 || i == 255) && m_counts[i] > 0;
        const int x0 = static_cast<int>(i * w / 256);
        const int x1 = std::max(x0 + 1, static_cast<int>((i + 1) * w / 256));
        painter.fillRect(x0, h - (clipped ? h : bar), x1 - x0, clipped ? h : bar,
                clipped ? QColor(255, 40, 40) : colours[m_channel]);
    }
}

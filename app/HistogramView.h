#pragma once

#include "imgproc/LiveHistogram.h"

#include <QWidget>

// A small drawing of one channel of the live histogram: 256 columns, the ends (clipped
// values) drawn in red when anything is there.
class CHistogramView : public QWidget
{
    Q_OBJECT
public:
    explicit CHistogramView(QWidget* parent = nullptr);

    void SetHistogram(const CLiveHistogram& histogram, CLiveHistogram::Channel channel);
    void Clear();
    QSize sizeHint() const override { return { 220, 64 }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CLiveHistogram::Counts m_counts {};
    uint32_t m_peak = 0;
    CLiveHistogram::Channel m_channel = CLiveHistogram::Luminance;
};

#include "count/SizeHistogram.h"

#include <QPainter>

#include <algorithm>

CSizeHistogram::CSizeHistogram(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(90);
}

std::vector<int> CSizeHistogram::Classify(
        const std::vector<double>& sizes, int classes, double& low, double& high)
{
    low = high = 0.0;
    if (sizes.empty() || classes < 1)
        return {};
    const auto [lowest, highest] = std::minmax_element(sizes.begin(), sizes.end());
    low = *lowest;
    high = *highest;
    if (high <= low)
        return { int(sizes.size()) };
    std::vector<int> bins(size_t(classes), 0);
    for (const double s : sizes) {
        const int i = std::min(classes - 1, int((s - low) / (high - low) * classes));
        ++bins[size_t(i)];
    }
    return bins;
}

void CSizeHistogram::SetSizes(const std::vector<double>& sizes, const QString& unit)
{
    m_bins = Classify(sizes, kClasses, m_low, m_high);
    m_unit = unit;
    update();
}

void CSizeHistogram::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const int textHeight = fontMetrics().height();
    const QRect plot = rect().adjusted(4, 4, -4, -textHeight - 4);
    if (m_bins.empty() || plot.height() < 4) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, tr("No objects"));
        return;
    }
    const int peak = *std::max_element(m_bins.begin(), m_bins.end());
    const double width = double(plot.width()) / double(m_bins.size());
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().highlight());
    for (size_t i = 0; i < m_bins.size(); ++i) {
        const int h = peak > 0 ? m_bins[i] * plot.height() / peak : 0;
        painter.drawRect(QRectF(plot.left() + i * width + 1, plot.bottom() - h, width - 2, h));
    }
    painter.setPen(palette().color(QPalette::Text));
    const QRect axis(plot.left(), plot.bottom() + 2, plot.width(), textHeight);
    painter.drawText(axis, Qt::AlignLeft, QString::number(m_low, 'g', 4));
    painter.drawText(axis, Qt::AlignHCenter, tr("equivalent diameter (%1)").arg(m_unit));
    painter.drawText(axis, Qt::AlignRight, QString::number(m_high, 'g', 4));
}

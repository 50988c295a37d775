#include "measure/OverlayPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {
// Far beyond any screen; keeps a tiny scale from overflowing the pixel arithmetic.
constexpr double kMaxBarPixels = 1.0e7;

// Truncation toward zero of zoom × size, in the zoom's own precision.
int Scaled(float zoom, int size)
{
    return static_cast<int>(zoom * static_cast<float>(size));
}

int CeilDiv(int n, int d)
{
    return n <= 0 ? 0 : (n + d - 1) / d;
}

int BarPixels(int length, double scale, float zoom)
{
    if (!std::isfinite(scale) || scale <= 0.0)
        scale = 1.0; // an unusable calibration measures in pixels
    const double pixels = static_cast<double>(length) / scale * static_cast<double>(zoom);
    return static_cast<int>(std::clamp(pixels, -kMaxBarPixels, kMaxBarPixels));
}

QString BarLabel(int length, const QString& unit)
{
    return QStringLiteral("%1.00%2").arg(length).arg(unit);
}
} // namespace

COverlayPainter::COverlayPainter(const CColorSetting& settings, float zoom, double scaleX,
        double scaleY, const QString& unit, const QFont& font)
    : m_settings(settings), m_zoom(zoom), m_scaleX(scaleX), m_scaleY(scaleY), m_unit(unit),
      m_font(font)
{
}

std::vector<QLine> COverlayPainter::GridLines(Target target, int width, int height) const
{
    int cell = target == Target::Canvas ? Scaled(m_zoom, m_settings.GridSize) : m_settings.GridSize;
    if (cell < 1)
        cell = 1;
    const int rows = CeilDiv(height, cell);
    const int columns = CeilDiv(width, cell);
    std::vector<QLine> lines;
    lines.reserve(static_cast<size_t>(rows) + static_cast<size_t>(columns));
    for (int k = 1; k <= rows; ++k)
        lines.emplace_back(0, k * cell, width, k * cell);
    for (int k = 1; k <= columns; ++k)
        lines.emplace_back(k * cell, 0, k * cell, height);
    return lines;
}

std::vector<QLine> COverlayPainter::RulerLines(
        Target target, int width, int height, int offsetX, int offsetY) const
{
    const float zoom = EffectiveZoom(target);
    int step = Scaled(zoom, m_settings.RulerSize);
    if (step < 1)
        step = 1;
    const int tick = Scaled(zoom, 20);
    int cx = width / 2;
    int cy = height / 2;
    if (target == Target::Frame) {
        cx -= offsetX;
        cy -= offsetY;
    }
    // On the canvas the ticks reach the edges from the centre; a frame may be shifted, so
    // it gets enough ticks for the whole width either way.
    const bool canvas = target == Target::Canvas;
    const int ticksX = CeilDiv(canvas ? width / 2 : width, step);
    const int ticksY = CeilDiv(canvas ? height / 2 : height, step);

    std::vector<QLine> lines;
    lines.reserve(2 + 2 * (static_cast<size_t>(ticksX) + static_cast<size_t>(ticksY)));
    lines.emplace_back(0, cy, width, cy);
    lines.emplace_back(cx, 0, cx, height);
    for (int k = 1; k <= ticksX; ++k) {
        lines.emplace_back(cx - k * step, cy - tick, cx - k * step, cy + tick);
        lines.emplace_back(cx + k * step, cy - tick, cx + k * step, cy + tick);
    }
    for (int k = 1; k <= ticksY; ++k) {
        lines.emplace_back(cx - tick, cy - k * step, cx + tick, cy - k * step);
        lines.emplace_back(cx - tick, cy + k * step, cx + tick, cy + k * step);
    }
    return lines;
}

COverlayPainter::ScaleBar COverlayPainter::ScaleBarLayout(Target target, QSize area) const
{
    ScaleBar bar;
    const float zoom = EffectiveZoom(target);
    const int margin = Scaled(zoom, 60);
    const int end = Scaled(zoom, 10);
    const int lengthX = BarPixels(m_settings.ScaleXLen, m_scaleX, zoom);
    const int lengthY = BarPixels(m_settings.ScaleYLen, m_scaleY, zoom);

    int x = margin;
    int y = margin;
    switch (m_settings.ScalePos) {
    case 1:
        y = area.height() - margin;
        break;
    case 2:
        x = area.width() - margin;
        break;
    case 3:
        x = area.width() - margin;
        y = area.height() - margin;
        break;
    default:
        break;
    }

    if (m_settings.ScaleType == 0) {
        bar.lines = { QLine(x, y - end, x, y + end), QLine(x, y, x + lengthX, y),
            QLine(x + lengthX, y - end, x + lengthX, y + end) };
        bar.labels = { { QPoint(x, y + end), BarLabel(m_settings.ScaleXLen, m_unit) } };
    } else if (m_settings.ScaleType == 1) {
        const int yb = y + lengthY;
        bar.lines = { QLine(x, yb - end, x, yb + end), QLine(x, yb, x + lengthX, yb),
            QLine(x + lengthX, yb, x + lengthX, y),
            QLine(x + lengthX - end, y, x + lengthX + end, y) };
        bar.labels = { { QPoint(x, yb + end), BarLabel(m_settings.ScaleXLen, m_unit) },
            { QPoint(x + lengthX + end, y), BarLabel(m_settings.ScaleYLen, m_unit) } };
    }
    return bar;
}

QSize COverlayPainter::ScaleBarArea(Target target, QSize clientSize, QSize pictureSize)
{
    return target == Target::Image ? pictureSize : clientSize;
}

QPen COverlayPainter::OverlayPen(COLORREF colour) const
{
    QPen pen(ColorRefToQColor(colour));
    pen.setStyle(Qt::SolidLine);
    pen.setWidth(std::max(0, m_settings.LineSize));
    // A one-pixel pen drawn cosmetic stays on the raster engine's line fast path.
    pen.setCosmetic(m_settings.LineSize <= 1);
    return pen;
}

void COverlayPainter::DrawLines(QPainter& painter, std::vector<QLine> lines) const
{
    if (m_flipHeight > 0) {
        const int last = m_flipHeight - 1;
        for (QLine& line : lines)
            line.setLine(line.x1(), last - line.y1(), line.x2(), last - line.y2());
    }
    FillLines(painter, lines, painter.pen());
}

void COverlayPainter::FillLines(QPainter& painter, const std::vector<QLine>& lines, const QPen& pen)
{
    // Every overlay line is horizontal or vertical: as rectangle fills they skip the
    // rasteriser's per-row spans, which makes a 10-pixel grid on a 24-bit frame affordable.
    if (pen.style() != Qt::SolidLine) {
        painter.setPen(pen);
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        return;
    }
    const int width = std::max(1, pen.width());
    const int before = (width - 1) / 2;
    const QColor colour = pen.color();
    for (const QLine& line : lines) {
        if (line.y1() == line.y2()) {
            const int left = std::min(line.x1(), line.x2());
            const int right = std::max(line.x1(), line.x2());
            painter.fillRect(QRect(left, line.y1() - before, right - left + 1, width), colour);
        } else if (line.x1() == line.x2()) {
            const int top = std::min(line.y1(), line.y2());
            const int bottom = std::max(line.y1(), line.y2());
            painter.fillRect(QRect(line.x1() - before, top, width, bottom - top + 1), colour);
        } else {
            painter.setPen(pen);
            painter.drawLine(line);
        }
    }
}

void COverlayPainter::DrawGrid(QPainter& painter, Target target, int width, int height) const
{
    painter.save();
    painter.setPen(OverlayPen(m_settings.GridColor));
    DrawLines(painter, GridLines(target, width, height));
    painter.restore();
}

void COverlayPainter::DrawRuler(
        QPainter& painter, Target target, int width, int height, int offsetX, int offsetY) const
{
    painter.save();
    painter.setPen(OverlayPen(m_settings.RulerColor));
    DrawLines(painter, RulerLines(target, width, height, offsetX, offsetY));
    painter.restore();
}

void COverlayPainter::DrawScaleBar(QPainter& painter, Target target, QSize area) const
{
    const ScaleBar bar = ScaleBarLayout(target, area);
    if (bar.lines.empty())
        return;
    painter.save();
    painter.setPen(OverlayPen(m_settings.GridColor));
    DrawLines(painter, bar.lines);
    painter.setFont(m_font);
    painter.setPen(ColorRefToQColor(m_settings.TextColor));
    painter.setBackgroundMode(Qt::TransparentMode);
    const int ascent = painter.fontMetrics().ascent();
    // Only the text goes through the mirror; lines stay on the untransformed fast paths.
    if (m_flipHeight > 0)
        painter.setWorldTransform(QTransform(1, 0, 0, -1, 0, m_flipHeight - 1), true);
    for (const Label& label : bar.labels)
        painter.drawText(label.topLeft + QPoint(0, ascent), label.text);
    painter.restore();
}

QPen COverlayPainter::CrossLinePen(const CCrossLine& line)
{
    QPen pen(ColorRefToQColor(line.colour));
    pen.setWidth(std::max(0, line.size));
    pen.setCosmetic(line.size <= 1);
    if (line.type != 0 && line.size <= 1)
        pen.setDashPattern({ 18.0, 6.0 });
    else
        pen.setStyle(Qt::SolidLine);
    return pen;
}

std::vector<QLine> COverlayPainter::CrossLineSegments(
        const CCrossLine& line, QPoint window, int width, int height)
{
    if (line.shown == 0)
        return {};
    return { QLine(0, window.y(), width, window.y()), QLine(window.x(), 0, window.x(), height) };
}

void COverlayPainter::DrawCrossLines(QPainter& painter, const std::vector<CCrossLine>& lines,
        const std::function<QPoint(QPoint)>& toWindow, int width, int height)
{
    painter.save();
    for (const CCrossLine& line : lines) {
        if (line.shown == 0)
            continue;
        const QPoint window = toWindow ? toWindow(QPoint(line.x, line.y)) : QPoint(line.x, line.y);
        const std::vector<QLine> segments = CrossLineSegments(line, window, width, height);
        FillLines(painter, segments, CrossLinePen(line));
    }
    painter.restore();
}

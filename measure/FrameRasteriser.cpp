#include "measure/FrameRasteriser.h"

#include "base/FrameLayout.h"

#include <QColor>
#include <QPen>

#include <algorithm>
#include <cstdlib>

namespace {
void ColourOf(const QPen& pen, uint8_t bgr[3])
{
    const QColor colour = pen.color();
    bgr[0] = static_cast<uint8_t>(colour.blue());
    bgr[1] = static_cast<uint8_t>(colour.green());
    bgr[2] = static_cast<uint8_t>(colour.red());
}
} // namespace

CFrameRasteriser::CFrameRasteriser(uint8_t* frame, int width, int height)
    : m_frame(frame), m_width(width), m_height(height),
      m_stride(static_cast<std::size_t>(FrameStride(width)))
{
}

void CFrameRasteriser::Plot(int x, int y, const uint8_t bgr[3])
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    uint8_t* px = m_frame + y * m_stride + x * 3;
    px[0] = bgr[0];
    px[1] = bgr[1];
    px[2] = bgr[2];
}

void CFrameRasteriser::Line(QPoint a, QPoint b, const QPen& pen)
{
    uint8_t bgr[3];
    ColourOf(pen, bgr);
    const int width = std::max(1, pen.width());
    int on = 0;
    int period = 0;
    if (pen.style() == Qt::DotLine) {
        on = width;
        period = 3 * width;
    } else if (pen.style() == Qt::DashLine) {
        on = 4 * width;
        period = 6 * width;
    }
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    const bool steep = -dy > dx;
    const int lo = -(width - 1) / 2;
    const int hi = width / 2;
    // Steps outside the frame are skipped in bulk along the major axis.
    const int limit = std::max(m_width, m_height) + width;
    int err = dx + dy;
    int x = a.x();
    int y = a.y();
    for (int step = 0;; ++step) {
        const bool visible = period == 0 || step % period < on;
        if (visible && x > -limit && y > -limit && x < 2 * limit && y < 2 * limit) {
            for (int k = lo; k <= hi; ++k) {
                if (steep)
                    Plot(x + k, y, bgr);
                else
                    Plot(x, y + k, bgr);
            }
        }
        if (x == b.x() && y == b.y())
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void CFrameRasteriser::Circle(QPoint centre, int radius, const QPen& pen)
{
    uint8_t bgr[3];
    ColourOf(pen, bgr);
    const bool dotted = pen.style() != Qt::SolidLine;
    const int cx = centre.x();
    const int cy = centre.y();
    // Midpoint circle, eight octants at once.
    int x = radius;
    int y = 0;
    int err = 1 - radius;
    for (int step = 0; x >= y; ++step) {
        if (!dotted || step % 3 == 0) {
            Plot(cx + x, cy + y, bgr);
            Plot(cx - x, cy + y, bgr);
            Plot(cx + x, cy - y, bgr);
            Plot(cx - x, cy - y, bgr);
            Plot(cx + y, cy + x, bgr);
            Plot(cx - y, cy + x, bgr);
            Plot(cx + y, cy - x, bgr);
            Plot(cx - y, cy - x, bgr);
        }
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

void CFrameRasteriser::Sprite(int left, int top, const std::vector<CLabelSpritePixel>& pixels)
{
    for (const CLabelSpritePixel& p : pixels) {
        const int x = left + p.x;
        const int y = top + p.y;
        if (x < 0 || y < 0 || x >= m_width || y >= m_height)
            continue;
        uint8_t* px = m_frame + static_cast<std::size_t>(m_height - 1 - y) * m_stride + x * 3;
        const int keep = 255 - p.a;
        px[0] = static_cast<uint8_t>(p.b + (px[0] * keep + 127) / 255);
        px[1] = static_cast<uint8_t>(p.g + (px[1] * keep + 127) / 255);
        px[2] = static_cast<uint8_t>(p.r + (px[2] * keep + 127) / 255);
    }
}

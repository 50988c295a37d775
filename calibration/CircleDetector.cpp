#include "calibration/CircleDetector.h"

#include "base/FrameLayout.h"
#include "base/Trace.h"

#include <array>
#include <cmath>
#include <optional>

namespace {
struct CCircleEstimate
{
    double x = 0.0;
    double y = 0.0;
    double r = 0.0;
};

// Intersection of the perpendicular bisectors of a triple; none when the triple is on a line.
std::optional<CCircleEstimate> CircleThrough(
        double ax, double ay, double bx, double by, double cx, double cy)
{
    const double d = 2.0 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    if (std::abs(d) < 1e-9)
        return std::nullopt;
    const double a2 = ax * ax + ay * ay;
    const double b2 = bx * bx + by * by;
    const double c2 = cx * cx + cy * cy;
    CCircleEstimate e;
    e.x = (a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d;
    e.y = (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d;
    e.r = std::hypot(ax - e.x, ay - e.y);
    return e;
}
} // namespace

bool CCircleDetector::Detect(
        const uint8_t* frame, int width, int height, int n, CCalibrationSlot& slot)
{
    if (!frame || width <= 0 || height <= 0 || n <= 0)
        return false;
    m_width = width;
    m_height = height;
    Binarise(frame);

    int cx = 0;
    int cy = 0;
    if (!MeanRunCentre(false, cx) || !MeanRunCentre(true, cy))
        return false;
    if (!EstimateCircle(cx, cy))
        return false;

    CCalibrationSlot found;
    if (!MeasureEdges(found))
        return false;
    found.unit = 1;
    found.xLength = n * kStepMillimetres;
    found.yLength = n * kStepMillimetres;
    found.xPerPixel =
            found.xLength / (static_cast<int>(found.right) - static_cast<int>(found.left));
    found.yPerPixel =
            found.yLength / (static_cast<int>(found.bottom) - static_cast<int>(found.top));
    qCDebug(lcTrace, "Auto calibration: %u,%u-%u,%u", found.left, found.top, found.right,
            found.bottom);
    slot = found;
    return true;
}

void CCircleDetector::Binarise(const uint8_t* frame)
{
    // Single-precision tables, as the grey weights were always applied.
    static const auto tables = [] {
        std::array<std::array<float, 256>, 3> t {};
        for (int i = 0; i < 256; ++i) {
            t[0][i] = 0.11f * static_cast<float>(i); // blue
            t[1][i] = 0.3f * static_cast<float>(i); // green
            t[2][i] = 0.3f * static_cast<float>(i); // red
        }
        return t;
    }();

    const int stride = FrameStride(m_width);
    m_mask.assign(static_cast<size_t>(m_width) * m_height, 0);
    for (int y = 0; y < m_height; ++y) {
        const uint8_t* row = frame + static_cast<size_t>(m_height - 1 - y) * stride;
        uint8_t* out = m_mask.data() + static_cast<size_t>(y) * m_width;
        for (int x = 0; x < m_width; ++x) {
            const uint8_t* px = row + 3 * x;
            const float grey = tables[0][px[0]] + tables[1][px[1]] + tables[2][px[2]];
            out[x] = grey >= static_cast<float>(kGreyThreshold) ? 1 : 0;
        }
    }
}

bool CCircleDetector::MeanRunCentre(bool columns, int& centre) const
{
    const int lines = columns ? m_width : m_height;
    const int length = columns ? m_height : m_width;
    int best = kMinRun;
    long long sum = 0;
    int count = 0;
    for (int line = 0; line < lines; ++line) {
        int runStart = -1;
        int longest = 0;
        int longestStart = 0;
        for (int i = 0; i <= length; ++i) {
            const bool white = i < length && (columns ? White(line, i) : White(i, line));
            if (white && runStart < 0) {
                runStart = i;
            } else if (!white && runStart >= 0) {
                if (i - runStart > longest) {
                    longest = i - runStart;
                    longestStart = runStart;
                }
                runStart = -1;
            }
        }
        if (longest > best) {
            best = longest;
            const int end = longestStart + longest - 1;
            sum += (longestStart + end + 1) / 2;
            ++count;
        }
    }
    if (count == 0)
        return false;
    centre = static_cast<int>(std::lround(static_cast<double>(sum) / count));
    return true;
}

bool CCircleDetector::FindEdgeHits(int cx, int cy, int hits[4]) const
{
    if (!White(cx, cy))
        return false;
    // Outward from the centre to the last bright pixel; running off the picture means the
    // disc is cut off and its edge is unknown.
    static constexpr int kDirs[4][2] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } };
    for (int d = 0; d < 4; ++d) {
        int x = cx;
        int y = cy;
        for (;;) {
            const int nx = x + kDirs[d][0];
            const int ny = y + kDirs[d][1];
            if (nx < 0 || ny < 0 || nx >= m_width || ny >= m_height)
                return false;
            if (!White(nx, ny))
                break;
            x = nx;
            y = ny;
        }
        hits[d] = d < 2 ? x : y;
    }
    return true;
}

bool CCircleDetector::EstimateCircle(int cx, int cy)
{
    int hits[4] = {}; // left x, right x, top y, bottom y
    if (!FindEdgeHits(cx, cy, hits))
        return false;
    const double left = hits[0];
    const double right = hits[1];
    const double top = hits[2];
    const double bottom = hits[3];
    const auto upper = CircleThrough(left, cy, cx, top, right, cy);
    const auto lower = CircleThrough(left, cy, cx, bottom, right, cy);
    // A triple on one line tells nothing; average only the triples that gave a circle.
    int valid = 0;
    CCircleEstimate mean;
    for (const auto& e : { upper, lower }) {
        if (!e)
            continue;
        mean.x += e->x;
        mean.y += e->y;
        mean.r += e->r;
        ++valid;
    }
    if (valid == 0)
        return false;
    m_centreX = mean.x / valid;
    m_centreY = mean.y / valid;
    m_radius = mean.r / valid;
    return m_radius >= 1.0;
}

bool CCircleDetector::MeasureEdges(CCalibrationSlot& slot) const
{
    // Collect the bright blob around the centre inside a window a half larger than the
    // estimated circle; a blob reaching the window's border is not the disc we look for.
    const int half = static_cast<int>(std::ceil(m_radius * 1.5)) + 3;
    const int ox = static_cast<int>(std::lround(m_centreX));
    const int oy = static_cast<int>(std::lround(m_centreY));
    const int x0 = ox - half;
    const int x1 = ox + half;
    const int y0 = oy - half;
    const int y1 = oy + half;
    if (x0 < 0 || y0 < 0 || x1 >= m_width || y1 >= m_height)
        return false;
    if (!White(ox, oy))
        return false;

    const int w = x1 - x0 + 1;
    std::vector<uint8_t> seen(static_cast<size_t>(w) * (y1 - y0 + 1), 0);
    std::vector<std::pair<int, int>> stack { { ox, oy } };
    seen[static_cast<size_t>(oy - y0) * w + (ox - x0)] = 1;
    int minX = ox, maxX = ox, minY = oy, maxY = oy;
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        if (x == x0 || x == x1 || y == y0 || y == y1)
            return false;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        const std::pair<int, int> next[4] = { { x - 1, y }, { x + 1, y }, { x, y - 1 },
            { x, y + 1 } };
        for (const auto& [nx, ny] : next) {
            uint8_t& mark = seen[static_cast<size_t>(ny - y0) * w + (nx - x0)];
            if (!mark && White(nx, ny)) {
                mark = 1;
                stack.push_back({ nx, ny });
            }
        }
    }
    // Edges as pixel boundaries, so right - left is the disc's width in pixels.
    slot.left = static_cast<uint32_t>(minX);
    slot.right = static_cast<uint32_t>(maxX + 1);
    slot.top = static_cast<uint32_t>(minY);
    slot.bottom = static_cast<uint32_t>(maxY + 1);
    return maxX > minX && maxY > minY;
}

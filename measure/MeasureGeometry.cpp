#include "measure/MeasureGeometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace MeasureGeometry {

double Bearing(QPointF p, QPointF q)
{
    if (p.x() == q.x())
        return p.y() - q.y() <= 0 ? 180.0 : 0.0;
    const double h = std::atan((p.y() - q.y()) / (p.x() - q.x())) * kDegreesPerRadian;
    return p.x() - q.x() > 0 ? 90.0 - h : 270.0 - h;
}

double Angle3(QPointF p0, QPointF p1, QPointF p2)
{
    double a = Bearing(p0, p1) - Bearing(p2, p1);
    if (a < 0)
        a += 360.0;
    return a;
}

double ArmAngle(QPointF p0, QPointF p1, QPointF p2)
{
    // Folded, not recomputed: an angle under 180 reads exactly as it always did.
    const double a = Angle3(p0, p1, p2);
    return a > 180.0 ? 360.0 - a : a;
}

double Angle4(QPointF p0, QPointF p1, QPointF p2, QPointF p3)
{
    double a = Bearing(p0, p1) - Bearing(p2, p3);
    if (a < 0)
        a += 360.0;
    return a;
}

double LineDirection(QPointF p0, QPointF p1)
{
    const double dx = p0.x() - p1.x();
    const double dy = p0.y() - p1.y();
    if (dx == 0)
        return dy > 0 ? 270.0 : 90.0;
    const double a = std::atan(dy / dx) * kDegreesPerRadian;
    if (dx <= 0)
        return 180.0 - a;
    // 0.0 - a, not -a: a level line reads 0.0, never -0.0.
    return dy <= 0 ? 0.0 - a : 360.0 - a;
}

double ScaledLength(QPointF a, QPointF b, double scaleX, double scaleY)
{
    const double dx = scaleX * (b.x() - a.x());
    const double dy = scaleY * (b.y() - a.y());
    return std::sqrt(dx * dx + dy * dy);
}

bool Collinear(QPoint p0, QPoint p1, QPoint p2)
{
    if (p0.x() == p1.x())
        return p1.x() == p2.x();
    if (p1.x() == p2.x())
        return false;
    return static_cast<int64_t>(p1.y() - p0.y()) * (p2.x() - p1.x())
            == static_cast<int64_t>(p2.y() - p1.y()) * (p1.x() - p0.x());
}

int Midpoint(int a, int b)
{
    return (a + b + 1) / 2;
}

Circle CircleThrough(QPoint p0, QPoint p1, QPoint p2, int previousRadius)
{
    Circle c;
    if (Collinear(p0, p1, p2)) {
        c.centre = p2;
        c.radius = previousRadius;
        return c;
    }
    const QPoint m(Midpoint(p0.x(), p1.x()), Midpoint(p0.y(), p1.y()));
    const QPoint n(Midpoint(p1.x(), p2.x()), Midpoint(p1.y(), p2.y()));
    // Either slope may be infinite when its chord is horizontal; those cases are split off.
    const double w = static_cast<double>(p2.x() - p1.x()) / (p1.y() - p2.y());
    const double e = static_cast<double>(p1.x() - p0.x()) / (p0.y() - p1.y());
    if (p0.y() == p1.y()) {
        c.centre = QPoint(m.x(), static_cast<int>(w * m.x() + n.y() - w * n.x() + 0.5));
    } else if (p1.y() == p2.y()) {
        c.centre = QPoint(n.x(), static_cast<int>(e * n.x() + m.y() - e * m.x() + 0.5));
    } else {
        const double k = m.y() - e * m.x();
        const double x = (n.y() - w * n.x() - k) / (e - w);
        c.centre = QPoint(static_cast<int>(x + 0.5), static_cast<int>(k + e * x + 0.5));
    }
    const int64_t dx = c.centre.x() - p0.x();
    const int64_t dy = c.centre.y() - p0.y();
    c.radius = static_cast<int>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
    return c;
}

double PolygonArea(const QPointF* points, int count)
{
    if (count < 3)
        return 0.0;
    double s = 0.0;
    for (int i = 0; i < count - 1; ++i)
        s += (points[i].x() - points[i + 1].x()) * (points[i].y() + points[i + 1].y()) / 2.0;
    const QPointF& last = points[count - 1];
    s += (last.y() + points[0].y()) * (last.x() - points[0].x()) / 2.0;
    return std::fabs(s);
}

double PolygonArea(const QPoint* points, int count)
{
    std::vector<QPointF> exact(points, points + std::max(count, 0));
    return PolygonArea(exact.data(), count);
}

QPoint PerpendicularFoot(QPoint a, QPoint b, QPoint p)
{
    if (Collinear(a, b, p))
        return p;
    if (a.x() == b.x())
        return QPoint(a.x(), p.y());
    if (a.y() == b.y())
        return QPoint(p.x(), a.y());
    const double h = static_cast<double>(b.y() - a.y()) / (b.x() - a.x());
    const double l = -1.0 / h;
    const double m = (a.y() - h * a.x()) - (p.y() - l * p.x());
    return QPoint(
            static_cast<int>(m / (l - h)), static_cast<int>(p.y() - l * p.x() + l * m / (l - h)));
}

QPointF PerpendicularFoot(QPointF a, QPointF b, QPointF p)
{
    const QPointF d = b - a;
    const double length2 = d.x() * d.x() + d.y() * d.y();
    if (length2 <= 0.0)
        return a;
    const double t = ((p.x() - a.x()) * d.x() + (p.y() - a.y()) * d.y()) / length2;
    return a + t * d;
}

void ExtendedLine(QPoint a, QPoint b, QPoint& from, QPoint& to)
{
    if (a.x() == b.x()) {
        from = QPoint(a.x(), 0);
        to = QPoint(a.x(), 10000);
        return;
    }
    const double f = static_cast<double>(b.y() - a.y()) / (b.x() - a.x());
    from = QPoint(0, static_cast<int>(a.y() - f * a.x()));
    to = QPoint(10000, static_cast<int>(a.y() - f * a.x() + f * 10000));
}

} // namespace MeasureGeometry

#pragma once

#include <QPoint>
#include <QPointF>

// The measuring arithmetic on image pixels (whole ones, or between them where a point was
// snapped to an edge; whole pixels give what they always gave), kept free of drawing so it can be
// checked on its own. The constant is 180 / 3.14159, not full-precision pi: results must match
// the values users have recorded before.
namespace MeasureGeometry {

constexpr double kDegreesPerRadian = 57.29582790879778;
constexpr double kPi = 3.14159;

// Direction of p seen from q, in degrees.
double Bearing(QPointF p, QPointF q);
// Arm p0 around vertex p1 to arm p2, in [0, 360).
double Angle3(QPointF p0, QPointF p1, QPointF p2);
// The angle between the arms p1-p0 and p1-p2, in [0, 180]: the same whichever arm came first.
double ArmAngle(QPointF p0, QPointF p1, QPointF p2);
// Line p0-p1 against line p2-p3, in [0, 360).
double Angle4(QPointF p0, QPointF p1, QPointF p2, QPointF p3);
// Angle of the vector p1 -> p0, counter-clockwise with y up on the screen.
double LineDirection(QPointF p0, QPointF p1);
double ScaledLength(QPointF a, QPointF b, double scaleX, double scaleY);

bool Collinear(QPoint p0, QPoint p1, QPoint p2);
int Midpoint(int a, int b); // rounds up: (a + b + 1) / 2

struct Circle
{
    QPoint centre;
    int radius = 0;
};
// Circle through three points; collinear points give the third point as centre and keep
// the radius passed in.
Circle CircleThrough(QPoint p0, QPoint p1, QPoint p2, int previousRadius = 0);

// Twice-halved shoelace sum in square pixels, unsigned result.
double PolygonArea(const QPoint* points, int count);
double PolygonArea(const QPointF* points, int count);

// Foot of the perpendicular from p onto the line a-b.
QPoint PerpendicularFoot(QPoint a, QPoint b, QPoint p);
// The same between pixels, exactly.
QPointF PerpendicularFoot(QPointF a, QPointF b, QPointF p);

// The baseline through a and b drawn as a long line in image pixels.
void ExtendedLine(QPoint a, QPoint b, QPoint& from, QPoint& to);

} // namespace MeasureGeometry

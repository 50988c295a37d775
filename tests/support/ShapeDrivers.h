#pragma once

#include "ToolDrivers.h"
#include "measure/ShapeManager.h"

#include <QPoint>

#include <initializer_list>

// Mouse input for the measurement engine as a user gives it, in window pixels.
inline void Click(CShapeManager& m, int x, int y)
{
    m.OnLButtonDown(x, y);
    m.OnLButtonUp(x, y);
}

inline void ClickAll(CShapeManager& m, std::initializer_list<QPoint> points)
{
    for (QPoint p : points)
        Click(m, p.x(), p.y());
}

inline void Drag(CShapeManager& m, QPoint from, QPoint to)
{
    m.OnLButtonDown(from.x(), from.y());
    m.OnMouseMove(to.x(), to.y());
    m.OnLButtonUp(to.x(), to.y());
}

// A finished line or circle, whatever tool was chosen before.
inline void DrawLine(CShapeManager& m, QPoint from, QPoint to)
{
    UseTool(m, LineTool);
    Drag(m, from, to);
}

inline void DrawCircle(CShapeManager& m, QPoint a, QPoint b, QPoint c)
{
    UseTool(m, CircleTool);
    ClickAll(m, { a, b, c });
}

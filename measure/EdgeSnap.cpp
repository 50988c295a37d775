#include "measure/EdgeSnap.h"

void CEdgeSnap::SetFinders(PointFinder points, CircleFinder circles)
{
    m_points = std::move(points);
    m_circles = std::move(circles);
}

void CEdgeSnap::SetOn(bool on)
{
    m_on = on;
    m_mark.reset();
    m_placed = false;
}

QPoint CEdgeSnap::Place(QPoint image, bool toolSnaps, float zoom)
{
    m_placed = false;
    m_mark.reset();
    if (!m_on || m_free || !toolSnaps || !m_points || zoom <= 0.0f)
        return image;
    const std::optional<QPointF> edge = m_points(QPointF(image), kReach / zoom);
    if (!edge)
        return image;
    m_pixel = edge->toPoint();
    m_rest = *edge - QPointF(m_pixel);
    m_placed = true;
    m_mark = edge;
    return m_pixel;
}

QPointF CEdgeSnap::OffsetAt(QPoint image) const
{
    return m_placed && image == m_pixel ? m_rest : QPointF();
}

bool CEdgeSnap::FitCircle(QPointF& centre, double& radius) const
{
    return m_on && !m_free && m_circles && m_circles(centre, radius);
}

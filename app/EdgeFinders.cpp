#include "app/EdgeFinders.h"

#include "imgproc/CircleFit.h"
#include "imgproc/EdgeLocator.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr auto kLiveCopyAge = std::chrono::milliseconds(100);
} // namespace

CEdgeFinders::CEdgeFinders(PictureSource source) : m_source(std::move(source)) { }

const cv::Mat* CEdgeFinders::Grey()
{
    const auto now = std::chrono::steady_clock::now();
    if (!m_valid || (m_live && now - m_taken > kLiveCopyAge)) {
        m_valid = m_source && m_source(m_grey, m_live) && !m_grey.empty();
        m_taken = now;
    }
    return m_valid ? &m_grey : nullptr;
}

std::optional<QPointF> CEdgeFinders::Point(QPointF image, double radius)
{
    const cv::Mat* grey = Grey();
    if (!grey)
        return std::nullopt;
    const CEdgeLocator::Edge edge = CEdgeLocator(*grey).Near(image.x(), image.y(), radius);
    if (!edge.found)
        return std::nullopt;
    return QPointF(edge.x, edge.y);
}

bool CEdgeFinders::Circle(QPointF& centre, double& radius)
{
    const cv::Mat* grey = Grey();
    if (!grey)
        return false;
    const CCircleFit fit = CCircleFit::ToRim(CEdgeLocator(*grey), centre.x(), centre.y(), radius);
    // A fit far from the clicks found another rim: the clicks stand.
    if (!fit.found || std::abs(fit.radius - radius) > std::max(4.0, 0.15 * radius))
        return false;
    centre = QPointF(fit.x, fit.y);
    radius = fit.radius;
    return true;
}

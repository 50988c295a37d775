#include "image/ScrollAxis.h"

#include <algorithm>
#include <cstdlib>

void CScrollAxis::SetSizes(int content, int visible)
{
    m_content = std::max(0, content);
    if (visible < m_content) {
        if (m_page > 0 && m_pos > 0)
            m_pos = static_cast<int>(static_cast<long long>(m_pos) * visible / m_page);
        m_page = std::max(1, visible);
        m_pos = std::clamp(m_pos, 0, std::max(0, m_content - m_page - 1));
    } else {
        m_page = 0;
        m_pos = 0;
    }
}

void CScrollAxis::ScrollTo(int position)
{
    m_pos = std::clamp(position, 0, Maximum());
}

int CScrollAxis::WheelSteps(int delta, int wheelLines)
{
    return std::max(1, wheelLines * (std::abs(delta) / 120) / 3);
}

bool CScrollAxis::Wheel(int delta, int wheelLines)
{
    if (!HasRange() || delta == 0)
        return false;
    if (wheelLines == kWheelPage) {
        delta > 0 ? PageUp() : PageDown();
        return true;
    }
    const int distance = WheelSteps(delta, wheelLines) * kLineStep;
    ScrollTo(delta > 0 ? m_pos - distance : m_pos + distance);
    return true;
}

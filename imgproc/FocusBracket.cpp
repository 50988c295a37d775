#include "imgproc/FocusBracket.h"

#include <cmath>

bool CFocusBracket::Offer(double sharpness)
{
    if (!(sharpness > 0.0) || !std::isfinite(sharpness))
        return false;
    if (m_last && std::abs(sharpness - *m_last) < kStep * *m_last)
        return false;
    m_last = sharpness;
    return true;
}

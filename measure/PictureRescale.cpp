#include "measure/PictureRescale.h"

#include "calibration/CalibrationScaling.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
int Rounded(double v)
{
    // Far outside any picture either way; never undefined.
    constexpr double kLimit = std::numeric_limits<int>::max() / 2;
    return static_cast<int>(std::lround(std::clamp(v, -kLimit, kLimit)));
}
} // namespace

CPictureRescale CPictureRescale::Between(QSize from, QSize to)
{
    CPictureRescale r;
    if (from.isEmpty() || to.isEmpty() || from == to)
        return r;
    const CCalibrationScaling scaling = CCalibrationScaling::Between(from, to);
    r.m_bAspectDiffers = scaling.AspectDiffers();
    r.m_fx = double(to.width()) / from.width();
    if (r.m_bAspectDiffers) {
        r.m_fy = r.m_fx;
        r.m_dy = (to.height() - from.height() * r.m_fy) / 2.0;
    } else {
        r.m_fy = double(to.height()) / from.height();
    }
    return r;
}

QPoint CPictureRescale::Map(QPoint p) const
{
    return { Rounded(p.x() * m_fx), Rounded(p.y() * m_fy + m_dy) };
}

QPoint CPictureRescale::MapOffset(QPoint d) const
{
    return { Rounded(d.x() * m_fx), Rounded(d.y() * m_fy) };
}

int CPictureRescale::MapLength(int length) const
{
    return Rounded(length * (m_fx + m_fy) / 2.0);
}

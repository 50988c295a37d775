#pragma once

#include <QPoint>
#include <QSize>

// How drawn positions follow the live picture when the camera delivers another size of the
// same view: a point keeps its place on the picture, so a length keeps its real value. When the
// new size has another shape the camera crops some way nobody tells us; the width is taken as
// the field kept, centred, as the calibration assumes.
class CPictureRescale
{
public:
    CPictureRescale() = default;
    // An unknown size on either side moves nothing.
    static CPictureRescale Between(QSize from, QSize to);

    bool IsIdentity() const { return m_fx == 1.0 && m_fy == 1.0 && m_dy == 0.0; }
    bool AspectDiffers() const { return m_bAspectDiffers; }
    double XFactor() const { return m_fx; }
    double YFactor() const { return m_fy; }

    QPoint Map(QPoint p) const;
    // A distance between two points: scaled, not shifted.
    QPoint MapOffset(QPoint d) const;
    // A radius: the mean of the two factors.
    int MapLength(int length) const;

private:
    double m_fx = 1.0;
    double m_fy = 1.0;
    double m_dy = 0.0; // the width is kept whole, so only rows move
    bool m_bAspectDiffers = false;
};

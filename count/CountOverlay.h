#pragma once

#include "imgproc/ParticleCounter.h"

#include <QColor>
#include <QImage>

class QPainter;
class QTransform;

// The count drawn over its picture: each object's outline and its number at the centroid, and
// optionally the threshold's object pixels tinted. Self-contained, so the dialog's preview, the
// canvas and the burn-in of a saved picture can all draw it through the same call.
class CCountOverlay
{
public:
    void SetResult(const CParticleCounter::Result& result) { m_result = result; }
    const CParticleCounter::Result& Result() const { return m_result; }
    // The object pixels of the threshold (a 0/255 plane of the picture's size), tinted; an
    // empty mask draws no tint.
    void SetMask(const cv::Mat& mask);
    void SetShowNumbers(bool on) { m_numbers = on; }

    // Draws in target coordinates; imageToTarget maps picture pixels (0,0 the top-left corner
    // of the first pixel) onto the target. Outlines and texts keep their size on screen.
    void Draw(QPainter& painter, const QTransform& imageToTarget) const;

    static constexpr QColor kOutline { 0, 230, 255 };
    static constexpr QColor kNumber { 255, 235, 0 };
    static constexpr QColor kTint { 255, 40, 120, 90 };

private:
    CParticleCounter::Result m_result;
    QImage m_tint;
    bool m_numbers = true;
};

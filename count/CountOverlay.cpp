#include "count/CountOverlay.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

void CCountOverlay::SetMask(const cv::Mat& mask)
{
    if (mask.empty()) {
        m_tint = QImage();
        return;
    }
    m_tint = QImage(mask.cols, mask.rows, QImage::Format_ARGB32_Premultiplied);
    const QRgb tint = qPremultiply(kTint.rgba());
    for (int y = 0; y < mask.rows; ++y) {
        const uint8_t* in = mask.ptr<uint8_t>(y);
        auto* out = reinterpret_cast<QRgb*>(m_tint.scanLine(y));
        for (int x = 0; x < mask.cols; ++x)
            out[x] = in[x] ? tint : 0;
    }
}

void CCountOverlay::Draw(QPainter& painter, const QTransform& imageToTarget) const
{
    painter.save();
    if (!m_tint.isNull()) {
        painter.save();
        painter.setTransform(imageToTarget, true);
        painter.drawImage(QPointF(0, 0), m_tint);
        painter.restore();
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen outline(kOutline);
    outline.setCosmetic(true);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    QPainterPath outlines;
    for (const CParticleCounter::Particle& p : m_result.particles) {
        QPolygonF polygon;
        polygon.reserve(qsizetype(p.outline.size()));
        for (const cv::Point& corner : p.outline)
            polygon << imageToTarget.map(QPointF(corner.x, corner.y));
        outlines.addPolygon(polygon);
        outlines.closeSubpath();
    }
    painter.drawPath(outlines);

    if (m_numbers) {
        QFont font = painter.font();
        font.setPixelSize(11);
        font.setBold(true);
        painter.setFont(font);
        for (const CParticleCounter::Particle& p : m_result.particles) {
            const QPointF at = imageToTarget.map(QPointF(p.centre.x, p.centre.y));
            const QString text = QString::number(p.number);
            const QRectF box(at.x() - 20, at.y() - 8, 40, 16);
            // A dark rim keeps the number readable on light and dark grains alike.
            painter.setPen(Qt::black);
            for (const QPointF& d :
                    { QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1) })
                painter.drawText(box.translated(d), Qt::AlignCenter, text);
            painter.setPen(kNumber);
            painter.drawText(box, Qt::AlignCenter, text);
        }
    }
    painter.restore();
}

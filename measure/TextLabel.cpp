#include "measure/TextLabel.h"

#include "measure/PictureRescale.h"
#include "measure/DrawContext.h"
#include "measure/FrameRasteriser.h"
#include "measure/ShapeHost.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

CTextLabel::CTextLabel(CShapeHost* host, QPoint anchor, const QString& text)
    : CMeasureShape(host, KindTextLabel)
{
    m_points.push_back(anchor);
    m_static.setTextFormat(Qt::PlainText);
    m_static.setPerformanceHint(QStaticText::AggressiveCaching);
    SetText(text);
}

CTextLabel::CTextLabel(const CTextLabel& other)
    : CMeasureShape(other), m_text(other.m_text), m_offset(other.m_offset), m_static(other.m_static)
{
}

std::unique_ptr<CMeasureShape> CTextLabel::Clone() const
{
    return std::make_unique<CTextLabel>(*this);
}

void CTextLabel::AppendState(std::vector<int64_t>& out) const
{
    CMeasureShape::AppendState(out);
    out.push_back(m_offset.x());
    out.push_back(m_offset.y());
}

void CTextLabel::Rescale(const CPictureRescale& map)
{
    CMeasureShape::Rescale(map);
    m_offset = map.MapOffset(m_offset);
}

void CTextLabel::Draw(CDrawContext& dc, bool hidden)
{
    if (!hidden)
        DrawLabel(dc);
}

void CTextLabel::DrawLabel(CDrawContext& dc)
{
    if (m_text.isEmpty())
        return;
    // The font is set once per drawing pass by the renderer.
    dc.Painter().setPen(dc.TextColour());
    const QPoint target = dc.ImageToTarget(Position());
    const int flip = dc.View().flipHeight;
    if (!dc.Raster() || flip <= 0) {
        dc.UprightText(target, m_static);
        return;
    }
    // On raw frames the pre-rendered text is blended row by row: Qt's text drawing through a
    // mirror, into 24-bit pixels, costs several times more.
    dc.Raster()->Sprite(target.x(), flip - 1 - target.y(), Sprite(dc));
}

int CTextLabel::OnLButtonDown(int x, int y, int mode)
{
    if (mode != SelectMode)
        return -1;
    return SelectPress(x, y);
}

void CTextLabel::OnLButtonUp(int x, int y, int mode)
{
    if (mode == SelectMode && m_bInConstruction && m_nHitPart != -1) {
        Invalidate();
        MoveBy(x, y);
        Invalidate();
    }
    EndDrag();
}

void CTextLabel::OnMouseMove(int x, int y, int mode)
{
    if (mode != SelectMode || !m_bInConstruction || m_nHitPart == -1)
        return;
    Invalidate();
    MoveBy(x, y);
    Invalidate();
}

// A label is dragged through its offset: the owner keeps re-anchoring it to its points.
void CTextLabel::MoveBy(int x, int y)
{
    m_offset += QPoint(x, y) - m_press;
    m_press = QPoint(x, y);
}

int CTextLabel::PointTest(int x, int y) const
{
    const QPoint d = Position() - QPoint(x, y);
    return d.x() * d.x() + d.y() * d.y() < 100 ? 0 : -1;
}

bool CTextLabel::BodyTest(int x, int y) const
{
    if (m_text.isEmpty())
        return false;
    const QSize ch = m_host->HitCharSize();
    const QPoint p = Position();
    const QRect box(QPoint(p.x() - 5, p.y() - 5),
            QPoint(p.x() - 5 + m_text.size() * ch.width(), p.y() + ch.height()));
    return box.contains(x, y);
}

void CTextLabel::Invalidate()
{
    InvalidatePoints({ Position() });
}

void CTextLabel::SetAnchor(QPoint anchor)
{
    m_points.front() = anchor;
}

void CTextLabel::SetText(const QString& text)
{
    const QString cut = text.left(kMaxTextLength);
    if (cut == m_text)
        return;
    m_text = cut;
    m_static.setText(m_text);
}

const std::vector<CLabelSpritePixel>& CTextLabel::Sprite(const CDrawContext& dc)
{
    const QFont& font = dc.LabelFont();
    const QRgb colour = dc.TextColour().rgb();
    const int smooth = dc.BurningIn() ? 0 : 1;
    if (m_spriteSmooth == smooth && m_spriteColour == colour && m_spriteText == m_text
            && m_spriteFont == font)
        return m_sprite;
    m_spriteSmooth = smooth;
    m_spriteColour = colour;
    m_spriteText = m_text;
    m_spriteFont = font;
    m_sprite.clear();
    const QFontMetrics metrics(font);
    const QSize size(std::clamp(metrics.horizontalAdvance(m_text) + 2, 1, 4096),
            std::clamp(metrics.height(), 1, 1024));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, smooth != 0);
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(colour));
        // The frame pump's own layout: m_static belongs to the window's thread, whose font
        // engines this thread must neither use nor leave behind in it.
        QStaticText own(m_text);
        own.setTextFormat(Qt::PlainText);
        painter.drawStaticText(QPoint(0, 0), own);
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            if (qAlpha(p) != 0)
                m_sprite.push_back({ static_cast<int16_t>(x), static_cast<int16_t>(y),
                        static_cast<uint8_t>(qAlpha(p)), static_cast<uint8_t>(qBlue(p)),
                        static_cast<uint8_t>(qGreen(p)), static_cast<uint8_t>(qRed(p)) });
        }
    }
    return m_sprite;
}

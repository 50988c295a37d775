#pragma once

#include "measure/LabelSprite.h"
#include "measure/MeasureShape.h"

#include <QFont>
#include <QRgb>

#include <cstdint>
#include <vector>
#include <QStaticText>

// A value label of a shape, or a free text placed with the text tool. Drawn at its anchor
// plus the offset the user dragged it by.
class CTextLabel : public CMeasureShape
{
public:
    static constexpr int kMaxTextLength = 255;

    CTextLabel(CShapeHost* host, QPoint anchor, const QString& text = QString());
    // The text, anchor and offset; the rendered text is made again when first needed.
    CTextLabel(const CTextLabel& other);

    std::unique_ptr<CMeasureShape> Clone() const override;
    void AppendState(std::vector<int64_t>& out) const override;
    void Rescale(const CPictureRescale& map) override;

    void Draw(CDrawContext& dc, bool hidden) override;
    void DrawLabel(CDrawContext& dc);
    int OnLButtonDown(int x, int y, int mode) override;
    void OnLButtonUp(int x, int y, int mode) override;
    void OnMouseMove(int x, int y, int mode) override;
    void MoveBy(int x, int y) override;
    int PointTest(int x, int y) const override;
    bool BodyTest(int x, int y) const override;
    void Invalidate() override;

    void SetAnchor(QPoint anchor);
    QPoint Anchor() const { return m_points.front(); }
    QPoint Position() const { return Anchor() + m_offset; }
    QPoint DragOffset() const { return m_offset; }
    void SetText(const QString& text); // cut to 255 characters
    const QString& Text() const { return m_text; }
    const QStaticText& StaticText() const { return m_static; }
    // The text drawn on a transparent picture with the context's font and colour; only the
    // pixels the text covers, so blending skips the empty ones.
    const std::vector<CLabelSpritePixel>& Sprite(const CDrawContext& dc);

private:
    QString m_text;
    QPoint m_offset;
    QStaticText m_static; // laid out once per text, not once per frame
    // The text rendered once for raw frames, where it is blended in by hand.
    std::vector<CLabelSpritePixel> m_sprite;
    QString m_spriteText;
    QFont m_spriteFont;
    QRgb m_spriteColour = 0;
    int m_spriteSmooth = -1;
};

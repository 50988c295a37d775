#include "base/LogFont.h"

#include <QFont>

#include <cstdlib>

QFont CLogFont::ToQFont() const
{
    QFont font;
    if (!lfFaceName.isEmpty())
        font.setFamily(lfFaceName);
    // A negative height is the character height, a positive one the cell height; both are
    // device pixels here.
    // Bounded before the sign goes: the most negative height has no positive counterpart.
    const int height = qBound(-kMaxPixelHeight, lfHeight, kMaxPixelHeight);
    if (height != 0)
        font.setPixelSize(std::abs(height));
    if (lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(qBound(1, lfWeight, kMaxWeight)));
    font.setItalic(lfItalic != 0);
    font.setUnderline(lfUnderline != 0);
    font.setStrikeOut(lfStrikeOut != 0);
    return font;
}

void CLogFont::Clamp()
{
    // A hand-edited height must not ask for a font the size of a wall.
    lfHeight = qBound(-kMaxPixelHeight, lfHeight, kMaxPixelHeight);
    lfWidth = qBound(-kMaxPixelHeight, lfWidth, kMaxPixelHeight);
    lfEscapement = qBound(-kMaxAngle, lfEscapement, kMaxAngle);
    lfOrientation = qBound(-kMaxAngle, lfOrientation, kMaxAngle);
    lfWeight = qBound(0, lfWeight, kMaxWeight);
}

CLogFont CLogFont::FromQFont(const QFont& font, const CLogFont& base)
{
    CLogFont lf = base;
    const int pixels =
            font.pixelSize() > 0 ? font.pixelSize() : qRound(font.pointSizeF() * 96.0 / 72.0);
    if (pixels > 0)
        lf.lfHeight = -pixels;
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    lf.lfFaceName = font.family().left(31);
    return lf;
}

CLogFont CLogFont::FromQFont(const QFont& font)
{
    return FromQFont(font, CLogFont());
}

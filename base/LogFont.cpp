#include "base/LogFont.h"

#include <QFont>

#include <cstdlib>

namespace {
// A hand-edited height must not ask for a font the size of a wall.
constexpr int kMaxPixelHeight = 1000;
} // namespace

QFont CLogFont::ToQFont() const
{
    QFont font;
    if (!lfFaceName.isEmpty())
        font.setFamily(lfFaceName);
    // A negative height is the character height, a positive one the cell height; both are
    // device pixels here.
    if (lfHeight != 0)
        font.setPixelSize(qBound(1, std::abs(lfHeight), kMaxPixelHeight));
    if (lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(qBound(1, lfWeight, 1000)));
    font.setItalic(lfItalic != 0);
    font.setUnderline(lfUnderline != 0);
    font.setStrikeOut(lfStrikeOut != 0);
    return font;
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

#include "app/LogFont.h"

#include <QFont>

#include <cstdlib>

QFont CLogFont::ToQFont() const
{
    QFont font;
    if (!lfFaceName.isEmpty())
        font.setFamily(lfFaceName);
    // A negative height is the character height, a positive one the cell height; both are
    // device pixels here.
    if (lfHeight != 0)
        font.setPixelSize(std::abs(lfHeight));
    if (lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(qBound(1, lfWeight / 1, 1000)));
    font.setItalic(lfItalic != 0);
    font.setUnderline(lfUnderline != 0);
    font.setStrikeOut(lfStrikeOut != 0);
    return font;
}

CLogFont CLogFont::FromQFont(const QFont& font)
{
    CLogFont lf;
    const int pixels =
            font.pixelSize() > 0 ? font.pixelSize() : qRound(font.pointSizeF() * 96.0 / 72.0);
    lf.lfHeight = -pixels;
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    lf.lfFaceName = font.family().left(31);
    return lf;
}

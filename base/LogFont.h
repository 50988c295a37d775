#pragma once

#include <QString>

#include <cstdint>

class QFont;

// The label font as stored in the settings file: the thirteen fields of a logical-font
// record in their stored order. QFont conversion lives here and nowhere else.
struct CLogFont
{
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    QString lfFaceName; // at most 31 characters

    // Heights and widths in pixels, escapement and orientation in tenths of a degree.
    static constexpr int kMaxPixelHeight = 1000;
    static constexpr int kMaxAngle = 3600;
    static constexpr int kMaxWeight = 1000;
    // Brings hand-edited fields into what a font can use.
    void Clamp();

    // A zero height or weight means "the default" like the original font mapper.
    QFont ToQFont() const;
    // Width, escapement, orientation, character set, precisions, quality and pitch have no
    // QFont counterpart: they are taken from base, so a record survives a trip through QFont.
    static CLogFont FromQFont(const QFont& font, const CLogFont& base);
    static CLogFont FromQFont(const QFont& font);

    bool operator==(const CLogFont&) const = default;
};

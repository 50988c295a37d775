#pragma once

#include <QString>

// The capture-size texts of the "Resolution" combo, "640 X 480".
struct CResolutionItem
{
    int width = 0;
    int height = 0;

    // Splits at the first "X": the width is what stands before the character in front of
    // it, the height what follows the character after it, each read like a C integer
    // (leading digits, 0 when there are none). False when the text holds no "X".
    static bool Parse(const QString& text, CResolutionItem& item);
    static QString Format(int width, int height);
    // Leading blanks, an optional sign and the digits that follow; 0 without digits.
    static int LeadingInt(QStringView text);
};

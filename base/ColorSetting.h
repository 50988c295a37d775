#pragma once

#include "base/LogFont.h"

#include <cstdint>

class CIniFile;
class QColor;

// Colours are kept as 0x00BBGGRR (red in the low byte), in memory and in the settings file.
using COLORREF = uint32_t;
QColor ColorRefToQColor(COLORREF color);
COLORREF QColorToColorRef(const QColor& color);

// The COLORSETTING block: edited as a whole by the Color Setting dialog and copied whole
// into the shape manager.
struct CColorSetting
{
    bool GridShow = false;
    bool RulerShow = false;
    COLORREF GridColor = 0;
    int GridSize = 20;
    COLORREF LineColor = 0;
    int LineSize = 0;
    COLORREF RulerColor = 0;
    int RulerSize = 0;
    COLORREF TextColor = 0;
    CLogFont font;
    bool ScaleShow = false;
    int ScaleXLen = 0;
    int ScaleYLen = 0;
    int ScaleType = 0; // 0 "X style", 1 "X-Y style"
    int ScalePos = 0; // 0 TopLeft, 1 BottomLeft, 2 TopRight, 3 BottomRight

    void Load(const CIniFile& ini);
    void Save(CIniFile& ini) const;

    bool operator==(const CColorSetting&) const = default;
};

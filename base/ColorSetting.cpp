#include "base/ColorSetting.h"

#include "base/IniFile.h"

#include <QColor>

namespace {
const QString kSection = QStringLiteral("COLORSETTING");
const QString kFont = QStringLiteral("Text.font.");
// Scale bar lengths in the calibration's unit; the bar itself is bounded when drawn.
constexpr int kMaxScaleLength = 1000000;
} // namespace

QColor ColorRefToQColor(COLORREF color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

COLORREF QColorToColorRef(const QColor& color)
{
    return static_cast<COLORREF>(color.red()) | (static_cast<COLORREF>(color.green()) << 8)
            | (static_cast<COLORREF>(color.blue()) << 16);
}

void CColorSetting::Load(const CIniFile& ini)
{
    auto readInt = [&ini](const char* key, int def) {
        return ini.GetInt(kSection, QLatin1String(key), def);
    };
    auto readByte = [&ini](const char* key) {
        return static_cast<uint8_t>(ini.GetInt(kSection, kFont + QLatin1String(key), 0) & 0xFF);
    };
    GridShow = readInt("GridShow", 0) != 0;
    RulerShow = readInt("RulerShow", 0) != 0;
    GridColor = static_cast<COLORREF>(readInt("GridColor", 0));
    GridSize = readInt("GridSize", 20);
    LineColor = static_cast<COLORREF>(readInt("LineColor", 0));
    LineSize = readInt("LineSize", 0);
    RulerColor = static_cast<COLORREF>(readInt("RulerColor", 0));
    RulerSize = readInt("RulerSize", 0);
    TextColor = static_cast<COLORREF>(readInt("TextColor", 0));
    font.lfHeight = ini.GetInt(kSection, kFont + QLatin1String("lfHeight"), 0);
    font.lfWidth = ini.GetInt(kSection, kFont + QLatin1String("lfWidth"), 0);
    font.lfEscapement = ini.GetInt(kSection, kFont + QLatin1String("lfEscapement"), 0);
    font.lfOrientation = ini.GetInt(kSection, kFont + QLatin1String("lfOrientation"), 0);
    font.lfWeight = ini.GetInt(kSection, kFont + QLatin1String("lfWeight"), 0);
    font.lfItalic = readByte("lfItalic");
    font.lfUnderline = readByte("lfUnderline");
    font.lfStrikeOut = readByte("lfStrikeOut");
    font.lfCharSet = readByte("lfCharSet");
    font.lfOutPrecision = readByte("lfOutPrecision");
    font.lfClipPrecision = readByte("lfClipPrecision");
    font.lfQuality = readByte("lfQuality");
    font.lfPitchAndFamily = readByte("lfPitchAndFamily");
    font.lfFaceName = ini.GetString(kSection, kFont + QLatin1String("lfFaceName"), QString(), 32);
    ScaleShow = readInt("ScaleShow", 0) != 0;
    ScaleXLen = readInt("ScaleXLen", 0);
    ScaleYLen = readInt("ScaleYLen", 0);
    ScaleType = readInt("ScaleType", 0);
    ScalePos = readInt("ScalePos", 0);

    // Hand-edited values must never become an index or an absurd pen.
    for (COLORREF* colour : { &GridColor, &LineColor, &RulerColor, &TextColor })
        *colour &= 0x00FFFFFFu;
    font.Clamp();
    ScaleXLen = qBound(0, ScaleXLen, kMaxScaleLength);
    ScaleYLen = qBound(0, ScaleYLen, kMaxScaleLength);
    if (GridSize < 1 || GridSize > 10000)
        GridSize = 20;
    LineSize = qBound(0, LineSize, 100);
    RulerSize = qBound(0, RulerSize, 10000);
    ScaleType = qBound(0, ScaleType, 1);
    ScalePos = qBound(0, ScalePos, 3);
}

void CColorSetting::Save(CIniFile& ini) const
{
    auto writeInt = [&ini](const char* key, int value) {
        ini.WriteInt(kSection, QLatin1String(key), value);
    };
    auto writeFont = [&ini](const char* key, int value) {
        ini.WriteInt(kSection, kFont + QLatin1String(key), value);
    };
    writeInt("GridShow", GridShow ? 1 : 0);
    writeInt("RulerShow", RulerShow ? 1 : 0);
    writeInt("GridColor", static_cast<int>(GridColor));
    writeInt("GridSize", GridSize);
    writeInt("LineColor", static_cast<int>(LineColor));
    writeInt("LineSize", LineSize);
    writeInt("RulerColor", static_cast<int>(RulerColor));
    writeInt("RulerSize", RulerSize);
    writeInt("TextColor", static_cast<int>(TextColor));
    writeFont("lfHeight", font.lfHeight);
    writeFont("lfWidth", font.lfWidth);
    writeFont("lfEscapement", font.lfEscapement);
    writeFont("lfOrientation", font.lfOrientation);
    writeFont("lfWeight", font.lfWeight);
    writeFont("lfItalic", font.lfItalic);
    writeFont("lfUnderline", font.lfUnderline);
    writeFont("lfStrikeOut", font.lfStrikeOut);
    writeFont("lfCharSet", font.lfCharSet);
    writeFont("lfOutPrecision", font.lfOutPrecision);
    writeFont("lfClipPrecision", font.lfClipPrecision);
    writeFont("lfQuality", font.lfQuality);
    writeFont("lfPitchAndFamily", font.lfPitchAndFamily);
    ini.WriteString(kSection, kFont + QLatin1String("lfFaceName"), font.lfFaceName);
    writeInt("ScaleShow", ScaleShow ? 1 : 0);
    writeInt("ScaleXLen", ScaleXLen);
    writeInt("ScaleYLen", ScaleYLen);
    writeInt("ScaleType", ScaleType);
    writeInt("ScalePos", ScalePos);
}

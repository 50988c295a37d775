#include "measure/CrossLine.h"

#include "base/IniFile.h"

#include <QString>

namespace {
const QString kSection = QStringLiteral("CROSSLINE");
// Far more cross lines than anyone draws; a corrupt Count must not allocate gigabytes.
constexpr int kMaxCrossLines = 1000;

QString Key(const char* name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}
} // namespace

std::vector<CCrossLine> CCrossLine::LoadAll(const CIniFile& ini)
{
    std::vector<CCrossLine> lines;
    const int count = ini.GetInt(kSection, QStringLiteral("Count"), 0);
    for (int i = 0; i < count && i < kMaxCrossLines; ++i) {
        CCrossLine line;
        line.type = ini.GetInt(kSection, Key("Type", i), 0);
        line.shown = ini.GetInt(kSection, Key("Show", i), 0);
        line.x = ini.GetInt(kSection, Key("Pos_x", i), 0);
        line.y = ini.GetInt(kSection, Key("Pos_y", i), 0);
        line.size = ini.GetInt(kSection, Key("Size", i), 0);
        line.colour = static_cast<uint32_t>(ini.GetInt(kSection, Key("Color", i), 0));
        lines.push_back(line);
    }
    return lines;
}

void CCrossLine::SaveAll(CIniFile& ini, const std::vector<CCrossLine>& lines)
{
    ini.WriteInt(kSection, QStringLiteral("Count"), static_cast<int>(lines.size()));
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const CCrossLine& line = lines[i];
        ini.WriteInt(kSection, Key("Type", i), line.type);
        ini.WriteInt(kSection, Key("Show", i), line.shown);
        ini.WriteInt(kSection, Key("Pos_x", i), line.x);
        ini.WriteInt(kSection, Key("Pos_y", i), line.y);
        ini.WriteInt(kSection, Key("Size", i), line.size);
        ini.WriteInt(kSection, Key("Color", i), static_cast<int>(line.colour));
    }
}

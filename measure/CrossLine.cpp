#include "measure/CrossLine.h"

#include "base/IniFile.h"
#include "measure/PictureRescale.h"

#include <QString>
#include <QtGlobal>

namespace {
const QString kSection = QStringLiteral("CROSSLINE");
// Far more cross lines than anyone draws; a corrupt Count must not allocate gigabytes.
constexpr int kMaxCrossLines = 1000;

QString Key(const char* name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

bool HasEntry(const CIniFile& ini, int index)
{
    for (const char* name : { "Type", "Show", "Pos_x", "Pos_y", "Size", "Color" }) {
        if (ini.HasKey(kSection, Key(name, index)))
            return true;
    }
    return false;
}
} // namespace

std::vector<CCrossLine> CCrossLine::LoadAll(const CIniFile& ini)
{
    std::vector<CCrossLine> lines;
    const int count = ini.GetInt(kSection, QStringLiteral("Count"), 0);
    for (int i = 0; i < count && i < kMaxCrossLines && HasEntry(ini, i); ++i) {
        CCrossLine line;
        line.type = qBound(0, ini.GetInt(kSection, Key("Type", i), 0), 1);
        line.shown = ini.GetInt(kSection, Key("Show", i), 0) != 0 ? 1 : 0;
        line.x = qBound(-kMaxPosition, ini.GetInt(kSection, Key("Pos_x", i), 0), kMaxPosition);
        line.y = qBound(-kMaxPosition, ini.GetInt(kSection, Key("Pos_y", i), 0), kMaxPosition);
        line.size = qBound(0, ini.GetInt(kSection, Key("Size", i), 0), kMaxSize);
        line.colour = static_cast<uint32_t>(ini.GetInt(kSection, Key("Color", i), 0)) & 0xFFFFFFu;
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

void CCrossLine::Rescale(const CPictureRescale& map)
{
    const QPoint p = map.Map(QPoint(x, y));
    x = qBound(-kMaxPosition, p.x(), kMaxPosition);
    y = qBound(-kMaxPosition, p.y(), kMaxPosition);
}

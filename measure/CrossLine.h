#pragma once

#include <cstdint>
#include <vector>

class CIniFile;
class CPictureRescale;

// A reference cross-hair: a full-width horizontal and a full-height vertical line.
struct CCrossLine
{
    int32_t shown = 1;
    int32_t x = 400;
    int32_t y = 400;
    int32_t type = 0; // 0 solid, 1 dashed
    uint32_t colour = 0x00FF00;
    int32_t size = 5;

    // What drawing and the dialog allow; a hand-edited file is brought into these on load.
    static constexpr int kMaxSize = 20;
    static constexpr int kMaxPosition = 1000000;

    // "Count" first; entries past Count from a longer earlier list are neither read nor erased.
    // A Count larger than the entries in the file reads only the entries there are.
    static std::vector<CCrossLine> LoadAll(const CIniFile& ini);
    static void SaveAll(CIniFile& ini, const std::vector<CCrossLine>& lines);

    // Laid over the live picture at another size, kept within the positions allowed.
    void Rescale(const CPictureRescale& map);

    bool operator==(const CCrossLine&) const = default;
};

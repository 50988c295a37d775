#pragma once

#include "calibration/RulerReading.h"

#include <QLineF>
#include <QStringList>

#include <cstdint>
#include <vector>

#include <iosfwd>

// `kalvex --scale-from-ruler FILE --division 10um`: reads the period of a stage micrometer's
// divisions from a picture and prints the scale it gives, one line:
// "SCALE UNIT/pixel uncertainty U divisions N angle A deg". No window; messages go to the
// given streams.
class CRulerCommand
{
public:
    enum ExitCode {
        Success = 0,
        UsageError = 2,
        UnreadableInput = 3,
        NoRuling = 4,
    };

    static bool Requested(int argc, char** argv);
    // Runs the command; `arguments` may start with the program name.
    int Run(const QStringList& arguments, std::ostream& out, std::ostream& err) const;

    // The Calibration dialog's reading of a 24-bit frame, rows bottom-up: its grey, within a
    // band along the line (picture pixels, rows top-down) when one is given, else all of it.
    static CRulerReading ReadFrame(
            const std::vector<uint8_t>& bits, int width, int height, const QLineF* along);
};

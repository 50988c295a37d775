#pragma once

#include <QStringList>

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
};

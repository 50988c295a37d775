#pragma once

#include "imgproc/ParticleCounter.h"

#include <QString>
#include <QStringList>

#include <iosfwd>

class CxImage;
struct CCalibrationSlot;

// The batch count behind `kalvex --count FILE [--threshold auto|N] [--dark|--bright]
// [--channel luminance|red|green|blue] [--min-area PIXELS] [--exclude-edges] [--split]
// [--scale 0.5um] -o OUT.csv`: counts the objects of one picture and writes the count's CSV.
// Without --scale the picture file's own scale is used, if it has one. No window; messages go
// to the given streams.
class CCountCommand
{
public:
    enum ExitCode {
        Success = 0,
        UsageError = 2,
        UnreadableInput = 3,
        WriteFailed = 5,
    };

    static bool Requested(int argc, char** argv);
    // Runs the command; `arguments` may start with the program name.
    int Run(const QStringList& arguments, std::ostream& out, std::ostream& err) const;

    // "0.5um", "0.5 um", "2.5µm", "0.01mm": the slot of that pixel size on both axes.
    static bool ParseScale(const QString& text, CCalibrationSlot& slot);
    // The slot of a pixel size in one of the slots' units ("um", "mm", ...).
    static bool SlotOf(
            const QString& unit, double xPerPixel, double yPerPixel, CCalibrationSlot& slot);
    // The slot's scale for the counter: its unit, or 1 x 1 "px" when it has none.
    static CParticleCounter::Scale ScaleOf(const CCalibrationSlot& slot);
    // The plane the options ask for of a picture of any depth, rows top-down.
    static cv::Mat PlaneOf(const CxImage& picture, CParticleCounter::Channel channel);

private:
    struct Options
    {
        CParticleCounter::Options count;
        QString input;
        QString output;
        QString scale;
    };
    bool Parse(const QStringList& arguments, Options& options, QString& error) const;
};

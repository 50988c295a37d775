#include "app/RulerCommand.h"

#include "base/FrameLayout.h"
#include "calibration/CalibrationSlot.h"
#include "count/CountCommand.h"
#include "image/xImage.h"
#include "imgproc/RulerReader.h"

#include <QCoreApplication>

#include <cstring>
#include <ostream>

namespace {
// Half the width of the band read along a drawn line: room for a hand that is a little off.
constexpr double kBandHalfWidth = 20.0;

void Print(std::ostream& stream, const QString& text)
{
    stream << text.toLocal8Bit().constData() << '\n';
}
} // namespace

bool CRulerCommand::Requested(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale-from-ruler") == 0)
            return true;
    }
    return false;
}

int CRulerCommand::Run(const QStringList& arguments, std::ostream& out, std::ostream& err) const
{
    const QString usage = QCoreApplication::translate("CRulerCommand",
            "Usage: kalvex --scale-from-ruler FILE --division LENGTH (for "
            "example 10um or 0.01mm; units um, mm, cm, inch)");
    QString input;
    QString division;
    for (int i = arguments.value(0).startsWith(QLatin1String("--")) ? 0 : 1; i < arguments.size();
            ++i) {
        const QString& a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--scale-from-ruler") && hasValue) {
            input = arguments[++i];
        } else if (a == QLatin1String("--division") && hasValue) {
            division = arguments[++i];
        } else {
            Print(err,
                    QCoreApplication::translate(
                            "CRulerCommand", "Unknown or incomplete option '%1'.")
                            .arg(a));
            Print(err, usage);
            return UsageError;
        }
    }
    if (input.isEmpty() || division.isEmpty()) {
        Print(err, usage);
        return UsageError;
    }
    CCalibrationSlot spacing;
    if (!CCountCommand::ParseScale(division, spacing)) {
        Print(err,
                QCoreApplication::translate("CRulerCommand",
                        "The division '%1' is not a length from 1e-9 to 1e9 in um, mm, cm or inch "
                        "(for example 10um).")
                        .arg(division));
        return UsageError;
    }
    CxImage picture;
    if (!picture.LoadFile(input, CXIMAGE_FORMAT_BMP)) {
        Print(err,
                QCoreApplication::translate("CRulerCommand", "The picture %1 cannot be read: %2")
                        .arg(input, picture.LastError()));
        return UnreadableInput;
    }
    const CRulerReader::Result ruling = CRulerReader::Read(
            CCountCommand::PlaneOf(picture, CParticleCounter::Channel::Luminance));
    if (!ruling.found) {
        Print(err, ruling.reason);
        return NoRuling;
    }
    const double length = spacing.xPerPixel;
    const double scale = length / ruling.period;
    const double uncertainty = scale * ruling.periodError / ruling.period;
    const QString unit = CCalibrationSlot::UnitName(spacing.unit);
    Print(out,
            QStringLiteral("%1 %2/pixel uncertainty %3 divisions %4 angle %5 deg")
                    .arg(QString::number(scale, 'g', 7), unit, QString::number(uncertainty, 'g', 2))
                    .arg(ruling.divisions)
                    .arg(ruling.angle, 0, 'f', 1));
    return Success;
}

CRulerReading CRulerCommand::ReadFrame(
        const std::vector<uint8_t>& bits, int width, int height, const QLineF* along)
{
    CRulerReading reading;
    if (width <= 0 || height <= 0 || bits.size() < FrameBytes(width, height)) {
        reading.reason = QCoreApplication::translate("CRulerCommand", "There is no picture.");
        return reading;
    }
    const cv::Mat grey = CParticleCounter::Plane(bits.data(), width, height, FrameStride(width),
            true, CParticleCounter::Channel::Luminance);
    const CRulerReader::Result r = along
            ? CRulerReader::ReadAlong(grey, { along->x1(), along->y1() },
                    { along->x2(), along->y2() }, kBandHalfWidth)
            : CRulerReader::Read(grey);
    reading.found = r.found;
    reading.reason = r.reason;
    reading.period = r.period;
    reading.periodError = r.periodError;
    reading.divisions = r.divisions;
    reading.angle = r.angle;
    return reading;
}

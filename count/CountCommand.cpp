#include "count/CountCommand.h"

#include "calibration/CalibrationSlot.h"
#include "calibration/CalibrationStatus.h"
#include "image/PictureScale.h"
#include "image/xImage.h"
#include "imgproc/ParticleCsv.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>
#include <cstring>
#include <ostream>

namespace {

void Print(std::ostream& stream, const QString& text)
{
    stream << text.toLocal8Bit().constData() << '\n';
}

QString Usage()
{
    return QCoreApplication::translate("CCountCommand",
            "Usage: kalvex --count FILE [--threshold auto|N] [--dark|--bright] "
            "[--channel luminance|red|green|blue] [--min-area PIXELS] [--exclude-edges] "
            "[--split] [--scale 0.5um] -o OUT.csv");
}

bool SameFile(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    return first.absoluteFilePath() == second.absoluteFilePath()
            || (first.exists() && second.exists()
                    && first.canonicalFilePath() == second.canonicalFilePath());
}

} // namespace

bool CCountCommand::Requested(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--count") == 0)
            return true;
    }
    return false;
}

bool CCountCommand::ParseScale(const QString& text, CCalibrationSlot& slot)
{
    static const QRegularExpression pattern(
            QStringLiteral("^\\s*([0-9]*\\.?[0-9]+(?:[eE][-+]?[0-9]+)?)\\s*(\\S+)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    QString unit;
    double factor = 0.0;
    if (!CPictureScale::NormaliseUnit(match.captured(2), unit, factor))
        return false;
    const double length = match.captured(1).toDouble() * factor;
    return SlotOf(unit, length, length, slot);
}

bool CCountCommand::SlotOf(
        const QString& unit, double xPerPixel, double yPerPixel, CCalibrationSlot& slot)
{
    auto usable = [](double v) {
        return v >= CCalibrationSlot::kMinKnownLength && v <= CCalibrationSlot::kMaxKnownLength;
    };
    if (!usable(xPerPixel) || !usable(yPerPixel))
        return false;
    for (int i = 0; i < CCalibrationSlot::kUnitCount; ++i) {
        if (CCalibrationSlot::UnitName(i) == unit) {
            slot = CCalibrationSlot();
            slot.unit = i;
            slot.xPerPixel = xPerPixel;
            slot.yPerPixel = yPerPixel;
            return true;
        }
    }
    return false;
}

CParticleCounter::Scale CCountCommand::ScaleOf(const CCalibrationSlot& slot)
{
    return { slot.EffectiveXPerPixel(), slot.EffectiveYPerPixel(), slot.EffectiveUnitName() };
}

cv::Mat CCountCommand::PlaneOf(const CxImage& picture, CParticleCounter::Channel channel)
{
    CxImage wide(picture);
    if (!wide.WidenTo24())
        return {};
    // A DIB keeps its bottom row first.
    return CParticleCounter::Plane(
            wide.RowBits(0), int(wide.Width()), int(wide.Height()), wide.Stride(), true, channel);
}

bool CCountCommand::Parse(const QStringList& arguments, Options& options, QString& error) const
{
    int i = 0;
    if (!arguments.isEmpty() && !arguments.front().startsWith(QLatin1Char('-')))
        i = 1; // the program name
    // An option's value may not be the next option: "--count -o out.csv" lacks the picture.
    auto value = [&](const QString& option, QString& into) {
        if (++i >= arguments.size() || arguments[i].startsWith(QLatin1String("--"))
                || arguments[i] == QLatin1String("-o")) {
            error = option == QLatin1String("--count")
                    ? QCoreApplication::translate("CCountCommand", "--count needs a picture.")
                    : QCoreApplication::translate("CCountCommand", "%1 needs a value.").arg(option);
            return false;
        }
        into = arguments[i];
        return true;
    };
    bool haveCount = false;
    for (; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        QString text;
        if (arg == QLatin1String("--count")) {
            if (!value(arg, text))
                return false;
            if (haveCount) {
                error = QCoreApplication::translate(
                        "CCountCommand", "Give one picture to --count.");
                return false;
            }
            options.input = text;
            haveCount = true;
        } else if (arg == QLatin1String("-o") || arg == QLatin1String("--output")) {
            if (!value(arg, options.output))
                return false;
        } else if (arg == QLatin1String("--threshold")) {
            if (!value(arg, text))
                return false;
            bool ok = false;
            const int level = text.toInt(&ok);
            if (text.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0) {
                options.count.automatic = true;
            } else if (ok && level >= 0 && level <= 255) {
                options.count.automatic = false;
                options.count.level = level;
            } else {
                error = QCoreApplication::translate("CCountCommand",
                        "Bad threshold \"%1\": use auto or a grey level from 0 to 255.")
                                .arg(text);
                return false;
            }
        } else if (arg == QLatin1String("--dark")) {
            options.count.objects = CParticleCounter::Objects::Dark;
        } else if (arg == QLatin1String("--bright")) {
            options.count.objects = CParticleCounter::Objects::Bright;
        } else if (arg == QLatin1String("--channel")) {
            if (!value(arg, text))
                return false;
            const QString name = text.toLower();
            if (name == QLatin1String("luminance") || name == QLatin1String("grey")) {
                options.count.channel = CParticleCounter::Channel::Luminance;
            } else if (name == QLatin1String("red")) {
                options.count.channel = CParticleCounter::Channel::Red;
            } else if (name == QLatin1String("green")) {
                options.count.channel = CParticleCounter::Channel::Green;
            } else if (name == QLatin1String("blue")) {
                options.count.channel = CParticleCounter::Channel::Blue;
            } else {
                error = QCoreApplication::translate("CCountCommand",
                        "Unknown channel \"%1\": use luminance, red, green or blue.")
                                .arg(text);
                return false;
            }
        } else if (arg == QLatin1String("--min-area")) {
            if (!value(arg, text))
                return false;
            bool ok = false;
            const int area = text.toInt(&ok);
            if (!ok || area < 0) {
                error = QCoreApplication::translate(
                        "CCountCommand", "Bad minimum area \"%1\": use a whole number of pixels.")
                                .arg(text);
                return false;
            }
            options.count.minArea = std::max(area, 1);
        } else if (arg == QLatin1String("--exclude-edges")) {
            options.count.excludeEdges = true;
        } else if (arg == QLatin1String("--split")) {
            options.count.split = true;
        } else if (arg == QLatin1String("--scale")) {
            if (!value(arg, options.scale))
                return false;
        } else {
            error = QCoreApplication::translate("CCountCommand", "Unknown option \"%1\".").arg(arg);
            return false;
        }
    }
    if (!haveCount || options.input.isEmpty()) {
        error = QCoreApplication::translate("CCountCommand", "--count needs a picture.");
        return false;
    }
    if (options.output.isEmpty()) {
        error = QCoreApplication::translate("CCountCommand", "-o needs an output file.");
        return false;
    }
    if (SameFile(options.input, options.output)) {
        error = QCoreApplication::translate(
                "CCountCommand", "The output file is the picture itself.");
        return false;
    }
    return true;
}

int CCountCommand::Run(const QStringList& arguments, std::ostream& out, std::ostream& err) const
{
    Options options;
    QString error;
    if (!Parse(arguments, options, error)) {
        Print(err, error);
        Print(err, Usage());
        return UsageError;
    }
    CCalibrationSlot slot;
    int source = CCalibrationStatus::kFromCommandLine;
    if (!options.scale.isEmpty() && !ParseScale(options.scale, slot)) {
        Print(err,
                QCoreApplication::translate("CCountCommand",
                        "Bad scale \"%1\": give the size of one pixel with its unit, as 0.5um or "
                        "0.002mm.")
                        .arg(options.scale));
        return UsageError;
    }

    CxImage picture;
    if (!picture.LoadFile(options.input)) {
        Print(err,
                QCoreApplication::translate("CCountCommand", "Cannot read the picture %1: %2")
                        .arg(options.input, picture.LastError()));
        return UnreadableInput;
    }
    if (options.scale.isEmpty()) {
        const CPictureScale& own = picture.PictureScale();
        if (own.IsValid() && SlotOf(own.unit, own.xPerPixel, own.yPerPixel, slot))
            source = CCalibrationStatus::kFromFile;
    }
    const cv::Mat plane = PlaneOf(picture, options.count.channel);
    if (plane.empty()) {
        Print(err,
                QCoreApplication::translate("CCountCommand", "Cannot read the picture %1: %2")
                        .arg(options.input, picture.LastError()));
        return UnreadableInput;
    }

    const CParticleCounter::Result result =
            CParticleCounter::Count(plane, options.count, ScaleOf(slot));
    if (!CParticleCsv::Write(
                options.output, result, CCalibrationStatus::CsvLine(slot, source), &error)) {
        Print(err,
                QCoreApplication::translate("CCountCommand", "Cannot write %1: %2")
                        .arg(options.output, error));
        return WriteFailed;
    }
    Print(out, CParticleCsv::SummaryLine(result));
    Print(out,
            QCoreApplication::translate("CCountCommand", "Threshold: %1")
                    .arg(CParticleCsv::SettingsLine(result)));
    Print(out, QCoreApplication::translate("CCountCommand", "Wrote %1").arg(options.output));
    return Success;
}

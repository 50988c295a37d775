#include "imgproc/FuseCommand.h"

#include "image/xImage.h"
#include "imgproc/PairMapCheck.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <ostream>
#include <thread>

#include <sys/stat.h>

namespace {

void Print(std::ostream& stream, const QString& text)
{
    stream << text.toLocal8Bit().constData() << '\n';
}

QString Usage()
{
    return QCoreApplication::translate("CFuseCommand",
            "Usage: kalvex --fuse direct|adjusted|aligned -o OUT.jpg|OUT.bmp "
            "[--depth-map DEPTH.jpg|DEPTH.bmp] [--verbose] IN...");
}

QString MapText(const CAffineMap& map)
{
    auto row = [](const CAffineRow& r) {
        auto term = [](double v, int decimals) {
            return QStringLiteral("%1 %2")
                    .arg(v < 0 ? '-' : '+')
                    .arg(std::abs(v), 0, 'f', decimals);
        };
        return QStringLiteral("%1 x %2 y %3").arg(r.p, 0, 'f', 5).arg(term(r.q, 5), term(r.r, 2));
    };
    return QStringLiteral("x' = %1, y' = %2").arg(row(map.x), row(map.y));
}

// Two names of one file: the same path, or (for files that exist) the same file behind links.
bool SameFile(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.absoluteFilePath() == second.absoluteFilePath())
        return true;
    if (!first.exists() || !second.exists())
        return false;
    if (first.canonicalFilePath() == second.canonicalFilePath())
        return true;
    struct stat one = {};
    struct stat other = {};
    return ::stat(QFile::encodeName(a).constData(), &one) == 0
            && ::stat(QFile::encodeName(b).constData(), &other) == 0 && one.st_dev == other.st_dev
            && one.st_ino == other.st_ino;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

bool CFuseCommand::Requested(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fuse") == 0)
            return true;
    }
    return false;
}

QStringList CFuseCommand::Arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

bool CFuseCommand::Parse(const QStringList& arguments, Options& options, QString& error) const
{
    bool haveMode = false;
    int i = 0;
    if (!arguments.isEmpty() && !arguments.front().startsWith(QLatin1Char('-')))
        i = 1; // the program name
    for (; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--fuse")) {
            if (++i >= arguments.size()) {
                error = QCoreApplication::translate(
                        "CFuseCommand", "--fuse needs a mode: direct, adjusted or aligned.");
                return false;
            }
            const QString mode = arguments[i].toLower();
            if (mode == QLatin1String("direct")) {
                options.mode = FusionMode::Direct;
            } else if (mode == QLatin1String("adjusted")) {
                options.mode = FusionMode::Adjusted;
            } else if (mode == QLatin1String("aligned")) {
                options.mode = FusionMode::Aligned;
            } else {
                error = QCoreApplication::translate("CFuseCommand",
                        "Unknown fusion mode \"%1\": use direct, adjusted or aligned.")
                                .arg(arguments[i]);
                return false;
            }
            haveMode = true;
        } else if (arg == QLatin1String("-o") || arg == QLatin1String("--output")) {
            if (++i >= arguments.size()) {
                error = QCoreApplication::translate("CFuseCommand", "-o needs an output file.");
                return false;
            }
            options.output = arguments[i];
        } else if (arg == QLatin1String("--depth-map")) {
            if (++i >= arguments.size()) {
                error = QCoreApplication::translate(
                        "CFuseCommand", "--depth-map needs an output file.");
                return false;
            }
            options.depthMap = arguments[i];
        } else if (arg == QLatin1String("--lang") || arg.startsWith(QLatin1String("--lang="))
                || arg == QLatin1String("--test-camera")) {
            // The program's own options, read by main.
            if (arg == QLatin1String("--lang"))
                ++i;
        } else if (arg == QLatin1String("--verbose") || arg == QLatin1String("-v")) {
            options.verbose = true;
        } else if (arg == QLatin1String("--")) {
            for (++i; i < arguments.size(); ++i)
                options.inputs << arguments[i];
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            error = QCoreApplication::translate("CFuseCommand", "Unknown option \"%1\".").arg(arg);
            return false;
        } else {
            options.inputs << arg;
        }
    }
    if (!haveMode) {
        error = QCoreApplication::translate(
                "CFuseCommand", "--fuse needs a mode: direct, adjusted or aligned.");
        return false;
    }
    if (options.output.isEmpty()) {
        error = QCoreApplication::translate(
                "CFuseCommand", "No output file: give -o OUT.jpg or -o OUT.bmp.");
        return false;
    }
    for (const QString& file : { options.output, options.depthMap }) {
        if (file.isEmpty())
            continue;
        const QString suffix = QFileInfo(file).suffix().toLower();
        if (suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg")
                && suffix != QLatin1String("bmp")) {
            error = QCoreApplication::translate(
                    "CFuseCommand", "The output file must end in .jpg or .bmp: %1")
                            .arg(file);
            return false;
        }
    }
    if (!options.depthMap.isEmpty() && options.mode != FusionMode::Aligned) {
        error = QCoreApplication::translate("CFuseCommand", "--depth-map needs the aligned mode.");
        return false;
    }
    if (options.inputs.size() < 2) {
        error = QCoreApplication::translate("CFuseCommand", "Need at least 2 input images, got %1.")
                        .arg(options.inputs.size());
        return false;
    }
    // Writing over an input would lose a picture of the series (and a second run's input).
    for (const QString& file : { options.output, options.depthMap }) {
        if (file.isEmpty())
            continue;
        for (const QString& input : options.inputs) {
            if (SameFile(file, input)) {
                error = QCoreApplication::translate("CFuseCommand",
                        "%1 is one of the input images: choose another output file.")
                                .arg(file);
                return false;
            }
        }
    }
    if (!options.depthMap.isEmpty() && SameFile(options.output, options.depthMap)) {
        error = QCoreApplication::translate(
                "CFuseCommand", "The depth map and the fused picture need two different files.");
        return false;
    }
    if (options.inputs.size() > kMaxFusionImages) {
        error = QCoreApplication::translate("CFuseCommand", "At most %1 input images, got %2.")
                        .arg(kMaxFusionImages)
                        .arg(options.inputs.size());
        return false;
    }
    return true;
}

bool CFuseCommand::LoadAll(
        const QStringList& files, std::vector<CxImage>& images, QString& failed, QString& error)
{
    const int count = static_cast<int>(files.size());
    images.clear();
    images.resize(static_cast<size_t>(count));
    std::vector<char> ok(static_cast<size_t>(count), 0);
    std::atomic<int> next { 0 };
    auto worker = [&] {
        for (int i = next++; i < count; i = next++) {
            CxImage& image = images[static_cast<size_t>(i)];
            // A grey picture among colour ones is widened, as the merge dialog does.
            ok[static_cast<size_t>(i)] = image.LoadFile(files[i]) && image.WidenTo24();
        }
    };
    const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 2);
    std::vector<std::thread> pool;
    for (int t = 1; t < std::min(threads, count); ++t)
        pool.emplace_back(worker);
    worker();
    for (auto& thread : pool)
        thread.join();

    for (int i = 0; i < count; ++i) {
        if (!ok[static_cast<size_t>(i)]) {
            failed = files[i];
            // The decoder's own words, or the system's for a file that cannot be read.
            error = images[static_cast<size_t>(i)].LastError();
            if (error.isEmpty())
                error = QCoreApplication::translate("CFuseCommand", "not a BMP or JPEG picture");
            images.clear();
            return false;
        }
    }
    return true;
}

CImageView CFuseCommand::View(const CxImage& image)
{
    return { static_cast<int>(image.Width()), static_cast<int>(image.Height()), image.Stride(),
        image.RowBits(0) };
}

bool CFuseCommand::ToImage(const CFusedImage& fused, CxImage& image)
{
    if (fused.bits.empty())
        return false;
    return image.CreateFromBuffer(fused.bits.data(), static_cast<uint32_t>(fused.width),
            static_cast<uint32_t>(fused.height), 24, static_cast<uint32_t>(fused.stride), false);
}

bool CFuseCommand::DepthToImage(const CDepthMap& depth, int count, CxImage& image)
{
    if (depth.index.empty() || count < 2
            || depth.index.size() != static_cast<size_t>(depth.width) * depth.height)
        return false;
    // Spread over the whole grey range: the first input black, the last white.
    std::vector<uint8_t> grey(depth.index.size());
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = static_cast<uint8_t>((depth.index[i] * 255 + (count - 1) / 2) / (count - 1));
    if (!image.CreateFromBuffer(grey.data(), static_cast<uint32_t>(depth.width),
                static_cast<uint32_t>(depth.height), 8, static_cast<uint32_t>(depth.width), false))
        return false;
    image.SetGrayPalette();
    return true;
}

bool CFuseCommand::Save(CxImage& picture, const QString& path, std::ostream& err)
{
    const bool bmp = QFileInfo(path).suffix().toLower() == QLatin1String("bmp");
    if (!bmp)
        picture.SetJpegQualityLevel(100.0f);
    if (!picture.SaveFile(path, bmp ? CXIMAGE_FORMAT_BMP : CXIMAGE_FORMAT_JPG)) {
        Print(err,
                QCoreApplication::translate("CFuseCommand", "Cannot write %1: %2")
                        .arg(path, picture.LastError()));
        return false;
    }
    return true;
}

int CFuseCommand::Run(const QStringList& arguments, std::ostream& out, std::ostream& err)
{
    Options options;
    QString error;
    if (!Parse(arguments, options, error)) {
        Print(err, error);
        Print(err, Usage());
        return UsageError;
    }

    const auto start = std::chrono::steady_clock::now();
    std::vector<CxImage> images;
    QString failed;
    if (!LoadAll(options.inputs, images, failed, error)) {
        Print(err,
                QCoreApplication::translate("CFuseCommand", "Cannot read %1: %2")
                        .arg(failed, error));
        return UnreadableInput;
    }
    for (size_t i = 1; i < images.size(); ++i) {
        if (images[i].Width() != images[0].Width() || images[i].Height() != images[0].Height()) {
            Print(err,
                    QCoreApplication::translate("CFuseCommand",
                            "%1 is %2 x %3, but %4 is %5 x %6: every image must have the same "
                            "size.")
                            .arg(options.inputs[static_cast<int>(i)])
                            .arg(images[i].Width())
                            .arg(images[i].Height())
                            .arg(options.inputs[0])
                            .arg(images[0].Width())
                            .arg(images[0].Height()));
            return SizeMismatch;
        }
    }
    if (options.verbose)
        Print(out,
                QCoreApplication::translate("CFuseCommand", "Decoded %1 images in %2 s")
                        .arg(images.size())
                        .arg(SecondsSince(start), 0, 'f', 3));

    std::vector<CImageView> views;
    views.reserve(images.size());
    for (const CxImage& image : images)
        views.push_back(View(image));

    CFusionObserver observer;
    std::mutex printing;
    std::vector<CPairMapCheck> doubts;
    if (options.mode == FusionMode::Adjusted || options.verbose) {
        observer.pairDone = [&](const CFusionPairReport& pair) {
            const std::lock_guard lock(printing);
            if (options.mode == FusionMode::Adjusted) {
                const CPairMapCheck check = CPairMapCheck::Judge(pair.first, pair.pairMap,
                        views[static_cast<std::size_t>(pair.first)],
                        views[static_cast<std::size_t>(pair.first) + 1]);
                if (check.doubtful)
                    doubts.push_back(check);
            }
            if (!options.verbose)
                return;
            if (options.mode == FusionMode::Aligned) {
                Print(out,
                        QCoreApplication::translate("CFuseCommand", "Pair %1-%2: %3")
                                .arg(pair.first + 1)
                                .arg(pair.first + 2)
                                .arg(MapText(pair.pairMap)));
                return;
            }
            Print(out,
                    QCoreApplication::translate(
                            "CFuseCommand", "Pair %1-%2: %3 matches, %4 kept; %5")
                            .arg(pair.first + 1)
                            .arg(pair.first + 2)
                            .arg(pair.matches)
                            .arg(pair.keptMatches)
                            .arg(MapText(pair.pairMap)));
        };
    }
    const auto fuseStart = std::chrono::steady_clock::now();
    CFusedImage fused;
    CSearchCentre centre;
    CDepthMap depth;
    const FusionStatus status = Fuse(options.mode, views, centre, fused, observer,
            options.depthMap.isEmpty() ? nullptr : &depth);
    if (status != FusionStatus::Done) {
        Print(err, QCoreApplication::translate("CFuseCommand", "The fusion failed."));
        return FusionFailed;
    }
    for (const CPairMapCheck& doubt : doubts)
        Print(err, doubt.Warning());
    if (options.verbose)
        Print(out,
                QCoreApplication::translate("CFuseCommand", "Fused in %1 s")
                        .arg(SecondsSince(fuseStart), 0, 'f', 3));
    images.clear(); // the inputs are no longer needed while encoding

    if (!options.depthMap.isEmpty()) {
        CxImage depthPicture;
        if (!DepthToImage(depth, static_cast<int>(options.inputs.size()), depthPicture)) {
            Print(err, QCoreApplication::translate("CFuseCommand", "The fusion failed."));
            return FusionFailed;
        }
        depth = {};
        if (!Save(depthPicture, options.depthMap, err))
            return WriteFailed;
    }

    CxImage result;
    if (!ToImage(fused, result)) {
        Print(err, QCoreApplication::translate("CFuseCommand", "The fusion failed."));
        return FusionFailed;
    }
    fused = {};
    if (!Save(result, options.output, err))
        return WriteFailed;
    if (options.verbose)
        Print(out,
                QCoreApplication::translate("CFuseCommand", "Wrote %1 in %2 s in all")
                        .arg(options.output)
                        .arg(SecondsSince(start), 0, 'f', 3));
    return Success;
}

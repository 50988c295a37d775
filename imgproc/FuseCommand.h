#pragma once

#include "imgproc/ImageFusion.h"

#include <QString>
#include <QStringList>

#include <iosfwd>
#include <vector>

class CxImage;

/// @brief The batch fusion behind `kalvex --fuse direct|adjusted|aligned -o OUT.jpg|OUT.bmp
/// [--depth-map DEPTH.jpg|DEPTH.bmp] [--verbose] IN...`: decodes the inputs on both cores, fuses
/// them with the dialog's code and writes the result. No window; messages go to the given streams.
class CFuseCommand
{
public:
    enum ExitCode {
        Success = 0,
        FusionFailed = 1,
        UsageError = 2, ///< bad options, or fewer than 2 or more than 20 inputs
        UnreadableInput = 3,
        SizeMismatch = 4,
        WriteFailed = 5,
    };

    /// @brief True when the command line asks for a batch fusion (holds "--fuse").
    static bool Requested(int argc, char** argv);
    static QStringList Arguments(int argc, char** argv);

    /// @brief Runs the command; `arguments` may start with the program name.
    int Run(const QStringList& arguments, std::ostream& out, std::ostream& err);

    /// @brief Loads every file into `images` in order, two at a time. On failure `failed` is
    /// the first file that could not be decoded and `error` the decoder's text.
    static bool LoadAll(const QStringList& files, std::vector<CxImage>& images, QString& failed,
            QString& error);
    static CImageView View(const CxImage& image);
    /// @brief The fused pixels as a 24-bit picture.
    static bool ToImage(const CFusedImage& fused, CxImage& image);
    /// @brief The depth map of a fusion of `count` inputs as an 8-bit grey picture: input i
    /// is grey i x 255 / (count - 1), rounded.
    static bool DepthToImage(const CDepthMap& depth, int count, CxImage& image);

private:
    struct Options
    {
        FusionMode mode = FusionMode::Direct;
        bool verbose = false;
        QString output;
        QString depthMap;
        QStringList inputs;
    };
    bool Parse(const QStringList& arguments, Options& options, QString& error) const;
    // JPEG (quality 100) or BMP by the name's suffix; the reason goes to `err`.
    static bool Save(CxImage& picture, const QString& path, std::ostream& err);
};

#include "image/PictureWriter.h"

#include "image/xImage.h"

bool CPictureWriter::Write(CxImage& image, const QString& path, uint32_t format, QString* reason)
{
    // SaveFile replaces a file only with a whole picture and names the system's reason.
    if (image.SaveFile(path, format))
        return true;
    if (reason)
        *reason = image.LastError();
    return false;
}

QString CPictureWriter::Extension(uint32_t format)
{
    switch (format) {
    case CXIMAGE_FORMAT_BMP:
        return QStringLiteral(".bmp");
    case CXIMAGE_FORMAT_PNG:
        return QStringLiteral(".png");
    case CXIMAGE_FORMAT_TIF:
        return QStringLiteral(".tif");
    default:
        return QStringLiteral(".jpg");
    }
}

uint32_t CPictureWriter::FormatOfSuffix(const QString& suffix)
{
    const uint32_t format = CxImage::FormatFromName(QStringLiteral("x.") + suffix);
    return format == CXIMAGE_FORMAT_UNKNOWN ? CXIMAGE_FORMAT_JPG : format;
}

bool CPictureWriter::WriteTimeStamped(CxImage& image, const QString& folder, uint32_t format,
        const CSnapshotNamer& namer, QString& name, QString& path, QString* reason)
{
    const QString extension = Extension(format);
    name = namer.Now() + extension;
    path = CSnapshotNamer::JoinPath(folder, name);
    if (!CSnapshotNamer::MakeFolder(folder, reason))
        return false;
    name = namer.UniqueName(folder, extension);
    path = CSnapshotNamer::JoinPath(folder, name);
    if (format == CXIMAGE_FORMAT_JPG)
        image.SetJpegQualityLevel(100.0f);
    return Write(image, path, format, reason);
}

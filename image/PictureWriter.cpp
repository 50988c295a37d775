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

bool CPictureWriter::WriteTimeStamped(CxImage& image, const QString& folder, bool bmp,
        const CSnapshotNamer& namer, QString& name, QString& path, QString* reason)
{
    const QString extension = bmp ? QStringLiteral(".bmp") : QStringLiteral(".jpg");
    name = namer.Now() + extension;
    path = CSnapshotNamer::JoinPath(folder, name);
    if (!CSnapshotNamer::MakeFolder(folder, reason))
        return false;
    name = namer.UniqueName(folder, extension);
    path = CSnapshotNamer::JoinPath(folder, name);
    if (!bmp)
        image.SetJpegQualityLevel(100.0f);
    return Write(image, path, bmp ? CXIMAGE_FORMAT_BMP : CXIMAGE_FORMAT_JPG, reason);
}

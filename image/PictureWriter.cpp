#include "image/PictureWriter.h"

#include "image/xFile.h"
#include "image/xImage.h"

#include <QSaveFile>

#include <cstdio>

namespace {

// The codecs write through CxFile; this one feeds a QSaveFile so that nothing replaces the
// target until the whole picture is on disk.
class CSaveFileStream : public CxFile
{
public:
    explicit CSaveFileStream(QSaveFile& file) : m_file(file) { }

    bool Close() override { return true; }
    size_t Read(void*, size_t, size_t) override { return 0; }
    size_t Write(const void* buffer, size_t size, size_t count) override
    {
        if (size == 0 || count == 0)
            return 0;
        // A short write is retried so that a full disk ends in an error with its reason.
        const char* data = static_cast<const char*>(buffer);
        qint64 left = qint64(size * count);
        while (left > 0) {
            const qint64 written = m_file.write(data, left);
            if (written <= 0)
                break;
            data += written;
            left -= written;
        }
        return left == 0 ? count : (size * count - size_t(left)) / size;
    }
    bool Seek(int64_t offset, int origin) override
    {
        qint64 target = offset;
        if (origin == SEEK_CUR)
            target += m_file.pos();
        else if (origin == SEEK_END)
            target += m_file.size();
        return m_file.seek(target);
    }
    int64_t Tell() override { return m_file.pos(); }
    int64_t Size() override { return m_file.size(); }
    bool Flush() override { return m_file.error() == QFileDevice::NoError; }
    bool Eof() override { return m_file.atEnd(); }
    long Error() override { return m_file.error() == QFileDevice::NoError ? 0 : 1; }
    long GetC() override { return EOF; }
    char* GetS(char*, int) override { return nullptr; }
    long Scanf(const char*, void*) override { return EOF; }

private:
    QSaveFile& m_file;
};

} // namespace

bool CPictureWriter::Write(CxImage& image, const QString& path, uint32_t format, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    QSaveFile file(path);
    // Unbuffered, so a full disk shows up at the write that hit it, with the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    CSaveFileStream stream(file);
    if (!image.Encode(&stream, format)) {
        const QString reason =
                file.error() != QFileDevice::NoError ? file.errorString() : image.LastError();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
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

bool CPictureWriter::WidenToTrueColour(CxImage& image)
{
    if (image.Bpp() == 24)
        return true;
    CxImage wide;
    if (!image.ToTrueColour(wide))
        return false;
    image = std::move(wide);
    return true;
}

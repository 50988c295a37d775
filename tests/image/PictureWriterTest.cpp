#include "image/PictureWriter.h"
#include "image/xImage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QDateTime Noon()
{
    return QDateTime(QDate(2026, 12, 8), QTime(12, 0, 0));
}

CxImage Grey(uint32_t width, uint32_t height)
{
    CxImage image;
    image.Create(width, height, 8, CXIMAGE_FORMAT_BMP);
    image.SetGrayPalette();
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            image.RowBits(y)[x] = static_cast<uint8_t>(x * 10 + y);
    return image;
}
} // namespace

TEST(PictureWriter, TimeStampedNamesMakeTheFolderAndNeverReplaceAnEarlierPicture)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("new/image"));
    CxImage picture = Grey(16, 8);
    ASSERT_TRUE(picture.WidenTo24());
    const CSnapshotNamer namer(Noon);
    QString name;
    QString path;
    QString reason;
    ASSERT_TRUE(CPictureWriter::WriteTimeStamped(picture, folder, true, namer, name, path, &reason))
            << reason.toStdString();
    EXPECT_EQ(name, QStringLiteral("20261208120000.bmp"));
    EXPECT_EQ(path, folder + QStringLiteral("/20261208120000.bmp"));
    ASSERT_TRUE(
            CPictureWriter::WriteTimeStamped(picture, folder, false, namer, name, path, &reason));
    EXPECT_EQ(name, QStringLiteral("20261208120000.jpg"));
    ASSERT_TRUE(
            CPictureWriter::WriteTimeStamped(picture, folder, true, namer, name, path, &reason));
    EXPECT_EQ(name, QStringLiteral("20261208120000_2.bmp"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3) << "no temporary file left behind";

    // A folder that cannot be made: the path it would have had and the system's reason.
    QFile(dir.filePath(QStringLiteral("plain"))).open(QIODevice::WriteOnly);
    EXPECT_FALSE(CPictureWriter::WriteTimeStamped(picture,
            dir.filePath(QStringLiteral("plain/image")), true, namer, name, path, &reason));
    EXPECT_TRUE(path.startsWith(dir.filePath(QStringLiteral("plain/image/"))));
    EXPECT_FALSE(reason.isEmpty());
}

TEST(PictureWriter, GreyPicturesWidenToTheSameColours)
{
    CxImage picture = Grey(16, 8);
    ASSERT_TRUE(picture.WidenTo24());
    ASSERT_EQ(picture.Bpp(), 24u);
    const uint8_t* row = picture.RowBits(3);
    EXPECT_EQ(row[3 * 5], 53);
    EXPECT_EQ(row[3 * 5 + 1], 53);
    EXPECT_EQ(row[3 * 5 + 2], 53);
    CxImage empty;
    EXPECT_FALSE(empty.WidenTo24());
}

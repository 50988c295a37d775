#include "image/xIOFile.h"
#include "image/xImage.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

namespace {

// Each stored row r filled with value r + x so rows and columns can be told apart.
CxImage patterned(uint32_t w, uint32_t h)
{
    CxImage img;
    img.Create(w, h, 24);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t i = 0; i < w * 3; ++i)
            img.RowBits(y)[i] = uint8_t(y * 7 + i);
    return img;
}

void fill(CxImage& img, uint8_t b, uint8_t g, uint8_t r)
{
    for (uint32_t y = 0; y < img.Height(); ++y)
        for (uint32_t x = 0; x < img.Width(); ++x) {
            uint8_t* p = img.RowBits(y) + 3 * x;
            p[0] = b, p[1] = g, p[2] = r;
        }
}

} // namespace

TEST(CxImage_Create, StrideIsPaddedToFourBytes)
{
    CxImage img;
    ASSERT_TRUE(img.Create(1, 1, 24));
    EXPECT_EQ(img.Stride(), 4u);
    ASSERT_TRUE(img.Create(641, 480, 24));
    EXPECT_EQ(img.Stride(), 1924u);
    EXPECT_EQ(img.Header().biSizeImage, 1924u * 480);
    ASSERT_TRUE(img.Create(33, 2, 1));
    EXPECT_EQ(img.Stride(), 8u);
    ASSERT_TRUE(img.Create(9, 2, 4));
    EXPECT_EQ(img.Stride(), 8u);
}

TEST(CxImage_Create, RoundsDepthAndSizesPalette)
{
    CxImage img;
    const struct
    {
        uint32_t asked, bpp, colors;
    } cases[] = { { 0, 1, 2 }, { 2, 4, 16 }, { 5, 8, 256 }, { 16, 24, 0 }, { 32, 24, 0 } };
    for (const auto& c : cases) {
        ASSERT_TRUE(img.Create(10, 10, c.asked)) << c.asked;
        EXPECT_EQ(img.Bpp(), c.bpp);
        EXPECT_EQ(img.NumColors(), c.colors);
        EXPECT_EQ(img.DibSize(), 40 + 4 * c.colors + img.Stride() * 10);
        CxBitmapInfoHeader head;
        std::memcpy(&head, img.Dib(), sizeof(head));
        EXPECT_EQ(head.biBitCount, c.bpp);
        EXPECT_EQ(head.biClrUsed, c.colors);
    }
}

TEST(CxImage_Create, EnforcesSizeLimits)
{
    CxImage img;
    EXPECT_FALSE(img.Create(16384, 16384, 24));
    EXPECT_STREQ(img.LastErrorText(), "CXIMAGE_MAX_MEMORY exceeded");
    EXPECT_FALSE(img.HasPixels());
    EXPECT_FALSE(img.Create(100000, 100000, 1));
    EXPECT_STREQ(img.LastErrorText(), "CXIMAGE_MAX_MEMORY exceeded");
    EXPECT_FALSE(img.Create(0, 10, 24));
    EXPECT_STREQ(
            img.LastErrorText(), "CxImage::Create : width and height must be greater than zero");
    ASSERT_TRUE(img.Create(8192, 8192, 24));
    EXPECT_EQ(img.Width(), 8192u);
}

TEST(CxImage_Resolution, PelsPerMetreFollowsDpi)
{
    CxImage img;
    img.Create(4, 4, 24);
    EXPECT_EQ(img.XDpi(), 96);
    EXPECT_EQ(img.Header().biXPelsPerMeter, 3780);
    img.SetXDpi(300);
    img.SetYDpi(-5);
    EXPECT_EQ(img.Header().biXPelsPerMeter, 11811);
    EXPECT_EQ(img.YDpi(), 96);
    CxBitmapInfoHeader head;
    std::memcpy(&head, img.Dib(), sizeof(head));
    EXPECT_EQ(head.biXPelsPerMeter, 11811);
}

TEST(CxImage_Rows, CreateFromBufferCopiesAndFlips)
{
    // A frame buffer of 3 x 2 pixels with its 12-byte padded stride.
    uint8_t frame[2 * 12];
    for (int i = 0; i < 24; ++i)
        frame[i] = uint8_t(i);
    CxImage img;
    ASSERT_TRUE(img.CreateFromBuffer(frame, 3, 2, 24, 12, false));
    EXPECT_EQ(std::memcmp(img.RowBits(0), frame, 12), 0);
    EXPECT_EQ(std::memcmp(img.RowBits(1), frame + 12, 12), 0);
    ASSERT_TRUE(img.CreateFromBuffer(frame, 3, 2, 24, 12, true));
    EXPECT_EQ(std::memcmp(img.RowBits(1), frame, 12), 0);
    // A shorter source row copies only its own bytes.
    ASSERT_TRUE(img.CreateFromBuffer(frame, 3, 2, 24, 9, false));
    EXPECT_EQ(std::memcmp(img.RowBits(1), frame + 9, 9), 0);
    EXPECT_FALSE(img.CreateFromBuffer(nullptr, 3, 2, 24, 12, false));
}

TEST(CxImage_Rows, RowBitsAndFlipVertical)
{
    CxImage empty;
    EXPECT_EQ(empty.RowBits(0), nullptr);
    EXPECT_EQ(empty.Width(), 0u);
    EXPECT_FALSE(empty.FlipVertical());

    CxImage img = patterned(5, 3);
    EXPECT_EQ(img.RowBits(3), nullptr);
    EXPECT_EQ(img.RowBits(2) - img.RowBits(0), 2 * 16);
    const CxImage before = img;
    ASSERT_TRUE(img.FlipVertical());
    for (uint32_t y = 0; y < 3; ++y)
        EXPECT_EQ(std::memcmp(img.RowBits(y), before.RowBits(2 - y), 15), 0);
}

TEST(CxImage_Copy, IsDeepAndCarriesSettings)
{
    CxImage img = patterned(7, 4);
    img.SetJpegQualityLevel(100);
    img.SetXDpi(200);
    img.SetType(CXIMAGE_FORMAT_JPG);
    CxImage copy;
    ASSERT_TRUE(copy.CopyFrom(img, true, true, true));
    EXPECT_NE(copy.RowBits(0), img.RowBits(0));
    EXPECT_EQ(std::memcmp(copy.Dib(), img.Dib(), img.DibSize()), 0);
    EXPECT_EQ(copy.JpegQualityLevel(), 100.0f);
    EXPECT_EQ(copy.XDpi(), 200);
    EXPECT_EQ(copy.Type(), CXIMAGE_FORMAT_JPG);
    copy.RowBits(0)[0] ^= 0xFF;
    EXPECT_NE(copy.RowBits(0)[0], img.RowBits(0)[0]);
}

TEST(CxImage_Thumbnail, KeepsAspectAndCentresOnCanvas)
{
    CxImage img;
    img.Create(1280, 1024, 24);
    fill(img, 10, 20, 30);
    CxImage thumb;
    ASSERT_TRUE(img.MakeThumbnail(100, 100, 0x00FFEEDD, &thumb));
    EXPECT_EQ(img.Width(), 1280u); // the source stays as it was
    ASSERT_EQ(thumb.Width(), 100u);
    ASSERT_EQ(thumb.Height(), 100u);
    auto px = [&](uint32_t x, uint32_t rowFromTop) {
        const uint8_t* p = thumb.RowBits(99 - rowFromTop) + 3 * x;
        return (p[2] << 16) | (p[1] << 8) | p[0];
    };
    for (uint32_t row = 0; row < 100; ++row) {
        const bool canvas = row < 10 || row >= 90;
        EXPECT_EQ(px(0, row), canvas ? 0xDDEEFF : 0x1E140A) << row;
        EXPECT_EQ(px(99, row), canvas ? 0xDDEEFF : 0x1E140A) << row;
    }
}

TEST(CxImage_Thumbnail, AveragesAreasAndHandlesSmallOrThinPictures)
{
    // Alternating black and white columns shrink to mid grey.
    CxImage stripes;
    stripes.Create(8, 8, 24);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x)
            std::memset(stripes.RowBits(y) + 3 * x, (x & 1) ? 255 : 0, 3);
    ASSERT_TRUE(stripes.MakeThumbnail(4, 4, 0));
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t i = 0; i < 12; ++i)
            EXPECT_EQ(stripes.RowBits(y)[i], 128);

    CxImage small = patterned(50, 40);
    ASSERT_TRUE(small.MakeThumbnail(100, 100, 0x000000FF));
    EXPECT_EQ(small.RowBits(99)[2], 255); // canvas red in the top-left corner
    EXPECT_EQ(small.RowBits(30)[3 * 25], 0); // the picture's bottom row above 30 canvas rows
    EXPECT_EQ(small.RowBits(29)[3 * 25 + 2], 255);
    CxImage thin;
    thin.Create(1000, 1, 24);
    ASSERT_TRUE(thin.MakeThumbnail(100, 100, 0));
    EXPECT_EQ(thin.Width(), 100u);

    CxImage grey;
    grey.Create(4, 4, 8);
    grey.SetGrayPalette();
    std::memset(grey.RowBits(0), 200, grey.Stride() * 4);
    ASSERT_TRUE(grey.MakeThumbnail(2, 2, 0));
    EXPECT_EQ(grey.Bpp(), 24);
    EXPECT_EQ(grey.RowBits(0)[0], 200);

    CxImage empty;
    EXPECT_FALSE(empty.MakeThumbnail(10, 10, 0));
    EXPECT_FALSE(stripes.MakeThumbnail(0, 10, 0));
}

TEST(CxImage_Files, LoadAndSaveReportTheirFailures)
{
    QTemporaryDir dir;
    CxImage img;
    EXPECT_FALSE(img.LoadFile(dir.filePath("missing.bmp"), 0));
    EXPECT_STREQ(img.LastErrorText(), "No such file or directory") << "the system's reason";
    EXPECT_FALSE(img.SaveFile(dir.filePath("a.bmp"), CXIMAGE_FORMAT_BMP));
    EXPECT_STREQ(img.LastErrorText(), "null image!!!");
    EXPECT_FALSE(QFile::exists(dir.filePath("a.bmp")));
    img = patterned(3, 3);
    EXPECT_FALSE(img.SaveFile(dir.filePath("a.gif"), 2));
    EXPECT_STREQ(img.LastErrorText(), "Encode: Unknown format");
    EXPECT_FALSE(img.Encode(nullptr, CXIMAGE_FORMAT_JPG));
    EXPECT_STREQ(img.LastErrorText(), "null file handler");
    EXPECT_FALSE(img.SaveFile(dir.filePath("no/such/dir.bmp"), CXIMAGE_FORMAT_BMP));

    QFile junk(dir.filePath("junk.bin"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(100, 'x'));
    junk.close();
    EXPECT_FALSE(img.LoadFile(junk.fileName(), 0));
    EXPECT_STREQ(img.LastErrorText(), "The file holds text, not a picture.");
    EXPECT_FALSE(img.HasPixels());
}

// A file whose content no decoder knows is named for what it holds, whatever its name or the
// format asked for: a text file named .png is not "Not a BMP".
TEST(CxImage_Files, ContentThatIsNoPictureIsNamed)
{
    QTemporaryDir dir;
    QByteArray binary(600, '\0');
    binary[0] = char(0x7F);
    const struct
    {
        const char* name;
        QByteArray bytes;
        const char* error;
    } cases[] = { { "notes.png", "Sample 3, 10x\n\tfocus \xE2\x9C\x93\r\n",
                          "The file holds text, not a picture." },
        { "long.bmp", QByteArray(2000, 'a'), "The file holds text, not a picture." },
        { "anim.jpg", "GIF89a\x01\x00\x01\x00",
                "The file is a GIF picture; only BMP, JPEG, PNG and TIFF pictures open." },
        { "x.tif", "RIFF\x10\x01\x01\x01WEBPVP8 ",
                "The file is a WebP picture; only BMP, JPEG, PNG and TIFF pictures open." },
        { "empty.png", "", "The file is empty." },
        { "blob.png", binary,
                "The content of the file is not a BMP, JPEG, PNG or TIFF picture." } };
    for (const auto& c : cases) {
        QFile file(dir.filePath(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        for (uint32_t format :
                { CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_UNKNOWN, CxImage::FormatFromName(c.name) }) {
            CxImage img;
            EXPECT_FALSE(img.LoadFile(file.fileName(), format));
            EXPECT_STREQ(img.LastErrorText(), c.error) << c.name << " as " << format;
        }
    }
}

namespace {

QByteArray jpegBytes(const QTemporaryDir& dir)
{
    CxImage img = patterned(40, 24);
    const QString path = dir.filePath("whole.jpg");
    EXPECT_TRUE(img.SaveFile(path, CXIMAGE_FORMAT_JPG));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

QString writeBytes(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

} // namespace

TEST(CxImage_Files, ABadPictureIsReportedByTheDecoderItsSignatureNames)
{
    QTemporaryDir dir;
    const QByteArray whole = jpegBytes(dir);
    QByteArray twelveBit = whole;
    const qsizetype sof = twelveBit.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    twelveBit[sof + 4] = char(12);
    QByteArray huge = whole;
    huge[sof + 5] = huge[sof + 7] = char(0xFD);
    huge[sof + 6] = huge[sof + 8] = char(0xE8);
    const struct
    {
        QByteArray bytes;
        const char* error;
    } cases[] = { { whole.left(whole.size() / 2), "Premature end of input file" },
        { twelveBit, "Unsupported JPEG data precision 12" },
        { huge, "CXIMAGE_MAX_MEMORY exceeded" } };
    for (const auto& c : cases) {
        const QString path = writeBytes(dir, "bad.jpg", c.bytes);
        // The program opens every picture asking for a bitmap first.
        for (uint32_t format : { CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_JPG, CXIMAGE_FORMAT_UNKNOWN }) {
            CxImage img;
            EXPECT_FALSE(img.LoadFile(path, format));
            EXPECT_STREQ(img.LastErrorText(), c.error) << format;
        }
    }

    // A damaged bitmap asked for as JPEG speaks as a bitmap.
    CxImage bmp = patterned(8, 8);
    ASSERT_TRUE(bmp.SaveFile(dir.filePath("whole.bmp"), CXIMAGE_FORMAT_BMP));
    QFile file(dir.filePath("whole.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString cut = writeBytes(dir, "cut.bmp", file.readAll().left(60));
    CxImage img;
    EXPECT_FALSE(img.LoadFile(cut, CXIMAGE_FORMAT_JPG));
    EXPECT_STREQ(img.LastErrorText(), "BMP file is truncated");
}

TEST(CxImage_Files, AnUnreadableFileGivesTheSystemsReason)
{
    QTemporaryDir dir;
    CxImage img;
    EXPECT_FALSE(img.LoadFile(dir.path(), CXIMAGE_FORMAT_BMP));
    EXPECT_STREQ(img.LastErrorText(), "Is a directory");
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: a file without read permission can still be read";
    const QString path = writeBytes(dir, "locked.bmp", QByteArray("BM"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    EXPECT_FALSE(img.LoadFile(path, CXIMAGE_FORMAT_BMP));
    EXPECT_STREQ(img.LastErrorText(), "Permission denied");
}

TEST(CxIOFile, ClosedObjectFails)
{
    CxIOFile file;
    char buf[4];
    EXPECT_EQ(file.Read(buf, 1, 4), 0u);
    EXPECT_EQ(file.Write(buf, 1, 4), 0u);
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_EQ(file.Size(), -1);
    EXPECT_EQ(file.Error(), -1);
    EXPECT_EQ(file.GetC(), -1);
    EXPECT_TRUE(file.Eof());
    EXPECT_FALSE(file.Seek(0, SEEK_SET));
    EXPECT_FALSE(file.PutC('a'));

    QTemporaryDir dir;
    ASSERT_TRUE(file.Open(dir.filePath("f"), "w+b"));
    EXPECT_TRUE(file.PutC('a'));
    EXPECT_EQ(file.Write("bcd", 1, 3), 3u);
    EXPECT_EQ(file.Size(), 4);
    EXPECT_EQ(file.Tell(), 4); // Size leaves the position where it was
    EXPECT_TRUE(file.Close());
}

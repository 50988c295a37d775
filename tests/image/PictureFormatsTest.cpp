#include "image/PictureScale.h"
#include "image/xImage.h"
#include "AllocationProbe.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <tiffio.h>

namespace {

const QString kData = QStringLiteral(KALVEX_TEST_DATA_DIR);

struct Bgr
{
    int b, g, r;
};

// The picture as 24-bit rows, converted once: a palette picture read pixel by pixel must not be
// widened again for every pixel.
CxImage trueColour(const CxImage& img)
{
    CxImage wide;
    EXPECT_TRUE(img.ToTrueColour(wide));
    return wide;
}

// Picture coordinates from the top left; rows are stored bottom-up. img holds 24-bit rows.
Bgr pixelAt(const CxImage& img, uint32_t x, uint32_t y)
{
    const uint8_t* s = img.RowBits(img.Height() - 1 - y) + 3 * x;
    return { s[0], s[1], s[2] };
}

bool near(Bgr a, Bgr b, int tolerance)
{
    return std::abs(a.b - b.b) <= tolerance && std::abs(a.g - b.g) <= tolerance
            && std::abs(a.r - b.r) <= tolerance;
}

// A colour picture with something different in every pixel.
CxImage pattern(uint32_t w, uint32_t h)
{
    CxImage img;
    img.Create(w, h, 24);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = img.RowBits(y) + 3 * x;
            p[0] = uint8_t(x * 7 + y);
            p[1] = uint8_t(y * 11);
            p[2] = uint8_t(255 - x * 3);
        }
    return img;
}

bool samePixels(const CxImage& a, const CxImage& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.Bpp() != b.Bpp())
        return false;
    for (uint32_t y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.RowBits(y), b.RowBits(y), size_t(a.Width()) * a.Bpp() / 8) != 0)
            return false;
    return true;
}

CPictureScale micrometres(double x, double y)
{
    CPictureScale s;
    s.unit = QStringLiteral("um");
    s.xPerPixel = x;
    s.yPerPixel = y;
    return s;
}

} // namespace

// Every picture of bmpsuite's good set loads and looks like the reference its page shows.
TEST(BmpSuite, GoodSetLoadsAsTheReferencesShow)
{
    QFile map(kData + "/bmpsuite/reference/map.txt");
    ASSERT_TRUE(map.open(QIODevice::ReadOnly | QIODevice::Text));
    int checked = 0;
    QTextStream lines(&map);
    while (!lines.atEnd()) {
        const QStringList parts = lines.readLine().split(' ', Qt::SkipEmptyParts);
        if (parts.size() != 2)
            continue;
        const std::string name = parts[0].toStdString();
        CxImage img;
        ASSERT_TRUE(img.LoadFile(kData + "/bmpsuite/good/" + parts[0]))
                << name << ": " << img.LastErrorText();
        ++checked;
        if (parts[1] == "-")
            continue;
        CxImage reference;
        ASSERT_TRUE(reference.LoadFile(kData + "/bmpsuite/reference/" + parts[1]))
                << parts[1].toStdString() << ": " << reference.LastErrorText();
        ASSERT_EQ(img.Width(), reference.Width()) << name;
        ASSERT_EQ(img.Height(), reference.Height()) << name;
        const CxImage wide = trueColour(img), wideReference = trueColour(reference);
        int worst = 0;
        for (uint32_t y = 0; y < img.Height(); ++y)
            for (uint32_t x = 0; x < img.Width(); ++x) {
                const Bgr a = pixelAt(wide, x, y), b = pixelAt(wideReference, x, y);
                worst = std::max(
                        { worst, std::abs(a.b - b.b), std::abs(a.g - b.g), std::abs(a.r - b.r) });
            }
        // Channels of fewer than 8 bits may be widened a step differently.
        EXPECT_LE(worst, 8) << name;
    }
    EXPECT_EQ(checked, QDir(kData + "/bmpsuite/good").entryList(QDir::Files).size());
}

TEST(BmpSuite, BadSetFailsWithATextAndNoPicture)
{
    const QDir dir(kData + "/bmpsuite/bad");
    const QStringList names = dir.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        CxImage img;
        EXPECT_FALSE(img.LoadFile(dir.filePath(name))) << name.toStdString();
        EXPECT_FALSE(img.HasPixels()) << name.toStdString();
        EXPECT_STRNE(img.LastErrorText(), "") << name.toStdString();
    }
}

// Pictures other programs write: ImageMagick's PNG and TIFF variants of one red-to-blue ramp.
TEST(OtherProgramsPictures, PngAndTiffVariantsLoad)
{
    struct Case
    {
        const char* name;
        bool colour;
        int tolerance;
    };
    const Case cases[] = {
        { "rgb16.png", true, 2 },
        { "rgba16.png", true, 2 }, // half transparent: over white
        { "interlaced.png", true, 2 },
        { "palette-trns.png", true, 40 }, // eight colours only
        { "gray-alpha.png", false, 0 },
        { "gray1.png", false, 0 },
        { "rgb16.tif", true, 2 },
        { "tiled.tif", true, 2 },
        { "palette.tif", true, 90 },
        { "cmyk.tif", true, 6 },
        { "gray8.tif", false, 0 },
        { "jpeg.tif", true, 12 },
    };
    for (const Case& c : cases) {
        CxImage img;
        ASSERT_TRUE(img.LoadFile(kData + "/formats/" + c.name))
                << c.name << ": " << img.LastErrorText();
        EXPECT_EQ(img.Width(), 32u) << c.name;
        EXPECT_EQ(img.Height(), 16u) << c.name;
        if (!c.colour)
            continue;
        const bool halfClear = std::strcmp(c.name, "rgba16.png") == 0;
        // The palette file made its top-left colour transparent.
        const bool clearTop = std::strcmp(c.name, "palette-trns.png") == 0;
        const Bgr top = halfClear ? Bgr { 127, 127, 255 }
                : clearTop        ? Bgr { 255, 255, 255 }
                                  : Bgr { 0, 0, 255 };
        const Bgr bottom = halfClear ? Bgr { 255, 127, 127 } : Bgr { 255, 0, 0 };
        const CxImage wide = trueColour(img);
        const Bgr t = pixelAt(wide, 5, 0), b = pixelAt(wide, 5, 15);
        EXPECT_TRUE(near(t, top, c.tolerance)) << c.name << " " << t.b << "," << t.g << "," << t.r;
        EXPECT_TRUE(near(b, bottom, c.tolerance))
                << c.name << " " << b.b << "," << b.g << "," << b.r;
    }
    // Grey files stay one channel deep when they can.
    CxImage grey;
    ASSERT_TRUE(grey.LoadFile(kData + "/formats/gray8.tif"));
    EXPECT_TRUE(grey.IsGrayScale());
}

TEST(PictureFiles, PngAndTiffRoundTripPixelsGreyAndResolution)
{
    QTemporaryDir dir;
    for (uint32_t format : { CXIMAGE_FORMAT_PNG, CXIMAGE_FORMAT_TIF }) {
        const QString name = dir.filePath(format == CXIMAGE_FORMAT_PNG ? "a.png" : "a.tif");
        CxImage img = pattern(33, 17); // odd sizes catch row padding mistakes
        img.SetXDpi(300);
        img.SetYDpi(150);
        ASSERT_TRUE(img.SaveFile(name, format)) << img.LastErrorText();
        CxImage back;
        ASSERT_TRUE(back.LoadFile(name)) << back.LastErrorText();
        EXPECT_EQ(back.Type(), format);
        EXPECT_TRUE(samePixels(img, back));
        EXPECT_EQ(back.XDpi(), 300);
        EXPECT_EQ(back.YDpi(), 150);
        EXPECT_FALSE(back.PictureScale().IsValid()); // a dpi is not a calibration

        CxImage grey;
        grey.Create(9, 5, 8);
        grey.SetGrayPalette();
        for (uint32_t y = 0; y < 5; ++y)
            for (uint32_t x = 0; x < 9; ++x)
                grey.RowBits(y)[x] = uint8_t(x * 25 + y);
        ASSERT_TRUE(grey.SaveFile(name, format));
        ASSERT_TRUE(back.LoadFile(name, format));
        EXPECT_TRUE(back.IsGrayScale());
        EXPECT_TRUE(samePixels(grey, back));
    }
}

TEST(PictureFiles, CalibrationTravelsThroughPngAndTiff)
{
    QTemporaryDir dir;
    const CPictureScale scales[] = { micrometres(0.25, 0.5), { QStringLiteral("mm"), 0.01, 0.01 },
        { QStringLiteral("cm"), 0.02, 0.02 }, { QStringLiteral("inch"), 1.0 / 300, 1.0 / 300 },
        { QStringLiteral("dm"), 0.001, 0.001 } };
    for (const CPictureScale& scale : scales) {
        for (uint32_t format : { CXIMAGE_FORMAT_PNG, CXIMAGE_FORMAT_TIF }) {
            const QString name = dir.filePath(format == CXIMAGE_FORMAT_PNG ? "c.png" : "c.tif");
            CxImage img = pattern(8, 8);
            img.SetPictureScale(scale);
            ASSERT_TRUE(img.SaveFile(name, format)) << img.LastErrorText();
            CxImage back;
            ASSERT_TRUE(back.LoadFile(name));
            const CPictureScale got = back.PictureScale();
            EXPECT_EQ(got.unit, scale.unit) << name.toStdString();
            // TIFF keeps pixels per unit as a 32-bit float.
            EXPECT_NEAR(got.xPerPixel / scale.xPerPixel, 1.0, 1e-6) << scale.unit.toStdString();
            EXPECT_NEAR(got.yPerPixel / scale.yPerPixel, 1.0, 1e-6) << scale.unit.toStdString();
        }
    }
}

// What ImageJ finds in our TIFF, read with libtiff itself: the resolution tags in pixels per
// unit and ImageJ's description naming the unit.
TEST(PictureFiles, TiffTagsAreImageJs)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("ij.tif");
    CxImage img = pattern(16, 12);
    img.SetPictureScale(micrometres(0.25, 0.25));
    ASSERT_TRUE(img.SaveFile(name, CXIMAGE_FORMAT_TIF));

    TIFF* tif = TIFFOpen(QFile::encodeName(name).constData(), "r");
    ASSERT_NE(tif, nullptr);
    float x = 0, y = 0;
    uint16_t unit = 0, photometric = 0, samples = 0, bits = 0;
    char* description = nullptr;
    EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x));
    EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y));
    EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &unit));
    EXPECT_TRUE(TIFFGetField(tif, TIFFTAG_IMAGEDESCRIPTION, &description));
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    EXPECT_FLOAT_EQ(x, 4.0f);
    EXPECT_FLOAT_EQ(y, 4.0f);
    EXPECT_EQ(unit, RESUNIT_NONE);
    EXPECT_STREQ(description, "ImageJ=1.11a\nunit=\\u00B5m\n");
    EXPECT_EQ(photometric, PHOTOMETRIC_RGB);
    EXPECT_EQ(samples, 3);
    EXPECT_EQ(bits, 8);
    std::vector<uint32_t> raster(16 * 12);
    ASSERT_TRUE(TIFFReadRGBAImageOriented(tif, 16, 12, raster.data(), ORIENTATION_TOPLEFT, 0));
    const uint32_t first = raster[0];
    EXPECT_EQ(TIFFGetR(first), 255u); // the top-left pixel of the pattern: x 0, top row
    EXPECT_EQ(TIFFGetB(first), 11u);
    TIFFClose(tif);
}

// Files ImageJ 1.53 itself wrote after "Set Scale": the same scale comes back in our units.
TEST(PictureFiles, ImageJCalibratedTiffsOpenCalibrated)
{
    struct Case
    {
        const char* file;
        const char* unit;
        double perPixel;
    };
    for (const Case& c : { Case { "imagej-um.tif", "um", 0.25 },
                 Case { "imagej-mm.tif", "mm", 0.01 }, Case { "imagej-cm.tif", "cm", 0.02 },
                 Case { "imagej-inch.tif", "inch", 1.0 / 300 } }) {
        CxImage img;
        ASSERT_TRUE(img.LoadFile(kData + "/formats/" + c.file)) << img.LastErrorText();
        EXPECT_EQ(img.PictureScale().unit.toStdString(), c.unit) << c.file;
        EXPECT_NEAR(img.PictureScale().xPerPixel, c.perPixel, c.perPixel * 1e-6) << c.file;
        EXPECT_NEAR(img.PictureScale().yPerPixel, c.perPixel, c.perPixel * 1e-6) << c.file;
    }
}

TEST(PictureScale, UnitWordsOfOtherProgramsAndBadDescriptions)
{
    QString unit;
    double factor = 0;
    ASSERT_TRUE(CPictureScale::NormaliseUnit(QStringLiteral("nm"), unit, factor));
    EXPECT_EQ(unit, "um");
    EXPECT_DOUBLE_EQ(factor, 0.001);
    ASSERT_TRUE(CPictureScale::NormaliseUnit(QString::fromUtf8("µm"), unit, factor));
    EXPECT_EQ(unit, "um");
    ASSERT_TRUE(CPictureScale::NormaliseUnit(QStringLiteral("m"), unit, factor));
    EXPECT_EQ(unit, "mm");
    EXPECT_DOUBLE_EQ(factor, 1000.0);
    EXPECT_FALSE(CPictureScale::NormaliseUnit(QStringLiteral("pixel"), unit, factor));

    // nm per pixel in the file: the scale comes in micrometres.
    const CPictureScale nm = CPictureScale::FromImageJ("ImageJ=1.53t\nunit=nm\n", 0.5, 0.5);
    EXPECT_EQ(nm.unit, "um");
    EXPECT_DOUBLE_EQ(nm.xPerPixel, 0.002);
    EXPECT_FALSE(CPictureScale::FromImageJ("ImageJ=1.53t\nunit=pixel\n", 1, 1).IsValid());
    EXPECT_FALSE(CPictureScale::FromImageJ("Made by a scanner", 300, 300).IsValid());
    EXPECT_FALSE(CPictureScale::FromImageJ("ImageJ=1.53t\nunit=mm\n", 0, 0).IsValid());
    EXPECT_FALSE(CPictureScale::FromPngText("unit=um\npixel_width=-1\n").IsValid());
    EXPECT_FALSE(CPictureScale::FromPngText("unit=um\npixel_width=nan\n").IsValid());
    EXPECT_FALSE(micrometres(INFINITY, 1).IsValid());
    EXPECT_EQ(micrometres(0, 0).ImageJDescription(), QByteArray());
}

TEST(PictureFiles, DamagedPngAndTiffFailCleanly)
{
    QTemporaryDir dir;
    for (uint32_t format : { CXIMAGE_FORMAT_PNG, CXIMAGE_FORMAT_TIF }) {
        const QString name = dir.filePath(format == CXIMAGE_FORMAT_PNG ? "d.png" : "d.tif");
        CxImage img = pattern(40, 30);
        ASSERT_TRUE(img.SaveFile(name, format));
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray whole = f.readAll();
        f.close();
        for (qsizetype keep : { qsizetype(8), whole.size() / 2, whole.size() - 20 }) {
            QFile cut(name);
            ASSERT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
            cut.write(whole.left(keep));
            cut.close();
            CxImage back;
            EXPECT_FALSE(back.LoadFile(name, format)) << keep;
            EXPECT_FALSE(back.HasPixels());
            EXPECT_STRNE(back.LastErrorText(), "");
        }
    }
}

namespace {

QByteArray be32(uint32_t v)
{
    const char b[4] = { char(v >> 24), char(v >> 16), char(v >> 8), char(v) };
    return QByteArray(b, 4);
}

// A PNG chunk with its CRC; declared is the length field when it is to lie.
QByteArray pngChunk(const char* type, const QByteArray& data, int64_t declared = -1)
{
    const QByteArray body = QByteArray(type, 4) + data;
    uint32_t crc = 0xFFFFFFFFu;
    for (const char c : body) {
        crc ^= uint8_t(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return be32(uint32_t(declared < 0 ? data.size() : declared)) + body + be32(~crc);
}

QByteArray readAll(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

// What a PNG declares costs memory only once its bytes are there: oversized ancillary chunks
// are skipped unread and a picture larger than its data can inflate to is refused unallocated.
TEST(PictureFiles, PngDeclaredSizesDoNotBecomeAllocations)
{
    if (!CAllocationProbe::Available())
        GTEST_SKIP() << "sanitizer build: allocations are not watched";
    const QDir regress(kData + QStringLiteral("/fuzz-regress"));
    for (const QString& name : regress.entryList({ QStringLiteral("png-*.png") })) {
        CAllocationProbe probe;
        CxImage img;
        EXPECT_FALSE(img.LoadFile(regress.filePath(name)));
        EXPECT_LT(probe.Largest(), size_t(1) << 20) << name.toStdString();
    }

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("big-text.png"));
    CxImage img = pattern(40, 30);
    img.SetPictureScale(micrometres(0.25, 0.5));
    ASSERT_TRUE(img.SaveFile(name, CXIMAGE_FORMAT_PNG));
    QByteArray png = readAll(name);
    // Another program's 3 MB comment and its own calibration text, both after the pixels.
    const QByteArray comment = "Comment" + QByteArray(1, 0) + QByteArray(3 << 20, 'x');
    const QByteArray calibration =
            "Calibration" + QByteArray(1, 0) + micrometres(0.125, 0.125).PngText();
    png.insert(png.size() - 12, pngChunk("tEXt", comment) + pngChunk("tEXt", calibration));
    ASSERT_TRUE(writeAll(name, png));
    {
        CAllocationProbe probe;
        CxImage back;
        ASSERT_TRUE(back.LoadFile(name)) << back.LastErrorText();
        EXPECT_TRUE(samePixels(back, img));
        EXPECT_EQ(back.PictureScale(), micrometres(0.125, 0.125)) << "the last calibration counts";
        EXPECT_LT(probe.Largest(), size_t(1) << 20);
    }

    // 9000 x 9000 colour pixels (243 MB) from a few bytes of picture data.
    const QByteArray header = be32(9000) + be32(9000) + QByteArray("\x08\x02\0\0\0", 5);
    const QByteArray idat = QByteArray::fromHex("789c636060000000040001");
    ASSERT_TRUE(writeAll(name,
            QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", idat)
                    + pngChunk("IEND", {})));
    CAllocationProbe probe;
    CxImage back;
    EXPECT_FALSE(back.LoadFile(name));
    EXPECT_STREQ(back.LastErrorText(), "PNG: file is too short for its picture size");
    EXPECT_LT(probe.Largest(), size_t(1) << 20);

    // The same in a TIFF: an uncompressed 9000 x 9000 strip of 100 bytes.
    CAllocationProbe tiffProbe;
    CxImage tiff;
    EXPECT_FALSE(tiff.LoadFile(regress.filePath("tiff-declares-9000x9000-in-400-bytes.tif")));
    EXPECT_STREQ(tiff.LastErrorText(), "TIFF: file is too short for its picture size");
    EXPECT_LT(tiffProbe.Largest(), size_t(1) << 20);
}

TEST(PictureFiles, FullDiskKeepsTheOldFile)
{
    QTemporaryDir dir;
    for (uint32_t format : { CXIMAGE_FORMAT_PNG, CXIMAGE_FORMAT_TIF }) {
        const QString name = dir.filePath(format == CXIMAGE_FORMAT_PNG ? "f.png" : "f.tif");
        CxImage small = pattern(4, 4);
        ASSERT_TRUE(small.SaveFile(name, format));
        const qint64 before = QFileInfo(name).size();
        CxImage big = pattern(600, 600);
        {
            CFileSizeLimit limit(4096);
            ASSERT_TRUE(limit.Active());
            EXPECT_FALSE(big.SaveFile(name, format));
        }
        EXPECT_STRNE(big.LastErrorText(), "");
        EXPECT_EQ(QFileInfo(name).size(), before);
        CxImage back;
        EXPECT_TRUE(back.LoadFile(name));
    }
}

TEST(PictureFiles, FormatsByNameAndSignature)
{
    EXPECT_EQ(CxImage::FormatFromName("a/B.TIFF"), CXIMAGE_FORMAT_TIF);
    EXPECT_EQ(CxImage::FormatFromName("x.tif"), CXIMAGE_FORMAT_TIF);
    EXPECT_EQ(CxImage::FormatFromName("x.Png"), CXIMAGE_FORMAT_PNG);
    EXPECT_EQ(CxImage::FormatFromName("x.jpeg"), CXIMAGE_FORMAT_JPG);
    EXPECT_EQ(CxImage::FormatFromName("x.bmp"), CXIMAGE_FORMAT_BMP);
    EXPECT_EQ(CxImage::FormatFromName("x.gif"), CXIMAGE_FORMAT_UNKNOWN);
    // A PNG named .jpg still opens, by its first bytes.
    QTemporaryDir dir;
    CxImage img = pattern(5, 5);
    ASSERT_TRUE(img.SaveFile(dir.filePath("wrong.jpg"), CXIMAGE_FORMAT_PNG));
    CxImage back;
    ASSERT_TRUE(back.LoadFile(dir.filePath("wrong.jpg"), CXIMAGE_FORMAT_JPG));
    EXPECT_EQ(back.Type(), CXIMAGE_FORMAT_PNG);
    // Thumbnails load the new formats too.
    ASSERT_TRUE(back.LoadFileScaled(dir.filePath("wrong.jpg"), 2, 2));
    EXPECT_EQ(back.Width(), 5u);
}

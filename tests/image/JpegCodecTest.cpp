#include "image/xImage.h"

#include "AllocationProbe.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

// What the file header says, read with libjpeg itself.
struct JpegFacts
{
    int hSamp[3] = {}, vSamp[3] = {};
    int densityUnit = -1, xDensity = 0, yDensity = 0;
    unsigned quant[DCTSIZE2] = {};
};

JpegFacts inspect(const QString& name)
{
    JpegFacts facts;
    FILE* f = std::fopen(QFile::encodeName(name).constData(), "rb");
    if (!f)
        return facts;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    for (int i = 0; i < cinfo.num_components && i < 3; ++i) {
        facts.hSamp[i] = cinfo.comp_info[i].h_samp_factor;
        facts.vSamp[i] = cinfo.comp_info[i].v_samp_factor;
    }
    facts.densityUnit = cinfo.density_unit;
    facts.xDensity = cinfo.X_density;
    facts.yDensity = cinfo.Y_density;
    for (int i = 0; i < DCTSIZE2; ++i)
        facts.quant[i] = cinfo.quant_tbl_ptrs[0]->quantval[i];
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    return facts;
}

// The luminance table libjpeg makes for a quality, in the order a decoder reports it.
std::vector<unsigned> lumaTable(int quality)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, FALSE);
    std::vector<unsigned> t(
            cinfo.quant_tbl_ptrs[0]->quantval, cinfo.quant_tbl_ptrs[0]->quantval + DCTSIZE2);
    jpeg_destroy_compress(&cinfo);
    return t;
}

// Writes a JPEG straight through libjpeg, for inputs the container never writes itself.
void writeJpeg(const QString& name, int w, int h, int components, J_COLOR_SPACE space,
        const std::vector<uint8_t>& pixels, int unit = 1, int xd = 72, int yd = 72,
        const std::vector<uint8_t>& app1 = {})
{
    FILE* f = std::fopen(QFile::encodeName(name).constData(), "wb");
    ASSERT_NE(f, nullptr);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    cinfo.density_unit = UINT8(unit);
    cinfo.X_density = UINT16(xd);
    cinfo.Y_density = UINT16(yd);
    jpeg_start_compress(&cinfo, TRUE);
    if (!app1.empty())
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, app1.data(), unsigned(app1.size()));
    for (int y = 0; y < h; ++y) {
        JSAMPROW row = const_cast<JSAMPROW>(&pixels[size_t(y) * w * components]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
}

// A picture with a red top half and a blue bottom half, the two sides told apart by green.
CxImage halves(uint32_t w, uint32_t h)
{
    CxImage img;
    img.Create(w, h, 24);
    for (uint32_t y = 0; y < h; ++y) {
        const bool top = y >= h / 2; // stored rows count from the bottom
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = img.RowBits(y) + 3 * x;
            p[0] = top ? 0 : 220;
            p[1] = x < w / 2 ? 0 : 120;
            p[2] = top ? 220 : 0;
        }
    }
    return img;
}

QByteArray readAll(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(JpegCodec, SnapshotAndDefaultQuality)
{
    QTemporaryDir dir;
    CxImage img = halves(64, 48);
    const QString fresh = dir.filePath("fresh.jpg");
    ASSERT_TRUE(img.SaveFile(fresh, CXIMAGE_FORMAT_JPG));
    const std::vector<unsigned> q90 = lumaTable(90);
    EXPECT_TRUE(std::equal(q90.begin(), q90.end(), inspect(fresh).quant));

    img.SetJpegQualityLevel(100);
    const QString snap = dir.filePath("snap.jpg");
    ASSERT_TRUE(img.SaveFile(snap, CXIMAGE_FORMAT_JPG));
    const JpegFacts facts = inspect(snap);
    for (unsigned q : facts.quant)
        EXPECT_EQ(q, 1u);
    EXPECT_EQ(facts.densityUnit, 1);
    EXPECT_EQ(facts.xDensity, 96);
    EXPECT_EQ(facts.yDensity, 96);
    EXPECT_EQ(facts.hSamp[0], 2);
    EXPECT_EQ(facts.vSamp[0], 2);
    EXPECT_EQ(facts.hSamp[1], 1);
    EXPECT_EQ(facts.vSamp[2], 1);
}

TEST(JpegCodec, RoundTripKeepsOrientationAtOddWidths)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("rt.jpg");
    for (uint32_t w : { 1u, 3u, 17u, 641u }) {
        CxImage img = halves(w, 32);
        img.SetJpegQualityLevel(100);
        ASSERT_TRUE(img.SaveFile(name, CXIMAGE_FORMAT_JPG));
        CxImage back;
        // Format 0: the BMP decoder rejects the file first.
        ASSERT_TRUE(back.LoadFile(name, CXIMAGE_FORMAT_UNKNOWN)) << w;
        EXPECT_EQ(back.Type(), CXIMAGE_FORMAT_JPG);
        ASSERT_EQ(back.Width(), w);
        ASSERT_EQ(back.Height(), 32u);
        EXPECT_EQ(back.XDpi(), 96);
        for (uint32_t y : { 2u, 29u }) {
            for (uint32_t x : { 0u, w - 1 }) {
                const uint8_t *a = img.RowBits(y) + 3 * x, *b = back.RowBits(y) + 3 * x;
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(a[c], b[c], 40) << w << " " << y << " " << x << " " << c;
            }
        }
    }
}

TEST(JpegCodec, GreyCmykAndRefusal)
{
    QTemporaryDir dir;
    CxImage grey;
    grey.Create(9, 5, 8);
    grey.SetGrayPalette();
    for (uint32_t y = 0; y < 5; ++y)
        std::memset(grey.RowBits(y), int(40 * y), grey.Stride());
    const QString name = dir.filePath("g.jpg");
    ASSERT_TRUE(grey.SaveFile(name, CXIMAGE_FORMAT_JPG));
    CxImage back(name, CXIMAGE_FORMAT_JPG);
    ASSERT_EQ(back.Bpp(), 8);
    EXPECT_TRUE(back.IsGrayScale());
    EXPECT_NEAR(back.RowBits(4)[0], 160, 3);

    grey.SetPaletteColor(3, 255, 0, 0);
    EXPECT_FALSE(grey.SaveFile(name, CXIMAGE_FORMAT_JPG));
    EXPECT_STREQ(grey.LastErrorText(), "JPEG can save only RGB or GreyScale images");

    // CMYK: each of the first three channels times K / 255.
    std::vector<uint8_t> cmyk;
    for (int i = 0; i < 16 * 16; ++i)
        cmyk.insert(cmyk.end(), { 200, 100, 50, 128 });
    writeJpeg(name, 16, 16, 4, JCS_CMYK, cmyk);
    ASSERT_TRUE(back.LoadFile(name, CXIMAGE_FORMAT_JPG));
    ASSERT_EQ(back.Bpp(), 24);
    const uint8_t* p = back.RowBits(8) + 24;
    EXPECT_NEAR(p[2], 200 * 128 / 255, 2);
    EXPECT_NEAR(p[1], 100 * 128 / 255, 2);
    EXPECT_NEAR(p[0], 50 * 128 / 255, 2);
}

TEST(JpegCodec, ResolutionFromJfifAndExif)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("r.jpg");
    const std::vector<uint8_t> grey(8 * 8, 128);
    CxImage img;
    writeJpeg(name, 8, 8, 1, JCS_GRAYSCALE, grey, 2, 118, 59);
    ASSERT_TRUE(img.LoadFile(name, 0));
    EXPECT_EQ(img.XDpi(), 300);
    EXPECT_EQ(img.YDpi(), 150);
    writeJpeg(name, 8, 8, 1, JCS_GRAYSCALE, grey, 0, 1, 2);
    ASSERT_TRUE(img.LoadFile(name, 0));
    EXPECT_EQ(img.XDpi(), 96);
    EXPECT_EQ(img.YDpi(), 192);

    // Big-endian EXIF: XResolution 300/1, YResolution 600/2, unit inch; it wins over JFIF.
    const std::vector<uint8_t> exif = { 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0,
        3, //
        0x01, 0x1A, 0, 5, 0, 0, 0, 1, 0, 0, 0, 50, //
        0x01, 0x1B, 0, 5, 0, 0, 0, 1, 0, 0, 0, 58, //
        0x01, 0x28, 0, 3, 0, 0, 0, 1, 0, 2, 0, 0, //
        0, 0, 0, 0, //
        0, 0, 1, 44, 0, 0, 0, 1, 0, 0, 2, 88, 0, 0, 0, 2 };
    writeJpeg(name, 8, 8, 1, JCS_GRAYSCALE, grey, 1, 72, 72, exif);
    ASSERT_TRUE(img.LoadFile(name, 0));
    EXPECT_EQ(img.XDpi(), 300);
    EXPECT_EQ(img.YDpi(), 300);
}

TEST(JpegCodec, ScaledDecodeForThumbnails)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("big.jpg");
    CxImage img = halves(2592, 1944);
    ASSERT_TRUE(img.SaveFile(name, CXIMAGE_FORMAT_JPG));
    CxImage small;
    ASSERT_TRUE(small.LoadFileScaled(name, 160, 120));
    EXPECT_EQ(small.Width(), 324u);
    EXPECT_EQ(small.Height(), 243u);
    EXPECT_NEAR(small.RowBits(200)[2], 220, 30); // still red on top
    ASSERT_TRUE(small.LoadFileScaled(name, 1000, 900));
    EXPECT_EQ(small.Width(), 1296u);
}

TEST(JpegCodec, DamagedFilesFailCleanly)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("d.jpg");
    CxImage img = halves(40, 24);
    ASSERT_TRUE(img.SaveFile(name, CXIMAGE_FORMAT_JPG));
    const QByteArray whole = readAll(name);
    const QString cut = dir.filePath("cut.jpg");
    CxImage back;
    for (qsizetype n = 0; n < whole.size(); ++n) {
        writeAll(cut, whole.left(n));
        EXPECT_FALSE(back.LoadFile(cut, CXIMAGE_FORMAT_JPG)) << n;
        EXPECT_FALSE(back.HasPixels());
        EXPECT_FALSE(back.LastError().isEmpty());
    }

    // Huffman table whose code counts add up to more than 256 symbols.
    QByteArray bad = whole;
    const qsizetype dht = bad.indexOf("\xFF\xC4");
    ASSERT_GT(dht, 0);
    for (int i = 0; i < 16; ++i)
        bad[dht + 5 + i] = char(0x40);
    writeAll(cut, bad);
    EXPECT_FALSE(back.LoadFile(cut, CXIMAGE_FORMAT_JPG));
    EXPECT_FALSE(back.HasPixels());
    EXPECT_STREQ(back.LastErrorText(), "Bogus Huffman table definition");

    // A frame header claiming 65000 x 65000 pixels.
    bad = whole;
    const qsizetype sof = bad.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    bad[sof + 5] = bad[sof + 7] = char(0xFD);
    bad[sof + 6] = bad[sof + 8] = char(0xE8);
    writeAll(cut, bad);
    EXPECT_FALSE(back.LoadFile(cut, CXIMAGE_FORMAT_JPG));
    EXPECT_STREQ(back.LastErrorText(), "CXIMAGE_MAX_MEMORY exceeded");
}

// A camera held on its side: the EXIF orientation turns the picture upright on load, for the
// whole picture and for the thumbnail alike.
TEST(JpegCodec, ExifOrientationStandsThePictureUpright)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("o.jpg");
    // 32 x 16 as stored: four quadrants, top left red, top right green, bottom left blue,
    // bottom right white (RGB order, as libjpeg takes it).
    const int w = 32, h = 16;
    std::vector<uint8_t> rgb(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &rgb[(size_t(y) * w + x) * 3];
            const bool right = x >= w / 2, bottom = y >= h / 2;
            p[0] = uint8_t(!bottom && !right ? 255 : bottom && right ? 255 : 0);
            p[1] = uint8_t(!bottom && right ? 255 : bottom && right ? 255 : 0);
            p[2] = uint8_t(bottom ? 255 : 0);
        }
    enum Corner { TL, TR, BL, BR };
    // Where the stored top-left (red) and top-right (green) corners show after turning.
    const Corner red[9] = { TL, TL, TR, BR, BL, TL, TR, BR, BL };
    const Corner green[9] = { TR, TR, TL, BL, BR, BL, BR, TR, TL };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::vector<uint8_t> exif = { 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0,
            1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, uint8_t(orientation), 0, 0, 0, 0, 0, 0, 0 };
        writeJpeg(name, w, h, 3, JCS_RGB, rgb, 1, 72, 72, exif);
        for (bool thumbnail : { false, true }) {
            CxImage img;
            ASSERT_TRUE(thumbnail ? img.LoadFileScaled(name, 4, 4) : img.LoadFile(name, 0));
            const bool turned = orientation >= 5;
            const uint32_t iw = img.Width(), ih = img.Height();
            EXPECT_EQ(iw > ih, !turned) << orientation;
            auto at = [&](Corner c) {
                const uint32_t x = (c == TR || c == BR) ? iw - 1 : 0;
                const uint32_t y = (c == BL || c == BR) ? 0 : ih - 1; // stored rows bottom-up
                const uint8_t* p = img.RowBits(y) + 3 * x;
                return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
            };
            auto isRed = [](uint32_t c) { return (c >> 16) > 200 && ((c >> 8) & 0xFF) < 60; };
            auto isGreen = [](uint32_t c) { return (c >> 16) < 60 && ((c >> 8) & 0xFF) > 200; };
            EXPECT_TRUE(isRed(at(red[orientation]))) << orientation << " " << thumbnail;
            EXPECT_TRUE(isGreen(at(green[orientation]))) << orientation << " " << thumbnail;
        }
    }
}

// "Full colour" keeps the colour at every pixel; the default halves it both ways.
TEST(JpegCodec, FullColourSamplingKeepsFineColourDetail)
{
    QTemporaryDir dir;
    CxImage stripes;
    stripes.Create(64, 64, 24);
    for (uint32_t y = 0; y < 64; ++y)
        for (uint32_t x = 0; x < 64; ++x) {
            uint8_t* p = stripes.RowBits(y) + 3 * x;
            const bool red = x % 2 == 0; // one-pixel red and blue columns
            p[0] = red ? 0 : 255;
            p[1] = 0;
            p[2] = red ? 255 : 0;
        }
    stripes.SetJpegQualityLevel(95);
    double error[2] = {};
    for (bool full : { false, true }) {
        const QString name = dir.filePath(full ? "full.jpg" : "half.jpg");
        stripes.SetJpegFullColour(full);
        ASSERT_TRUE(stripes.SaveFile(name, CXIMAGE_FORMAT_JPG));
        const JpegFacts facts = inspect(name);
        EXPECT_EQ(facts.hSamp[0], full ? 1 : 2);
        EXPECT_EQ(facts.vSamp[0], full ? 1 : 2);
        CxImage back;
        ASSERT_TRUE(back.LoadFile(name, 0));
        for (uint32_t y = 0; y < 64; ++y)
            for (uint32_t i = 0; i < 64 * 3; ++i)
                error[full] += std::abs(int(back.RowBits(y)[i]) - int(stripes.RowBits(y)[i]));
    }
    EXPECT_LT(error[1] * 4, error[0]);
}

// A progressive header declaring 9000 x 9000 over 700 bytes of data: refused before libjpeg
// holds 486 MB of coefficients for it (or the picture 243 MB of grey).
TEST(JpegCodec, ProgressiveHeaderLargerThanItsDataIsRefusedUnallocated)
{
    if (!CAllocationProbe::Available())
        GTEST_SKIP() << "sanitizer build: allocations are not watched";
    CAllocationProbe probe;
    CxImage img;
    EXPECT_FALSE(img.LoadFile(QStringLiteral(
            KALVEX_TEST_DATA_DIR "/fuzz-regress/jpeg-progressive-declares-9000x9000.jpg")));
    EXPECT_STREQ(img.LastErrorText(), "JPEG: file is too short for its picture size");
    EXPECT_LT(probe.Largest(), size_t(1) << 20);
}

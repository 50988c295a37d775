#include "image/xIOFile.h"
#include "image/xImage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void put32(Bytes& b, uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// Hand-built BMP files: header fields as given, then palette or masks, then the pixel bytes.
struct BmpLayout
{
    int32_t width = 0, height = 0;
    uint16_t bpp = 24;
    uint32_t compression = 0;
    Bytes palette; // 4 bytes per entry (3 for the core header)
    Bytes masks;
    Bytes pixels;
    uint32_t colorsUsed = 0;
    int32_t ppm = 3780;
    bool core = false;
    bool fileHeader = true;
    uint32_t headerSize = 40; // 108 (V4) and 124 (V5) carry the four masks below
    uint32_t headerMasks[4] = {};
};

Bytes makeBmp(const BmpLayout& s)
{
    Bytes info;
    if (s.core) {
        put32(info, 12);
        put16(info, uint32_t(s.width));
        put16(info, uint32_t(s.height));
        put16(info, 1);
        put16(info, s.bpp);
    } else {
        put32(info, s.headerSize);
        put32(info, uint32_t(s.width));
        put32(info, uint32_t(s.height));
        put16(info, 1);
        put16(info, s.bpp);
        put32(info, s.compression);
        put32(info, uint32_t(s.pixels.size()));
        put32(info, uint32_t(s.ppm));
        put32(info, uint32_t(s.ppm));
        put32(info, s.colorsUsed ? s.colorsUsed : uint32_t(s.palette.size() / 4));
        put32(info, 0);
        if (s.headerSize > 40) {
            for (uint32_t mask : s.headerMasks)
                put32(info, mask);
            info.resize(s.headerSize, 0); // colour space, end points, gamma, intent, profile
        }
    }
    info.insert(info.end(), s.masks.begin(), s.masks.end());
    info.insert(info.end(), s.palette.begin(), s.palette.end());
    Bytes out;
    if (s.fileHeader) {
        out = { 'B', 'M' };
        put32(out, uint32_t(14 + info.size() + s.pixels.size()));
        put32(out, 0);
        put32(out, uint32_t(14 + info.size()));
    }
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    return out;
}

class BmpFiles : public testing::Test
{
protected:
    QString write(const Bytes& bytes, const QString& name = "t.bmp")
    {
        QFile f(m_dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        return f.fileName();
    }
    bool load(const Bytes& bytes) { return m_img.LoadFile(write(bytes), CXIMAGE_FORMAT_BMP); }
    // Blue, green, red of picture pixel (x, rowFromTop) after conversion to 24-bit, or the
    // palette entry it refers to.
    uint32_t pixel(uint32_t x, uint32_t rowFromTop)
    {
        const uint8_t* row = m_img.RowBits(m_img.Height() - 1 - rowFromTop);
        const uint8_t* p;
        if (m_img.Bpp() == 24) {
            p = row + 3 * x;
        } else {
            uint32_t index;
            if (m_img.Bpp() == 4)
                index = (x & 1) ? (row[x / 2] & 15) : (row[x / 2] >> 4);
            else if (m_img.Bpp() == 1)
                index = (row[x / 8] >> (7 - x % 8)) & 1;
            else
                index = row[x];
            p = m_img.Palette() + 4 * index;
        }
        return (p[2] << 16) | (p[1] << 8) | p[0];
    }
    void expectRejected(const Bytes& bytes, const char* text)
    {
        EXPECT_FALSE(load(bytes));
        EXPECT_FALSE(m_img.HasPixels());
        EXPECT_STREQ(m_img.LastErrorText(), text);
    }

    QTemporaryDir m_dir;
    CxImage m_img;
};

Bytes greyPalette(int n)
{
    Bytes p;
    for (int i = 0; i < n; ++i)
        p.insert(p.end(), { uint8_t(i * 16), uint8_t(i * 16), uint8_t(i * 16), 0 });
    return p;
}

} // namespace

TEST_F(BmpFiles, SnapshotSizeAndOffset)
{
    CxImage img;
    img.Create(641, 480, 24);
    const QString name = m_dir.filePath("snap.bmp");
    ASSERT_TRUE(img.SaveFile(name, CXIMAGE_FORMAT_BMP));
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 54 + 1924 * 480);
    EXPECT_EQ(bytes.left(2), "BM");
    uint32_t size, offset;
    std::memcpy(&size, bytes.data() + 2, 4);
    std::memcpy(&offset, bytes.data() + 10, 4);
    EXPECT_EQ(size, 54u + 1924 * 480);
    EXPECT_EQ(offset, 54u);
    EXPECT_EQ(std::memcmp(bytes.data() + 14, img.Dib(), img.DibSize()), 0);
}

TEST_F(BmpFiles, RoundTripsAtOddWidths)
{
    for (uint32_t w : { 1u, 3u, 5u, 641u }) {
        for (uint32_t bpp : { 24u, 8u, 4u, 1u }) {
            CxImage img;
            img.Create(w, 3, bpp);
            img.SetXDpi(300);
            if (bpp <= 8)
                img.SetGrayPalette();
            for (uint32_t y = 0; y < 3; ++y)
                for (uint32_t i = 0; i < img.Stride(); ++i)
                    img.RowBits(y)[i] = uint8_t(i * 31 + y);
            const QString name = m_dir.filePath("rt.bmp");
            ASSERT_TRUE(img.SaveFile(name, CXIMAGE_FORMAT_BMP));
            ASSERT_TRUE(m_img.LoadFile(name, CXIMAGE_FORMAT_UNKNOWN)) << w << " " << bpp;
            EXPECT_EQ(m_img.Type(), CXIMAGE_FORMAT_BMP);
            EXPECT_EQ(m_img.XDpi(), 300);
            ASSERT_EQ(m_img.DibSize(), img.DibSize());
            EXPECT_EQ(std::memcmp(m_img.Dib(), img.Dib(), img.DibSize()), 0) << w << " " << bpp;
        }
    }
}

TEST_F(BmpFiles, PaletteDepthsAndHeaders)
{
    // 8-bit with a 2-entry palette: index 7 lies past it, so the file is refused.
    BmpLayout s;
    s.width = 3, s.height = 2, s.bpp = 8, s.colorsUsed = 2;
    s.palette = { 1, 2, 3, 0, 4, 5, 6, 0 };
    s.pixels = { 0, 1, 7, 0, 1, 0, 0, 0 };
    s.ppm = 11811;
    expectRejected(makeBmp(s), "BMP pixels use colours the palette does not have");
    s.pixels = { 0, 1, 1, 0, 1, 0, 0, 0 };
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(m_img.Bpp(), 8);
    EXPECT_EQ(pixel(0, 1), 0x030201u);
    EXPECT_EQ(pixel(1, 1), 0x060504u);
    EXPECT_EQ(pixel(0, 0), 0x060504u);
    EXPECT_EQ(m_img.XDpi(), 300);

    // 4-bit, top-down, no file header.
    s = {};
    s.width = 3, s.height = -2, s.bpp = 4, s.fileHeader = false;
    s.palette = greyPalette(16);
    s.pixels = { 0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0 };
    ASSERT_TRUE(m_img.LoadFile(write(makeBmp(s)), 0));
    EXPECT_EQ(m_img.Height(), 2u);
    EXPECT_EQ(pixel(0, 0), 0x101010u);
    EXPECT_EQ(pixel(2, 1), 0x606060u);

    // 1-bit with the 12-byte core header and 3-byte palette entries.
    s = {};
    s.width = 9, s.height = 1, s.bpp = 1, s.core = true;
    s.palette = { 0, 0, 0, 255, 255, 255 };
    s.pixels = { 0xA0, 0x80, 0, 0 };
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(pixel(1, 0), 0u);
    EXPECT_EQ(pixel(8, 0), 0xFFFFFFu);

    // A bare 24-bit DIB may still carry a colour table; its rows come after it.
    s = {};
    s.width = 1, s.height = 1, s.bpp = 24, s.fileHeader = false, s.colorsUsed = 2;
    s.palette = Bytes(8, 0xEE);
    s.pixels = { 1, 2, 3, 0 };
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(0, 0), 0x030201u);
}

TEST_F(BmpFiles, RunLengthEncoded)
{
    BmpLayout s;
    s.width = 7, s.height = 3, s.bpp = 8, s.compression = 1;
    s.palette = greyPalette(16);
    // Bottom row: run of 4 x index 1, literal 2, 3, 9, end of line; a delta over the middle
    // row to x = 2 of the top row, a run of 2 x index 5, end of bitmap.
    s.pixels = { 4, 1, 0, 3, 2, 3, 9, 0, 0, 0, 0, 2, 2, 1, 2, 5, 0, 1 };
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(0, 2), 0x101010u);
    EXPECT_EQ(pixel(4, 2), 0x202020u);
    EXPECT_EQ(pixel(6, 2), 0x909090u);
    EXPECT_EQ(pixel(0, 1), 0u); // the second row is all skipped
    EXPECT_EQ(pixel(2, 0), 0x505050u);
    EXPECT_EQ(pixel(3, 0), 0x505050u);

    s.bpp = 4, s.compression = 2, s.width = 6, s.height = 1;
    s.pixels = { 3, 0x12, 0, 3, 0x45, 0x60, 0, 1 };
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(0, 0), 0x101010u);
    EXPECT_EQ(pixel(1, 0), 0x202020u);
    EXPECT_EQ(pixel(2, 0), 0x101010u);
    EXPECT_EQ(pixel(3, 0), 0x404040u);
    EXPECT_EQ(pixel(5, 0), 0x606060u);
}

TEST_F(BmpFiles, SixteenAndThirtyTwoBitBecome24)
{
    BmpLayout s;
    s.width = 2, s.height = 1, s.bpp = 16;
    s.pixels = { 0x00, 0x7C, 0x1F, 0x00 }; // 5-5-5: pure red, pure blue
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(m_img.Bpp(), 24);
    EXPECT_EQ(pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(pixel(1, 0), 0x0000FFu);

    s.compression = 3; // 5-6-5 bit fields: pure green
    s.masks = { 0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0 };
    s.pixels = { 0xE0, 0x07, 0x00, 0x00 };
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(0, 0), 0x00FF00u);

    s = {};
    s.width = 1, s.height = 1, s.bpp = 32;
    s.pixels = { 1, 2, 3, 4 };
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(0, 0), 0x030201u);
    s.compression = 3; // R in the low byte
    s.masks = { 0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0 };
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(0, 0), 0x010203u);
}

// What GIMP and ImageMagick write by default: V4/V5 headers, masks in the header, alpha.
TEST_F(BmpFiles, V4AndV5HeadersWithMasksAndAlpha)
{
    BmpLayout s;
    s.headerSize = 124, s.width = 3, s.height = 1, s.bpp = 32, s.compression = 3;
    s.headerMasks[0] = 0x00FF0000, s.headerMasks[1] = 0x0000FF00, s.headerMasks[2] = 0x000000FF;
    s.headerMasks[3] = 0xFF000000;
    // Opaque red, half-transparent blue, fully transparent green.
    s.pixels = { 0, 0, 255, 255, 255, 0, 0, 128, 0, 255, 0, 0 };
    ASSERT_TRUE(load(makeBmp(s))) << m_img.LastErrorText();
    EXPECT_EQ(m_img.Bpp(), 24);
    EXPECT_EQ(pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(pixel(1, 0), 0x7F7FFFu) << "composited onto white";
    EXPECT_EQ(pixel(2, 0), 0xFFFFFFu);

    // A fourth byte left at 0 everywhere is no alpha: the colours stand.
    s.pixels = { 0, 0, 255, 0, 255, 0, 0, 0, 0, 255, 0, 0 };
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(1, 0), 0x0000FFu);
    EXPECT_EQ(pixel(2, 0), 0x00FF00u);

    // V4, 24-bit, and 16-bit 5-6-5 with the masks in the header.
    s = {};
    s.headerSize = 108, s.width = 1, s.height = 1, s.bpp = 24, s.pixels = { 1, 2, 3, 0 };
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(0, 0), 0x030201u);
    s.bpp = 16, s.compression = 3, s.pixels = { 0xE0, 0x07, 0, 0 };
    s.headerMasks[0] = 0xF800, s.headerMasks[1] = 0x07E0, s.headerMasks[2] = 0x001F;
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(0, 0), 0x00FF00u);

    // Four masks after a 40-byte header (BI_ALPHABITFIELDS).
    s = {};
    s.width = 1, s.height = 1, s.bpp = 32, s.compression = 6;
    s.masks = { 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF };
    s.pixels = { 0, 0, 200, 0 }; // alpha 0, the only pixel: no alpha at all
    ASSERT_TRUE(load(makeBmp(s)));
    EXPECT_EQ(pixel(0, 0), 0xC80000u);

    // An alpha mask overlapping a colour is refused.
    s.masks[15] = 0, s.masks[14] = 0xFF; // alpha = 0x00FF0000, the red mask
    expectRejected(makeBmp(s), "Invalid BMP bit-field masks");
}

TEST_F(BmpFiles, RunLengthRowsCodedToThePaddedWidth)
{
    // ImageMagick codes a 3-pixel row as 4: the fourth pixel lands in the row's padding.
    BmpLayout s;
    s.width = 3, s.height = 2, s.bpp = 8, s.compression = 1, s.palette = greyPalette(4);
    s.pixels = { 4, 1, 0, 0, 4, 2, 0, 1 };
    ASSERT_TRUE(load(makeBmp(s))) << m_img.LastErrorText();
    EXPECT_EQ(pixel(2, 1), 0x101010u); // bottom row, stored first
    EXPECT_EQ(pixel(0, 0), 0x202020u);
    s.pixels = { 5, 1, 0, 1 }; // past the padding too
    expectRejected(makeBmp(s), "Corrupt BMP RLE data");
}

TEST_F(BmpFiles, HostileHeadersAreRejected)
{
    BmpLayout s;
    s.width = 100000, s.height = 100000, s.bpp = 24;
    expectRejected(makeBmp(s), "BMP file is truncated");
    s.compression = 1, s.bpp = 8, s.palette = greyPalette(1), s.colorsUsed = 1;
    s.pixels = { 0, 1 };
    expectRejected(makeBmp(s), "CXIMAGE_MAX_MEMORY exceeded");

    s = {};
    s.width = 2, s.height = 1, s.bpp = 24, s.compression = 1, s.pixels = Bytes(8);
    expectRejected(makeBmp(s), "unknown compression");
    s.bpp = 1, s.palette = Bytes(8);
    expectRejected(makeBmp(s), "compression type not supported");
    s.bpp = 7, s.compression = 0;
    expectRejected(makeBmp(s), "Error reading BMP info");
    s.bpp = 24, s.width = 0;
    expectRejected(makeBmp(s), "Error reading BMP info");

    s = {};
    s.width = 1, s.height = 1, s.bpp = 16, s.compression = 3, s.pixels = Bytes(4);
    s.masks = Bytes(12); // all zero
    expectRejected(makeBmp(s), "Invalid BMP bit-field masks");
    s.masks = { 0x00, 0xFF, 0, 0, 0xF0, 0x0F, 0, 0, 0x0F, 0, 0, 0 }; // red and green overlap
    expectRejected(makeBmp(s), "Invalid BMP bit-field masks");

    Bytes big = makeBmp(s);
    big[14] = 64; // an info header size no writer uses
    expectRejected(big, "Error reading BMP info");
    expectRejected(Bytes { 'B', 'M', 1 }, "Not a BMP");
}

TEST_F(BmpFiles, RunsAndDeltasMustStayInThePicture)
{
    BmpLayout s;
    s.width = 4, s.height = 2, s.bpp = 8, s.compression = 1, s.palette = greyPalette(4);
    const Bytes bad[] = {
        { 5, 1, 0, 1 }, // run longer than the row
        { 0, 5, 1, 2, 3, 4, 5, 0, 0, 1 }, // literal longer than the row
        { 0, 2, 5, 0, 0, 1 }, // delta past the row end
        { 0, 2, 0, 3, 0, 1 }, // delta past the last row
        { 0, 0, 0, 0, 2, 1, 0, 1 }, // run after the last row
        { 4, 1, 0, 0, 2, 1 }, // data ends before the picture does
    };
    for (const Bytes& data : bad) {
        s.pixels = data;
        expectRejected(makeBmp(s), "Corrupt BMP RLE data");
    }
}

TEST_F(BmpFiles, TruncatedAtAnyByteFails)
{
    BmpLayout s;
    s.width = 3, s.height = 2, s.bpp = 8, s.palette = greyPalette(16), s.colorsUsed = 16;
    s.pixels = Bytes(8, 1);
    BmpLayout rle = s;
    rle.compression = 1;
    rle.pixels = { 3, 1, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1 };
    BmpLayout rgb;
    rgb.width = 3, rgb.height = 3, rgb.bpp = 24, rgb.pixels = Bytes(36, 9);
    for (const BmpLayout& layout : { s, rle, rgb }) {
        const Bytes whole = makeBmp(layout);
        ASSERT_TRUE(load(whole));
        // An RLE file may lose its end-of-bitmap marker once the last row is complete.
        const size_t keep = layout.compression ? whole.size() - 4 : whole.size() - 1;
        for (size_t n = 0; n <= keep; ++n) {
            EXPECT_FALSE(load(Bytes(whole.begin(), whole.begin() + n))) << n;
            EXPECT_FALSE(m_img.HasPixels());
        }
    }
}

// Inputs the fuzzer once found; each must load or fail cleanly.
TEST(FuzzRegression, StoredInputsDecodeSafely)
{
    const QDir dir(QStringLiteral(KALVEX_TEST_DATA_DIR "/fuzz-regress"));
    for (const QString& name : dir.entryList(QDir::Files)) {
        for (uint32_t format : { 0u, 1u, 3u, 4u, 6u }) {
            CxImage img;
            if (!img.LoadFile(dir.filePath(name), format))
                EXPECT_FALSE(img.HasPixels()) << name.toStdString();
        }
    }
}

// The fuzz seeds come from other encoders (cjpeg, ImageMagick, hand-built BMPs): all must load.
TEST(FuzzRegression, SeedPicturesLoad)
{
    for (const char* sub : { "bmp", "jpeg" }) {
        const QDir dir(
                QStringLiteral(KALVEX_TEST_DATA_DIR "/../../../fuzz/corpus/") + QLatin1String(sub));
        ASSERT_TRUE(dir.exists());
        for (const QString& name : dir.entryList(QDir::Files)) {
            CxImage img;
            EXPECT_TRUE(img.LoadFile(dir.filePath(name), 0))
                    << name.toStdString() << ": " << img.LastErrorText();
            EXPECT_GT(img.Width(), 0u);
        }
    }
}

#include "image/BmpCodec.h"

#include "image/xFile.h"
#include "image/xImage.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

uint16_t le16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t le32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void put16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

bool readExact(CxFile& file, void* buffer, size_t bytes)
{
    return bytes == 0 || file.Read(buffer, 1, bytes) == bytes;
}

bool fail(CxImage& image, const char* text)
{
    image.Destroy();
    image.SetLastError(text);
    return false;
}

int32_t dpiFromPelsPerMeter(int32_t ppm)
{
    return int32_t(std::floor(ppm * 0.0254 + 0.5));
}

struct BmpInfo
{
    int64_t width = 0;
    int64_t height = 0;
    bool topDown = false;
    uint32_t bpp = 0;
    uint32_t compression = kBiRgb;
    uint32_t colorsUsed = 0;
    uint32_t planes = 1;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    bool core = false;
    // Bit-field masks stored in a 52-byte or longer header (V4 and V5 among them).
    bool headerMasks = false;
    uint32_t masks[4] = {}; // red, green, blue, alpha
};

// One colour channel of a 16- or 32-bit pixel, widened or narrowed to 8 bits.
struct Channel
{
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    bool Set(uint32_t m, uint32_t bpp)
    {
        mask = m;
        if (m == 0 || (bpp == 16 && m > 0xFFFF))
            return false;
        shift = std::countr_zero(m);
        bits = std::popcount(m);
        // Only one run of set bits makes sense as a channel.
        return (m >> shift) == (bits == 32 ? 0xFFFFFFFFu : ((1u << bits) - 1));
    }
    uint8_t operator()(uint32_t pixel) const
    {
        const uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return uint8_t(v >> (bits - 8));
        const uint32_t max = (1u << bits) - 1;
        return uint8_t((v * 255 + max / 2) / max);
    }
};

bool readInfo(CxFile& file, BmpInfo& info)
{
    uint8_t h[124];
    if (!readExact(file, h, 4))
        return false;
    const uint32_t size = le32(h);
    if (size == 12) {
        if (!readExact(file, h + 4, 8))
            return false;
        info.core = true;
        info.width = le16(h + 4);
        info.height = le16(h + 6);
        info.planes = le16(h + 8);
        info.bpp = le16(h + 10);
        return true;
    }
    // 40: the classic header; 52 and 56 add the masks; 108 (V4) and 124 (V5), as GIMP and
    // ImageMagick write them, add colour space data that a viewer may ignore.
    if ((size != 40 && size != 52 && size != 56 && size != 108 && size != 124)
            || !readExact(file, h + 4, size - 4))
        return false;
    info.width = int32_t(le32(h + 4));
    info.height = int32_t(le32(h + 8));
    info.planes = le16(h + 12);
    info.bpp = le16(h + 14);
    info.compression = le32(h + 16);
    info.sizeImage = le32(h + 20);
    info.xPelsPerMeter = int32_t(le32(h + 24));
    info.yPelsPerMeter = int32_t(le32(h + 28));
    info.colorsUsed = le32(h + 32);
    if (size >= 52) {
        info.headerMasks = true;
        for (int i = 0; i < (size >= 56 ? 4 : 3); ++i)
            info.masks[i] = le32(h + 40 + 4 * i);
    }
    return true;
}

void setPixel4(uint8_t* row, uint32_t x, uint8_t v)
{
    uint8_t& b = row[x >> 1];
    b = (x & 1) ? uint8_t((b & 0xF0) | (v & 0x0F)) : uint8_t((b & 0x0F) | (v << 4));
}

// RLE8 and RLE4 share the escape codes; every run, literal and delta must stay inside the
// picture, rows counted bottom-up as stored.
bool decodeRle(const std::vector<uint8_t>& data, CxImage& image, bool fourBit)
{
    // Some writers code a row up to its padded width; the padding bytes are in the row too.
    const uint32_t width = fourBit ? image.Stride() * 2 : image.Stride();
    const uint32_t height = image.Height();
    uint32_t x = 0, y = 0;
    size_t pos = 0;
    const size_t n = data.size();
    while (true) {
        if (pos + 2 > n)
            return y >= height || (y == height - 1 && x >= image.Width());
        const uint8_t count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            if (y >= height || x + count > width)
                return false;
            uint8_t* row = image.RowBits(y);
            if (fourBit) {
                for (uint32_t i = 0; i < count; ++i)
                    setPixel4(row, x + i, (i & 1) ? (value & 0x0F) : (value >> 4));
            } else {
                std::memset(row + x, value, count);
            }
            x += count;
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return true;
        case 2: { // delta
            if (pos + 2 > n)
                return false;
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
            if (x > width || y > height)
                return false;
            break;
        }
        default: { // literal pixels, padded to a 16-bit boundary
            const size_t bytes = fourBit ? (size_t(value) + 1) / 2 : value;
            const size_t padded = (bytes + 1) & ~size_t(1);
            if (y >= height || x + value > width || pos + bytes > n)
                return false;
            uint8_t* row = image.RowBits(y);
            if (fourBit) {
                for (uint32_t i = 0; i < value; ++i) {
                    const uint8_t b = data[pos + i / 2];
                    setPixel4(row, x + i, (i & 1) ? (b & 0x0F) : (b >> 4));
                }
            } else {
                std::memcpy(row + x, &data[pos], value);
            }
            x += value;
            pos += std::min(padded, n - pos);
            break;
        }
        }
    }
}

// A picture with an alpha channel is shown as a viewer shows it: over white. Many writers leave
// the fourth byte at 0 everywhere; such a channel means nothing and is dropped.
void compositeOntoWhite(CxImage& image, const std::vector<uint8_t>& alpha)
{
    if (std::all_of(alpha.begin(), alpha.end(), [](uint8_t a) { return a == 0; }))
        return;
    const uint32_t width = image.Width();
    for (uint32_t y = 0; y < image.Height(); ++y) {
        uint8_t* d = image.RowBits(y);
        const uint8_t* a = alpha.data() + size_t(y) * width;
        for (uint32_t x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                d[3 * x + c] = uint8_t((d[3 * x + c] * a[x] + 255 * (255 - a[x]) + 127) / 255);
    }
}

bool decodeMasked(CxFile& file, CxImage& image, const BmpInfo& info, const Channel& r,
        const Channel& g, const Channel& b, const Channel* a)
{
    const uint32_t width = image.Width();
    const size_t srcStride = (size_t(width) * info.bpp + 31) / 32 * 4;
    std::vector<uint8_t> row(srcStride);
    std::vector<uint8_t> alpha(a ? size_t(width) * image.Height() : 0);
    const bool plain32 =
            !a && info.bpp == 32 && r.mask == 0xFF0000 && g.mask == 0xFF00 && b.mask == 0xFF;
    for (uint32_t y = 0; y < image.Height(); ++y) {
        if (!readExact(file, row.data(), srcStride))
            return false;
        uint8_t* d = image.RowBits(y);
        if (plain32) {
            for (uint32_t x = 0; x < width; ++x)
                std::memcpy(d + 3 * x, &row[4 * x], 3);
            continue;
        }
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t px = info.bpp == 16 ? le16(&row[2 * x]) : le32(&row[4 * x]);
            d[3 * x] = b(px);
            d[3 * x + 1] = g(px);
            d[3 * x + 2] = r(px);
            if (a)
                alpha[size_t(y) * width + x] = (*a)(px);
        }
    }
    if (a)
        compositeOntoWhite(image, alpha);
    return true;
}

// Header values no sound writer produces. Each would make a reader guess, so the file is
// refused with the reason instead.
const char* implausibleHeader(const BmpInfo& info, uint32_t declaredFileSize, int64_t fileSize)
{
    if (info.planes != 1)
        return "BMP header: planes must be 1";
    if (info.topDown && (info.compression == kBiRle8 || info.compression == kBiRle4))
        return "BMP header: run-length pictures cannot be stored top-down";
    if (fileSize > 0) {
        const uint64_t twice = 2 * uint64_t(fileSize);
        if (declaredFileSize > twice)
            return "BMP file is truncated";
        if (info.sizeImage > twice)
            return "BMP header: the pixel data size given is far beyond the file";
        if (uint64_t(info.colorsUsed) * (info.core ? 3 : 4) > uint64_t(fileSize))
            return "BMP header: the palette size given is far beyond the file";
    }
    const int64_t x = info.xPelsPerMeter, y = info.yPelsPerMeter;
    if (x > 0 && y > 0 && (x > 100 * y || y > 100 * x))
        return "BMP header: the pixel density is implausible";
    return nullptr;
}

// A palette picture whose header counts its colours must not use any beyond them.
bool indicesInPalette(const CxImage& image, uint32_t colors)
{
    const uint32_t bpp = image.Bpp();
    if (bpp > 8 || colors >= (1u << bpp))
        return true;
    for (uint32_t y = 0; y < image.Height(); ++y) {
        const uint8_t* row = image.RowBits(y);
        for (uint32_t x = 0; x < image.Width(); ++x) {
            const uint32_t bit = x * bpp;
            const uint32_t index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
            if (index >= colors)
                return false;
        }
    }
    return true;
}

} // namespace

bool CBmpCodec::Decode(CxFile& file, CxImage& image)
{
    image.Destroy();
    const int64_t start = file.Tell();
    const int64_t fileSize = file.Size();
    uint8_t fileHeader[14];
    if (!readExact(file, fileHeader, sizeof(fileHeader)))
        return fail(image, "Not a BMP");
    uint32_t pixelOffset = 0;
    if (le16(fileHeader) == 0x4D42) {
        pixelOffset = le32(fileHeader + 10);
    } else if (!file.Seek(start, SEEK_SET)) {
        // A bare device-independent bitmap starts with its info header.
        return fail(image, "Not a BMP");
    }

    BmpInfo info;
    if (!readInfo(file, info))
        return fail(image, "Error reading BMP info");
    if (info.height < 0) {
        info.topDown = true;
        info.height = -info.height;
    }
    if (info.width <= 0 || info.height <= 0)
        return fail(image, "Error reading BMP info");
    if (const char* reason = implausibleHeader(
                info, pixelOffset ? le32(fileHeader + 2) : 0, fileSize - start))
        return fail(image, reason);

    Channel r, g, b, a;
    bool hasAlpha = false;
    switch (info.bpp) {
    case 1:
        if (info.compression != kBiRgb)
            return fail(image, "compression type not supported");
        break;
    case 4:
    case 8:
        if (info.compression != kBiRgb && info.compression != (info.bpp == 8 ? kBiRle8 : kBiRle4))
            return fail(image, "compression type not supported");
        break;
    case 16:
    case 32:
        if (info.compression == kBiBitfields || info.compression == kBiAlphaBitfields) {
            uint32_t m[4] = { info.masks[0], info.masks[1], info.masks[2], info.masks[3] };
            if (!info.headerMasks) {
                // After a 40-byte header the masks follow it: three, or four with alpha.
                const size_t count = info.compression == kBiAlphaBitfields ? 4 : 3;
                uint8_t masks[16];
                if (info.core || !readExact(file, masks, 4 * count))
                    return fail(image, "Error reading BMP info");
                for (size_t i = 0; i < count; ++i)
                    m[i] = le32(masks + 4 * i);
            }
            if (!r.Set(m[0], info.bpp) || !g.Set(m[1], info.bpp) || !b.Set(m[2], info.bpp)
                    || (r.mask & g.mask) || (r.mask & b.mask) || (g.mask & b.mask))
                return fail(image, "Invalid BMP bit-field masks");
            hasAlpha = m[3] != 0;
            if (hasAlpha && (!a.Set(m[3], info.bpp) || (a.mask & (r.mask | g.mask | b.mask))))
                return fail(image, "Invalid BMP bit-field masks");
        } else if (info.compression == kBiRgb) {
            if (info.bpp == 16) {
                r.Set(0x7C00, 16), g.Set(0x03E0, 16), b.Set(0x001F, 16);
            } else {
                r.Set(0xFF0000, 32), g.Set(0xFF00, 32), b.Set(0xFF, 32);
                // A V4/V5 header may name the fourth byte as alpha.
                hasAlpha = info.headerMasks && info.masks[3] == 0xFF000000u
                        && a.Set(info.masks[3], 32);
            }
        } else {
            return fail(image, "unknown compression");
        }
        break;
    case 24:
        if (info.compression != kBiRgb)
            return fail(image, "unknown compression");
        break;
    default:
        return fail(image, "Error reading BMP info");
    }

    uint8_t palette[256 * 4];
    uint32_t colors = 0;
    const size_t entry = info.core ? 3 : 4;
    uint64_t fileColors = info.colorsUsed;
    if (info.bpp <= 8) {
        const uint32_t maxColors = 1u << info.bpp;
        if (fileColors == 0)
            fileColors = maxColors;
        colors = uint32_t(std::min<uint64_t>(fileColors, maxColors));
        // Some writers leave the colour count at 0 but store a shorter table; the pixel offset
        // tells how much there really is.
        const int64_t here = file.Tell();
        if (pixelOffset && here >= start && start + int64_t(pixelOffset) >= here)
            colors = uint32_t(std::min<int64_t>(colors, (start + pixelOffset - here) / entry));
        if (!readExact(file, palette, colors * entry))
            return fail(image, "BMP file is truncated");
    }
    if (pixelOffset) {
        if (!file.Seek(start + pixelOffset, SEEK_SET))
            return fail(image, "BMP file is truncated");
    } else if (fileColors > colors) {
        // Without a file header the rows follow the whole colour table, used or not.
        if (!file.Seek(int64_t((fileColors - colors) * entry), SEEK_CUR))
            return fail(image, "BMP file is truncated");
    }

    // Uncompressed rows must all be in the file before anything is allocated for them.
    const bool rle = info.compression == kBiRle8 || info.compression == kBiRle4;
    const int64_t dataStart = file.Tell();
    if (!rle && fileSize >= 0) {
        const uint64_t srcStride = (uint64_t(info.width) * info.bpp + 31) / 32 * 4;
        const uint64_t need = srcStride * uint64_t(info.height);
        if (dataStart < 0 || fileSize < dataStart || need > uint64_t(fileSize - dataStart))
            return fail(image, "BMP file is truncated");
    }

    if (!image.Create(uint32_t(info.width), uint32_t(info.height), info.bpp, CXIMAGE_FORMAT_BMP))
        return false;
    for (uint32_t i = 0; i < colors; ++i) {
        const uint8_t* e = palette + i * entry;
        image.SetPaletteColor(uint8_t(i), e[2], e[1], e[0]);
    }

    bool ok = true;
    if (rle) {
        if (fileSize < 0 || dataStart < 0 || dataStart >= fileSize)
            return fail(image, "BMP file is truncated");
        std::vector<uint8_t> data(size_t(fileSize - dataStart));
        if (!readExact(file, data.data(), data.size()))
            return fail(image, "BMP file is truncated");
        if (!decodeRle(data, image, info.compression == kBiRle4))
            return fail(image, "Corrupt BMP RLE data");
    } else if (info.bpp == 16 || info.bpp == 32) {
        ok = decodeMasked(file, image, info, r, g, b, hasAlpha ? &a : nullptr);
    } else {
        ok = readExact(file, image.RowBits(0), size_t(image.Stride()) * image.Height());
    }
    if (!ok)
        return fail(image, "BMP file is truncated");
    if (info.colorsUsed != 0 && !indicesInPalette(image, colors))
        return fail(image, "BMP pixels use colours the palette does not have");

    if (info.topDown)
        image.FlipVertical();
    image.SetXDpi(dpiFromPelsPerMeter(info.xPelsPerMeter));
    image.SetYDpi(dpiFromPelsPerMeter(info.yPelsPerMeter));
    return true;
}

bool CBmpCodec::Encode(CxFile* file, CxImage& image)
{
    if (!file) {
        image.SetLastError("null file handler");
        return false;
    }
    if (!image.HasPixels()) {
        image.SetLastError("null image!!!");
        return false;
    }
    const uint32_t paletteBytes = image.NumColors() * 4;
    const uint64_t fileSize = 14 + 40 + paletteBytes + uint64_t(image.Stride()) * image.Height();
    uint8_t header[14] = { 'B', 'M' };
    put32(header + 2, uint32_t(fileSize));
    put16(header + 6, 0);
    put16(header + 8, 0);
    put32(header + 10, 14 + 40 + paletteBytes);
    if (file->Write(header, 1, sizeof(header)) != sizeof(header)
            || file->Write(image.Dib(), 1, image.DibSize()) != image.DibSize()) {
        image.SetLastError("Error writing BMP file");
        return false;
    }
    return true;
}

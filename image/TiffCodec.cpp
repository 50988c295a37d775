#include "image/TiffCodec.h"

#include "image/xFile.h"
#include "image/xImage.h"

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// No single buffer of a picture we can hold needs more.
constexpr tmsize_t kMaxAllocation = tmsize_t(1) << 30;

struct Messages
{
    char text[256] = {};
};

int errorHandler(TIFF*, void* user, const char* module, const char* format, va_list args)
{
    auto* m = static_cast<Messages*>(user);
    char detail[200];
    std::vsnprintf(detail, sizeof(detail), format, args);
    if (module && *module)
        std::snprintf(m->text, sizeof(m->text), "TIFF: %s: %s", module, detail);
    else
        std::snprintf(m->text, sizeof(m->text), "TIFF: %s", detail);
    return 1;
}

int warningHandler(TIFF*, void*, const char*, const char*, va_list)
{
    return 1; // damaged but readable files are not worth a line on stderr
}

// Reading goes straight to the codec's stream.
tmsize_t fileRead(thandle_t h, void* buffer, tmsize_t size)
{
    return tmsize_t(static_cast<CxFile*>(h)->Read(buffer, 1, size_t(size)));
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t)
{
    return 0;
}

toff_t fileSeek(thandle_t h, toff_t offset, int whence)
{
    auto* f = static_cast<CxFile*>(h);
    if (!f->Seek(int64_t(offset), whence))
        return toff_t(-1);
    return toff_t(f->Tell());
}

int noClose(thandle_t)
{
    return 0;
}

toff_t fileSize(thandle_t h)
{
    return toff_t(static_cast<CxFile*>(h)->Size());
}

// Writing collects the file in memory: libtiff seeks back to fill in offsets, and the
// picture reaches the disk in one piece.
struct Memory
{
    std::vector<uint8_t> bytes;
    size_t pos = 0;
};

tmsize_t memoryRead(thandle_t h, void* buffer, tmsize_t size)
{
    auto* m = static_cast<Memory*>(h);
    const size_t n =
            m->pos < m->bytes.size() ? std::min(size_t(size), m->bytes.size() - m->pos) : 0;
    std::memcpy(buffer, m->bytes.data() + m->pos, n);
    m->pos += n;
    return tmsize_t(n);
}

tmsize_t memoryWrite(thandle_t h, void* buffer, tmsize_t size)
{
    auto* m = static_cast<Memory*>(h);
    if (m->pos + size_t(size) > m->bytes.size())
        m->bytes.resize(m->pos + size_t(size));
    std::memcpy(m->bytes.data() + m->pos, buffer, size_t(size));
    m->pos += size_t(size);
    return size;
}

toff_t memorySeek(thandle_t h, toff_t offset, int whence)
{
    auto* m = static_cast<Memory*>(h);
    int64_t base = whence == SEEK_CUR ? int64_t(m->pos)
            : whence == SEEK_END      ? int64_t(m->bytes.size())
                                      : 0;
    const int64_t target = base + int64_t(offset);
    if (target < 0)
        return toff_t(-1);
    m->pos = size_t(target);
    return toff_t(target);
}

toff_t memorySize(thandle_t h)
{
    return toff_t(static_cast<Memory*>(h)->bytes.size());
}

int noMap(thandle_t, void**, toff_t*)
{
    return 0;
}

void noUnmap(thandle_t, void*, toff_t) { }

struct CloseTiff
{
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, CloseTiff>;

struct FreeOptions
{
    void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};

TiffPtr open(const char* mode, thandle_t handle, TIFFReadWriteProc read, TIFFReadWriteProc write,
        TIFFSeekProc seek, TIFFSizeProc size, Messages& messages)
{
    std::unique_ptr<TIFFOpenOptions, FreeOptions> options(TIFFOpenOptionsAlloc());
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), errorHandler, &messages);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), warningHandler, nullptr);
    return TiffPtr(TIFFClientOpenExt("picture", mode, handle, read, write, seek, noClose, size,
            noMap, noUnmap, options.get()));
}

bool fail(CxImage& image, const Messages& m, const char* fallback)
{
    image.Destroy();
    image.SetLastError(m.text[0] ? m.text : fallback);
    return false;
}

void readResolution(TIFF* tif, CxImage& image)
{
    float x = 0, y = 0;
    uint16_t unit = RESUNIT_INCH;
    const bool hasX = TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) == 1;
    const bool hasY = TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y) == 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (!hasY)
        y = x;
    char* description = nullptr;
    if (hasX && TIFFGetField(tif, TIFFTAG_IMAGEDESCRIPTION, &description) == 1 && description)
        image.SetPictureScale(CPictureScale::FromImageJ(QByteArray(description), x, y));
    if (!hasX || unit == RESUNIT_NONE || !(x > 0) || !(y > 0))
        return;
    const double toInch = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
    image.SetXDpi(int32_t(std::min(std::floor(x * toInch + 0.5), 1e9)));
    image.SetYDpi(int32_t(std::min(std::floor(y * toInch + 0.5), 1e9)));
}

// Whether the strips or tiles the file declares can hold the picture: each inside the file, and
// together at least the picture's bytes over the most their compression packs into one byte.
// A few hundred bytes declaring 9000 x 9000 pixels are refused before 600 MB are allocated
// for them. Compressions without a known bound (LZW, JPEG, ...) are only held to the file.
bool dataCanHold(TIFF* tif, uint32_t w, uint32_t h, int64_t fileSize)
{
    if (fileSize < 0)
        return true;
    const uint32_t striles = TIFFIsTiled(tif) ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    if (striles == 0 || striles > uint64_t(fileSize))
        return false;
    uint64_t stored = 0;
    for (uint32_t i = 0; i < striles; ++i) {
        const uint64_t offset = TIFFGetStrileOffset(tif, i), count = TIFFGetStrileByteCount(tif, i);
        if (offset > uint64_t(fileSize) || count > uint64_t(fileSize) - offset)
            return false;
        stored += count;
    }
    uint16_t compression = COMPRESSION_NONE, bits = 1, samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    uint64_t packing = 0;
    if (compression == COMPRESSION_NONE)
        packing = 1;
    else if (compression == COMPRESSION_PACKBITS)
        packing = 64; // 128 repeated bytes in two
    else if (compression == COMPRESSION_ADOBE_DEFLATE || compression == COMPRESSION_DEFLATE)
        packing = 1032;
    const uint64_t pictureBytes = (uint64_t(w) * bits * samples + 7) / 8 * h;
    return packing == 0 || stored * packing >= pictureBytes;
}

// 8-bit grey without transparency keeps its one channel, as a grey JPEG does.
bool isPlainGrey(TIFF* tif)
{
    uint16_t photometric = 0, bits = 0, samples = 1, planar = PLANARCONFIG_CONTIG;
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    return photometric == PHOTOMETRIC_MINISBLACK && bits == 8 && samples == 1 && !TIFFIsTiled(tif);
}

bool decodeGrey(TIFF* tif, CxImage& image, const Messages& m)
{
    const uint32_t h = image.Height();
    for (uint32_t y = 0; y < h; ++y) {
        if (TIFFReadScanline(tif, image.RowBits(h - 1 - y), y, 0) < 0)
            return fail(image, m, "TIFF: cannot read the picture");
    }
    return true;
}

bool decodeColour(TIFF* tif, CxImage& image, const Messages& m)
{
    char reason[1024] = {};
    if (!TIFFRGBAImageOK(tif, reason)) {
        image.Destroy();
        image.SetLastError(QStringLiteral("TIFF: %1").arg(QString::fromUtf8(reason)));
        return false;
    }
    const uint32_t w = image.Width(), h = image.Height();
    std::vector<uint32_t> raster;
    try {
        raster.resize(size_t(w) * h);
    } catch (const std::bad_alloc&) {
        return fail(image, m, "CxImage::Create can't allocate memory");
    }
    // Bottom-left origin matches the stored row order.
    if (!TIFFReadRGBAImageOriented(tif, w, h, raster.data(), ORIENTATION_BOTLEFT, 0))
        return fail(image, m, "TIFF: cannot read the picture");
    for (uint32_t y = 0; y < h; ++y) {
        const uint32_t* s = raster.data() + size_t(y) * w;
        uint8_t* d = image.RowBits(y);
        for (uint32_t x = 0; x < w; ++x, d += 3) {
            // Colours come premultiplied by their alpha: what is missing is white.
            const uint32_t p = s[x], under = 255 - TIFFGetA(p);
            d[0] = uint8_t(std::min<uint32_t>(255, TIFFGetB(p) + under));
            d[1] = uint8_t(std::min<uint32_t>(255, TIFFGetG(p) + under));
            d[2] = uint8_t(std::min<uint32_t>(255, TIFFGetR(p) + under));
        }
    }
    return true;
}

bool writeRows(TIFF* tif, const CxImage& image)
{
    const uint32_t w = image.Width(), h = image.Height();
    const bool grey = image.Bpp() == 8;
    std::vector<uint8_t> row(grey ? w : size_t(w) * 3);
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* s = image.RowBits(h - 1 - y);
        if (grey) {
            std::memcpy(row.data(), s, w);
        } else {
            for (uint32_t x = 0; x < w; ++x) {
                row[3 * x] = s[3 * x + 2];
                row[3 * x + 1] = s[3 * x + 1];
                row[3 * x + 2] = s[3 * x];
            }
        }
        if (TIFFWriteScanline(tif, row.data(), y, 0) < 0)
            return false;
    }
    return true;
}

} // namespace

bool CTiffCodec::Decode(CxFile& file, CxImage& image)
{
    image.Destroy();
    Messages m;
    TiffPtr tif = open("rm", &file, fileRead, refuseWrite, fileSeek, fileSize, m);
    if (!tif)
        return fail(image, m, "TIFF: not a TIFF file");
    uint32_t w = 0, h = 0;
    if (!TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w)
            || !TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h))
        return fail(image, m, "TIFF: no picture size");
    if (!dataCanHold(tif.get(), w, h, file.Size()))
        return fail(image, m, "TIFF: file is too short for its picture size");
    const bool grey = isPlainGrey(tif.get());
    if (!image.Create(w, h, grey ? 8 : 24, CXIMAGE_FORMAT_TIF))
        return false;
    if (grey)
        image.SetGrayPalette();
    readResolution(tif.get(), image);
    return grey ? decodeGrey(tif.get(), image, m) : decodeColour(tif.get(), image, m);
}

bool CTiffCodec::Encode(CxFile* file, CxImage& image)
{
    if (!file) {
        image.SetLastError("null file handler");
        return false;
    }
    if (!image.HasPixels()) {
        image.SetLastError("null image!!!");
        return false;
    }
    CxImage wide;
    const CxImage* source = &image;
    if (image.Bpp() != 24 && !image.IsGrayScale()) {
        if (!image.ToTrueColour(wide)) {
            image.SetLastError("TIFF: unsupported pixel depth");
            return false;
        }
        source = &wide;
    }
    Messages m;
    Memory memory;
    {
        TiffPtr tif = open("w", &memory, memoryRead, memoryWrite, memorySeek, memorySize, m);
        if (!tif) {
            image.SetLastError(m.text[0] ? m.text : "TIFF: cannot start the file");
            return false;
        }
        TIFF* t = tif.get();
        const bool grey = source->Bpp() == 8;
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, source->Width());
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, source->Height());
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, grey ? 1 : 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, grey ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
        TIFFSetField(t, TIFFTAG_SOFTWARE, "Kalvex");
        const CPictureScale& scale = image.PictureScale();
        if (scale.IsValid()) {
            // ImageJ's way: pixels per unit, the unit in the description unless it is one TIFF
            // itself knows.
            const QByteArray description = scale.ImageJDescription();
            TIFFSetField(t, TIFFTAG_IMAGEDESCRIPTION, description.constData());
            TIFFSetField(t, TIFFTAG_XRESOLUTION, float(1.0 / scale.xPerPixel));
            TIFFSetField(t, TIFFTAG_YRESOLUTION, float(1.0 / scale.yPerPixel));
            TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, uint16_t(scale.TiffResolutionUnit()));
        } else {
            TIFFSetField(t, TIFFTAG_XRESOLUTION, float(image.XDpi()));
            TIFFSetField(t, TIFFTAG_YRESOLUTION, float(image.YDpi()));
            TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, uint16_t(RESUNIT_INCH));
        }
        if (!writeRows(t, *source) || !TIFFWriteDirectory(t)) {
            image.SetLastError(m.text[0] ? m.text : "TIFF: cannot write the picture");
            return false;
        }
    }
    if (m.text[0]) {
        image.SetLastError(m.text);
        return false;
    }
    if (file->Write(memory.bytes.data(), 1, memory.bytes.size()) != memory.bytes.size()
            || !file->Flush()) {
        image.SetLastError("TIFF: write failed");
        return false;
    }
    return true;
}

#include "image/xImage.h"

#include "base/AtomicFile.h"
#include "image/BmpCodec.h"
#include "image/JpegCodec.h"
#include "image/PngCodec.h"
#include "image/TiffCodec.h"
#include "image/xAtomicFile.h"
#include "image/xIOFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

static_assert(
        std::endian::native == std::endian::little, "the DIB block is kept in file byte order");

namespace {

constexpr size_t kInfoHeaderSize = sizeof(CxBitmapInfoHeader);

uint32_t roundDepth(uint32_t bpp)
{
    if (bpp <= 1)
        return 1;
    if (bpp <= 4)
        return 4;
    if (bpp <= 8)
        return 8;
    return 24;
}

int32_t pelsPerMeter(int32_t dpi)
{
    // Resolutions read from files can be anything; the header field saturates.
    return int32_t(std::min(std::floor(dpi * 39.37007874015748 + 0.5), double(INT32_MAX)));
}

uint8_t paletteIndex(const uint8_t* row, uint32_t x, uint32_t bpp)
{
    switch (bpp) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default:
        return row[x];
    }
}

// Source spans covered by each target cell of an exact area average along one axis.
struct AxisWeights
{
    std::vector<uint32_t> first;
    std::vector<uint32_t> count;
    std::vector<float> weight; // count[i] entries per target cell, summing to 1
    std::vector<uint32_t> offset;
};

AxisWeights areaWeights(uint32_t srcSize, uint32_t dstSize)
{
    AxisWeights w;
    w.first.resize(dstSize);
    w.count.resize(dstSize);
    w.offset.resize(dstSize);
    const double scale = double(srcSize) / dstSize;
    for (uint32_t i = 0; i < dstSize; ++i) {
        const double a = i * scale;
        const double b = std::min(double(srcSize), (i + 1) * scale);
        uint32_t s = std::min(uint32_t(a), srcSize - 1);
        w.first[i] = s;
        w.offset[i] = uint32_t(w.weight.size());
        for (; s < srcSize && double(s) < b; ++s) {
            const double cover = std::min(b, double(s + 1)) - std::max(a, double(s));
            if (cover > 0)
                w.weight.push_back(float(cover / (b - a)));
            else
                w.weight.push_back(0.0f);
        }
        w.count[i] = uint32_t(w.weight.size()) - w.offset[i];
    }
    return w;
}

bool resampleArea(const CxImage& src, CxImage& dst, uint32_t newWidth, uint32_t newHeight)
{
    CxImage out;
    out.SetXDpi(src.XDpi());
    out.SetYDpi(src.YDpi());
    out.SetJpegQualityLevel(src.JpegQualityLevel());
    if (!out.Create(newWidth, newHeight, 24, src.Type()))
        return false;
    const AxisWeights wx = areaWeights(src.Width(), newWidth);
    const AxisWeights wy = areaWeights(src.Height(), newHeight);
    const size_t rowFloats = size_t(newWidth) * 3;
    std::vector<float> narrow(rowFloats * src.Height());
    for (uint32_t y = 0; y < src.Height(); ++y) {
        const uint8_t* s = src.RowBits(y);
        float* d = narrow.data() + rowFloats * y;
        for (uint32_t x = 0; x < newWidth; ++x) {
            float b = 0, g = 0, r = 0;
            const float* wt = wx.weight.data() + wx.offset[x];
            const uint8_t* p = s + 3 * size_t(wx.first[x]);
            for (uint32_t k = 0; k < wx.count[x]; ++k, p += 3) {
                b += wt[k] * p[0];
                g += wt[k] * p[1];
                r += wt[k] * p[2];
            }
            d[3 * x] = b;
            d[3 * x + 1] = g;
            d[3 * x + 2] = r;
        }
    }
    std::vector<float> acc(rowFloats);
    for (uint32_t y = 0; y < newHeight; ++y) {
        std::fill(acc.begin(), acc.end(), 0.0f);
        const float* wt = wy.weight.data() + wy.offset[y];
        for (uint32_t k = 0; k < wy.count[y]; ++k) {
            const float* s = narrow.data() + rowFloats * (wy.first[y] + k);
            for (size_t i = 0; i < rowFloats; ++i)
                acc[i] += wt[k] * s[i];
        }
        uint8_t* d = out.RowBits(y);
        for (size_t i = 0; i < rowFloats; ++i)
            d[i] = uint8_t(std::clamp(acc[i] + 0.5f, 0.0f, 255.0f));
    }
    dst = std::move(out);
    return true;
}

} // namespace

QString CxImage::ContentDescription(CxFile& file)
{
    char head[512];
    const int64_t start = file.Tell();
    const size_t got = file.Read(head, 1, sizeof(head));
    file.Seek(start, SEEK_SET);
    const QByteArray bytes(head, qsizetype(got));
    auto say = [](const char* text) { return QCoreApplication::translate("CxImage", text); };
    if (bytes.isEmpty())
        return say(QT_TRANSLATE_NOOP("CxImage", "The file is empty."));
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return say(QT_TRANSLATE_NOOP("CxImage",
                "The file is a GIF picture; only BMP, JPEG, PNG and TIFF pictures open."));
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return say(QT_TRANSLATE_NOOP("CxImage",
                "The file is a WebP picture; only BMP, JPEG, PNG and TIFF pictures open."));
    // Text: valid UTF-8 without control characters but spacing; the read may cut the last
    // character short.
    auto isText = [](const QByteArray& part) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(part);
        return !utf8.hasError() && std::all_of(text.begin(), text.end(), [](QChar c) {
            return c.isPrint() || c == u'\n' || c == u'\r' || c == u'\t' || c == u'\f';
        });
    };
    const int cuts = got == sizeof(head) ? 3 : 0;
    for (int cut = 0; cut <= cuts; ++cut) {
        if (isText(bytes.chopped(cut)))
            return say(QT_TRANSLATE_NOOP("CxImage", "The file holds text, not a picture."));
    }
    return say(QT_TRANSLATE_NOOP(
            "CxImage", "The content of the file is not a BMP, JPEG, PNG or TIFF picture."));
}

uint32_t CxImage::SignatureFormat(CxFile& file)
{
    uint8_t head[8] = {};
    const int64_t start = file.Tell();
    const size_t got = file.Read(head, 1, sizeof(head));
    file.Seek(start, SEEK_SET);
    if (got >= 2 && head[0] == 'B' && head[1] == 'M')
        return CXIMAGE_FORMAT_BMP;
    if (got >= 2 && head[0] == 0xFF && head[1] == 0xD8)
        return CXIMAGE_FORMAT_JPG;
    if (got == 8 && std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) == 0)
        return CXIMAGE_FORMAT_PNG;
    if (got >= 4
            && (std::memcmp(head, "II*\0", 4) == 0 || std::memcmp(head, "MM\0*", 4) == 0
                    || std::memcmp(head, "II+\0", 4) == 0 || std::memcmp(head, "MM\0+", 4) == 0))
        return CXIMAGE_FORMAT_TIF;
    return CXIMAGE_FORMAT_UNKNOWN;
}

uint32_t CxImage::FormatFromName(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return CXIMAGE_FORMAT_BMP;
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return CXIMAGE_FORMAT_JPG;
    if (suffix == QLatin1String("png"))
        return CXIMAGE_FORMAT_PNG;
    if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        return CXIMAGE_FORMAT_TIF;
    return CXIMAGE_FORMAT_UNKNOWN;
}

CxImage::CxImage(uint32_t format) : m_format(format)
{
    m_head.biXPelsPerMeter = pelsPerMeter(m_xDpi);
    m_head.biYPelsPerMeter = pelsPerMeter(m_yDpi);
}

CxImage::CxImage(const QString& fileName, uint32_t format) : CxImage(format)
{
    LoadFile(fileName, format);
}

CxImage::CxImage(const CxImage& other) : CxImage(other.m_format)
{
    CopyFrom(other);
}

CxImage& CxImage::operator=(const CxImage& other)
{
    if (this != &other)
        CopyFrom(other);
    return *this;
}

CxImage::CxImage(CxImage&& other) noexcept
{
    *this = std::move(other);
}

CxImage& CxImage::operator=(CxImage&& other) noexcept
{
    if (this == &other)
        return *this;
    m_dib = std::move(other.m_dib);
    m_dibSize = std::exchange(other.m_dibSize, 0);
    m_head = other.m_head;
    m_stride = std::exchange(other.m_stride, 0);
    m_bits = std::exchange(other.m_bits, nullptr);
    m_format = other.m_format;
    m_xDpi = other.m_xDpi;
    m_yDpi = other.m_yDpi;
    m_jpegQuality = other.m_jpegQuality;
    m_jpegFullColour = other.m_jpegFullColour;
    m_scale = std::move(other.m_scale);
    std::memcpy(m_lastError, other.m_lastError, sizeof(m_lastError));
    return *this;
}

CxImage::~CxImage() = default;

bool CxImage::CopyFrom(const CxImage& source, bool copyPixels, bool, bool)
{
    if (this == &source)
        return true;
    Destroy();
    m_format = source.m_format;
    m_xDpi = source.m_xDpi;
    m_yDpi = source.m_yDpi;
    m_jpegQuality = source.m_jpegQuality;
    m_jpegFullColour = source.m_jpegFullColour;
    m_scale = source.m_scale;
    m_head = source.m_head;
    if (!source.m_dib)
        return true;
    uint8_t* block = static_cast<uint8_t*>(
            copyPixels ? std::malloc(source.m_dibSize) : std::calloc(source.m_dibSize, 1));
    if (!block) {
        SetLastError("CxImage::Create can't allocate memory");
        return false;
    }
    const size_t pixelOffset = source.m_bits - source.m_dib.get();
    std::memcpy(block, source.m_dib.get(), copyPixels ? source.m_dibSize : pixelOffset);
    m_dib.reset(block);
    m_dibSize = source.m_dibSize;
    m_stride = source.m_stride;
    m_bits = block + pixelOffset;
    return true;
}

void CxImage::Destroy()
{
    m_dib.reset();
    m_dibSize = 0;
    m_stride = 0;
    m_bits = nullptr;
}

uint8_t* CxImage::Create(uint32_t width, uint32_t height, uint32_t bpp, uint32_t format)
{
    Destroy();
    if (width == 0 || height == 0) {
        SetLastError("CxImage::Create : width and height must be greater than zero");
        return nullptr;
    }
    bpp = roundDepth(bpp);
    // The limit is on width x height x depth as a 32-bit product, as files written by other
    // builds of this container expect.
    const uint64_t bits = uint64_t(width) * height * bpp;
    if (bits > UINT32_MAX || (bits >> 3) > CXIMAGE_MAX_MEMORY || width > INT32_MAX
            || height > INT32_MAX) {
        SetLastError("CXIMAGE_MAX_MEMORY exceeded");
        return nullptr;
    }
    const uint32_t stride = uint32_t((uint64_t(width) * bpp + 31) / 32 * 4);
    const uint32_t colors = bpp <= 8 ? (1u << bpp) : 0;
    const size_t paletteBytes = size_t(colors) * 4;
    const size_t size = kInfoHeaderSize + paletteBytes + size_t(stride) * height;
    // calloc: big blocks come as fresh zero pages for free, and padding bytes never hold garbage.
    auto* block = static_cast<uint8_t*>(std::calloc(size, 1));
    if (!block) {
        SetLastError("CxImage::Create can't allocate memory");
        return nullptr;
    }
    m_dib.reset(block);
    m_dibSize = size;
    m_stride = stride;
    m_bits = block + kInfoHeaderSize + paletteBytes;
    m_format = format;

    m_head = CxBitmapInfoHeader();
    m_head.biWidth = int32_t(width);
    m_head.biHeight = int32_t(height);
    m_head.biBitCount = uint16_t(bpp);
    m_head.biSizeImage = uint32_t(uint64_t(stride) * height);
    m_head.biXPelsPerMeter = pelsPerMeter(m_xDpi);
    m_head.biYPelsPerMeter = pelsPerMeter(m_yDpi);
    m_head.biClrUsed = colors;
    SyncHeader();
    return block;
}

bool CxImage::CreateFromBuffer(const uint8_t* buffer, uint32_t width, uint32_t height, uint32_t bpp,
        uint32_t sourceStride, bool flip)
{
    if (!buffer)
        return false;
    if (!Create(width, height, bpp))
        return false;
    const size_t bytes = std::min(m_stride, sourceStride);
    for (uint32_t i = 0; i < height; ++i) {
        const uint32_t target = flip ? height - 1 - i : i;
        std::memcpy(m_bits + size_t(target) * m_stride, buffer + size_t(i) * sourceStride, bytes);
    }
    return true;
}

uint8_t* CxImage::RowBits(uint32_t row)
{
    if (!m_dib || row >= Height())
        return nullptr;
    return m_bits + size_t(row) * m_stride;
}

const uint8_t* CxImage::RowBits(uint32_t row) const
{
    return const_cast<CxImage*>(this)->RowBits(row);
}

uint8_t* CxImage::Palette()
{
    if (!m_dib || m_head.biClrUsed == 0)
        return nullptr;
    return m_dib.get() + kInfoHeaderSize;
}

const uint8_t* CxImage::Palette() const
{
    return const_cast<CxImage*>(this)->Palette();
}

void CxImage::SetPaletteColor(uint8_t index, uint8_t r, uint8_t g, uint8_t b)
{
    uint8_t* pal = Palette();
    if (!pal || index >= m_head.biClrUsed)
        return;
    pal[4 * index] = b;
    pal[4 * index + 1] = g;
    pal[4 * index + 2] = r;
    pal[4 * index + 3] = 0;
}

void CxImage::SetGrayPalette()
{
    const uint32_t n = NumColors();
    if (n == 0)
        return;
    for (uint32_t i = 0; i < n; ++i) {
        const auto v = uint8_t(i * 255 / (n - 1));
        SetPaletteColor(uint8_t(i), v, v, v);
    }
}

bool CxImage::IsGrayScale() const
{
    const uint8_t* pal = Palette();
    if (!pal || Bpp() != 8 || NumColors() != 256)
        return false;
    for (uint32_t i = 0; i < 256; ++i) {
        if (pal[4 * i] != i || pal[4 * i + 1] != i || pal[4 * i + 2] != i)
            return false;
    }
    return true;
}

void CxImage::SetXDpi(int32_t dpi)
{
    if (dpi <= 0)
        dpi = 96;
    m_xDpi = dpi;
    m_head.biXPelsPerMeter = pelsPerMeter(dpi);
    SyncHeader();
}

void CxImage::SetYDpi(int32_t dpi)
{
    if (dpi <= 0)
        dpi = 96;
    m_yDpi = dpi;
    m_head.biYPelsPerMeter = pelsPerMeter(dpi);
    SyncHeader();
}

void CxImage::SetJpegQualityLevel(float quality)
{
    m_jpegQuality = std::clamp(quality, 0.0f, 100.0f);
}

void CxImage::SetLastError(const QString& text)
{
    // Cut at a character boundary so the UTF-8 text stays whole.
    QByteArray bytes = text.toUtf8();
    qsizetype end = std::min<qsizetype>(bytes.size(), sizeof(m_lastError) - 1);
    while (end > 0 && end < bytes.size() && (uint8_t(bytes[end]) & 0xC0) == 0x80)
        --end;
    bytes.truncate(end);
    SetLastError(bytes.constData());
}

void CxImage::SetLastError(const char* text)
{
    std::strncpy(m_lastError, text ? text : "", sizeof(m_lastError) - 1);
    m_lastError[sizeof(m_lastError) - 1] = '\0';
}

void CxImage::SyncHeader()
{
    if (m_dib)
        std::memcpy(m_dib.get(), &m_head, kInfoHeaderSize);
}

bool CxImage::WidenTo24()
{
    if (!m_dib)
        return false;
    if (Bpp() == 24)
        return true;
    CxImage wide;
    if (!ToTrueColour(wide)) {
        SetLastError(wide.LastErrorText());
        return false;
    }
    *this = std::move(wide);
    return true;
}

bool CxImage::FlipVertical()
{
    if (!m_dib)
        return false;
    std::vector<uint8_t> row(m_stride);
    const uint32_t h = Height();
    for (uint32_t top = 0, bottom = h - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = m_bits + size_t(top) * m_stride;
        uint8_t* b = m_bits + size_t(bottom) * m_stride;
        std::memcpy(row.data(), a, m_stride);
        std::memcpy(a, b, m_stride);
        std::memcpy(b, row.data(), m_stride);
    }
    return true;
}

bool CxImage::ApplyOrientation(int exifOrientation)
{
    if (!m_dib || exifOrientation < 2 || exifOrientation > 8)
        return m_dib != nullptr;
    if (Bpp() != 8 && Bpp() != 24 && !WidenTo24())
        return false;
    const uint32_t w = Width(), h = Height(), bytes = Bpp() / 8;
    const bool swap = exifOrientation >= 5;
    CxImage out;
    out.SetXDpi(swap ? m_yDpi : m_xDpi);
    out.SetYDpi(swap ? m_xDpi : m_yDpi);
    out.SetJpegQualityLevel(m_jpegQuality);
    out.SetJpegFullColour(m_jpegFullColour);
    if (!out.Create(swap ? h : w, swap ? w : h, Bpp(), m_format)) {
        SetLastError(out.LastErrorText());
        return false;
    }
    if (bytes == 1)
        std::memcpy(out.Palette(), Palette(), size_t(NumColors()) * 4);
    CPictureScale scale = m_scale;
    if (swap)
        std::swap(scale.xPerPixel, scale.yPerPixel);
    out.SetPictureScale(scale);
    const uint32_t ow = out.Width(), oh = out.Height();
    // Coordinates are counted from the top of the picture; rows are stored bottom-up.
    for (uint32_t oy = 0; oy < oh; ++oy) {
        uint8_t* d = out.RowBits(oh - 1 - oy);
        for (uint32_t ox = 0; ox < ow; ++ox) {
            uint32_t sx = ox, sy = oy;
            switch (exifOrientation) {
            case 2:
                sx = w - 1 - ox;
                break;
            case 3:
                sx = w - 1 - ox;
                sy = h - 1 - oy;
                break;
            case 4:
                sy = h - 1 - oy;
                break;
            case 5:
                sx = oy;
                sy = ox;
                break;
            case 6:
                sx = oy;
                sy = h - 1 - ox;
                break;
            case 7:
                sx = w - 1 - oy;
                sy = h - 1 - ox;
                break;
            case 8:
                sx = w - 1 - oy;
                sy = ox;
                break;
            default:
                break;
            }
            std::memcpy(d + size_t(ox) * bytes, RowBits(h - 1 - sy) + size_t(sx) * bytes, bytes);
        }
    }
    *this = std::move(out);
    return true;
}

bool CxImage::ToTrueColour(CxImage& dst) const
{
    const CxImage& src = *this;
    if (!src.HasPixels())
        return false;
    if (src.Bpp() == 24) {
        dst = src;
        return true;
    }
    CxImage out;
    out.SetXDpi(src.XDpi());
    out.SetYDpi(src.YDpi());
    out.SetJpegQualityLevel(src.JpegQualityLevel());
    out.SetJpegFullColour(src.JpegFullColour());
    out.SetPictureScale(src.PictureScale());
    if (!out.Create(src.Width(), src.Height(), 24, src.Type()))
        return false;
    const uint8_t* pal = src.Palette();
    if (!pal || src.Bpp() > 8)
        return false;
    for (uint32_t y = 0; y < src.Height(); ++y) {
        const uint8_t* s = src.RowBits(y);
        uint8_t* d = out.RowBits(y);
        for (uint32_t x = 0; x < src.Width(); ++x) {
            const uint8_t* entry = pal + 4 * paletteIndex(s, x, src.Bpp());
            d[3 * x] = entry[0];
            d[3 * x + 1] = entry[1];
            d[3 * x + 2] = entry[2];
        }
    }
    dst = std::move(out);
    return true;
}

bool CxImage::MakeThumbnail(
        int32_t width, int32_t height, uint32_t canvasColor, CxImage* destination)
{
    if (!m_dib || width <= 0 || height <= 0)
        return false;
    // Palette pictures are converted first; a 24-bit picture is read where it is, since every
    // step below writes to a new image anyway.
    CxImage converted;
    if (Bpp() != 24 && !ToTrueColour(converted))
        return false;
    CxImage shrunk;
    const CxImage* work = Bpp() == 24 ? this : &converted;

    const uint64_t sw = work->Width(), sh = work->Height();
    if (sw > uint64_t(width) || sh > uint64_t(height)) {
        // Exact integer form of the aspect rule, so the limiting side lands on the target.
        uint64_t nw, nh;
        if (uint64_t(width) * sh > sw * uint64_t(height)) {
            nh = uint64_t(height);
            nw = sw * uint64_t(height) / sh;
        } else {
            nw = uint64_t(width);
            nh = sh * uint64_t(width) / sw;
        }
        // A very thin picture would truncate to nothing; keep at least one pixel.
        nw = std::max<uint64_t>(nw, 1);
        nh = std::max<uint64_t>(nh, 1);
        if (!resampleArea(*work, shrunk, uint32_t(nw), uint32_t(nh)))
            return false;
        work = &shrunk;
    }

    CxImage out;
    out.SetXDpi(work->XDpi());
    out.SetYDpi(work->YDpi());
    out.SetJpegQualityLevel(work->JpegQualityLevel());
    if (!out.Create(uint32_t(width), uint32_t(height), 24, work->Type()))
        return false;
    const uint8_t r = canvasColor & 0xFF, g = (canvasColor >> 8) & 0xFF,
                  b = (canvasColor >> 16) & 0xFF;
    for (uint32_t y = 0; y < uint32_t(height); ++y) {
        uint8_t* d = out.RowBits(y);
        for (int32_t x = 0; x < width; ++x) {
            d[3 * x] = b;
            d[3 * x + 1] = g;
            d[3 * x + 2] = r;
        }
    }
    const uint32_t left = (uint32_t(width) - work->Width()) / 2;
    const uint32_t top = (uint32_t(height) - work->Height()) / 2;
    for (uint32_t row = 0; row < work->Height(); ++row) {
        // Picture row `row` from the top is stored row Height - 1 - row.
        const uint8_t* s = work->RowBits(work->Height() - 1 - row);
        uint8_t* d = out.RowBits(uint32_t(height) - 1 - (top + row));
        std::memcpy(d + 3 * left, s, size_t(work->Width()) * 3);
    }
    if (destination)
        *destination = std::move(out);
    else
        *this = std::move(out);
    return true;
}

bool CxImage::Decode(CxFile* file, uint32_t format)
{
    return DecodeAs(file, format, 0, 0);
}

bool CxImage::DecodeAs(CxFile* file, uint32_t format, uint32_t minWidth, uint32_t minHeight)
{
    Destroy();
    m_xDpi = m_yDpi = 96;
    m_head.biXPelsPerMeter = m_head.biYPelsPerMeter = pelsPerMeter(96);
    m_scale = CPictureScale();
    if (!file) {
        SetLastError("null file handler");
        return false;
    }
    if (format == CXIMAGE_FORMAT_BMP)
        return CBmpCodec::Decode(*file, *this);
    if (format == CXIMAGE_FORMAT_JPG)
        return CJpegCodec::Decode(*file, *this, minWidth, minHeight);
    if (format == CXIMAGE_FORMAT_PNG)
        return CPngCodec::Decode(*file, *this);
    if (format == CXIMAGE_FORMAT_TIF)
        return CTiffCodec::Decode(*file, *this);

    const int64_t start = file->Tell();
    if (CBmpCodec::Decode(*file, *this))
        return true;
    file->Seek(start, SEEK_SET);
    if (CJpegCodec::Decode(*file, *this, minWidth, minHeight))
        return true;
    file->Seek(start, SEEK_SET);
    if (CPngCodec::Decode(*file, *this))
        return true;
    file->Seek(start, SEEK_SET);
    if (CTiffCodec::Decode(*file, *this))
        return true;
    file->Seek(start, SEEK_SET);
    Destroy();
    SetLastError("Decode: Unknown or wrong format");
    return false;
}

bool CxImage::LoadFile(const QString& fileName, uint32_t format)
{
    return LoadFileImpl(fileName, format, 0, 0);
}

bool CxImage::LoadFileScaled(const QString& fileName, uint32_t minWidth, uint32_t minHeight)
{
    return LoadFileImpl(fileName, CXIMAGE_FORMAT_UNKNOWN, minWidth, minHeight);
}

bool CxImage::LoadFileImpl(
        const QString& fileName, uint32_t format, uint32_t minWidth, uint32_t minHeight)
{
    CxIOFile file;
    if (!file.Open(fileName, "rb")) {
        SetLastError(qt_error_string(errno));
        return false;
    }
    if (QFileInfo(fileName).isDir()) {
        SetLastError(qt_error_string(EISDIR));
        return false;
    }
    // A file that announces its format is decoded as that format, so a damaged JPEG is
    // reported in the JPEG decoder's words whatever the caller asked for.
    const uint32_t signature = SignatureFormat(file);
    const bool named = format == CXIMAGE_FORMAT_BMP || format == CXIMAGE_FORMAT_JPG
            || format == CXIMAGE_FORMAT_PNG || format == CXIMAGE_FORMAT_TIF;
    if (named && (signature == format || signature == CXIMAGE_FORMAT_UNKNOWN)) {
        if (DecodeAs(&file, format, minWidth, minHeight))
            return true;
        if (signature == format)
            return false;
        file.Seek(0, SEEK_SET);
    }
    if (signature != CXIMAGE_FORMAT_UNKNOWN)
        return DecodeAs(&file, signature, minWidth, minHeight);

    if (DecodeAs(&file, CXIMAGE_FORMAT_UNKNOWN, minWidth, minHeight))
        return true;
    // No decoder knows the content: say what it is rather than what a decoder missed in it,
    // whatever the name promised.
    file.Seek(0, SEEK_SET);
    SetLastError(ContentDescription(file));
    return false;
}

bool CxImage::Encode(CxFile* file, uint32_t format)
{
    if (format == CXIMAGE_FORMAT_BMP)
        return CBmpCodec::Encode(file, *this);
    if (format == CXIMAGE_FORMAT_JPG)
        return CJpegCodec::Encode(file, *this);
    if (format == CXIMAGE_FORMAT_PNG)
        return CPngCodec::Encode(file, *this);
    if (format == CXIMAGE_FORMAT_TIF)
        return CTiffCodec::Encode(file, *this);
    SetLastError("Encode: Unknown format");
    return false;
}

bool CxImage::SaveFile(const QString& fileName, uint32_t format)
{
    // An existing file is replaced only by a whole picture; a cut-off one never appears.
    CAtomicFile file(fileName);
    if (!file.Open()) {
        SetLastError(file.ErrorString());
        return false;
    }
    CxAtomicFile stream(file);
    if (!Encode(&stream, format)) {
        if (file.Failed())
            SetLastError(file.ErrorString());
        file.Cancel();
        return false;
    }
    if (!file.Commit()) {
        SetLastError(file.ErrorString());
        return false;
    }
    return true;
}

#pragma once

#include "image/PictureScale.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

class CxFile;

inline constexpr uint32_t CXIMAGE_FORMAT_UNKNOWN = 0;
inline constexpr uint32_t CXIMAGE_FORMAT_BMP = 1;
inline constexpr uint32_t CXIMAGE_FORMAT_JPG = 3;
inline constexpr uint32_t CXIMAGE_FORMAT_PNG = 4;
inline constexpr uint32_t CXIMAGE_FORMAT_TIF = 6;

// 256 MiB: the largest pixel area Create accepts.
inline constexpr uint32_t CXIMAGE_MAX_MEMORY = 268435456;

// The 40-byte info header as it sits at the front of the DIB block and in BMP files.
#pragma pack(push, 1)
struct CxBitmapInfoHeader
{
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
#pragma pack(pop)
static_assert(sizeof(CxBitmapInfoHeader) == 40);

// The program's one in-memory picture: a packed DIB (info header, palette, rows bottom-up, each
// row padded to 4 bytes). 24-bit rows are blue, green, red, the layout of every frame buffer.
class CxImage
{
public:
    explicit CxImage(uint32_t format = CXIMAGE_FORMAT_UNKNOWN);
    CxImage(const QString& fileName, uint32_t format);
    CxImage(const CxImage& other);
    CxImage& operator=(const CxImage& other);
    CxImage(CxImage&& other) noexcept;
    CxImage& operator=(CxImage&& other) noexcept;
    ~CxImage();

    bool CopyFrom(const CxImage& source, bool copyPixels = true, bool copySelection = true,
            bool copyAlpha = true);
    void Destroy();

    uint8_t* Create(uint32_t width, uint32_t height, uint32_t bpp,
            uint32_t format = CXIMAGE_FORMAT_UNKNOWN);
    bool CreateFromBuffer(const uint8_t* buffer, uint32_t width, uint32_t height, uint32_t bpp,
            uint32_t sourceStride, bool flip);

    uint32_t Width() const { return m_dib ? uint32_t(m_head.biWidth) : 0; }
    uint32_t Height() const { return m_dib ? uint32_t(m_head.biHeight) : 0; }
    uint16_t Bpp() const { return m_dib ? m_head.biBitCount : 0; }
    // Bytes per stored row, padded to a multiple of 4.
    uint32_t Stride() const { return m_stride; }
    bool HasPixels() const { return m_dib != nullptr; }
    // This picture at 24 bits per pixel (palette pictures through their palette); false
    // without pixels or for a depth that has no palette.
    bool ToTrueColour(CxImage& dst) const;
    uint8_t* RowBits(uint32_t row = 0);
    const uint8_t* RowBits(uint32_t row = 0) const;

    // The whole block: header, palette, rows. Size 0 when empty.
    const uint8_t* Dib() const { return m_dib.get(); }
    size_t DibSize() const { return m_dibSize; }
    const CxBitmapInfoHeader& Header() const { return m_head; }

    // Palette entries are B, G, R, 0; none for 24-bit images.
    uint32_t NumColors() const { return m_dib ? m_head.biClrUsed : 0; }
    uint8_t* Palette();
    const uint8_t* Palette() const;
    void SetPaletteColor(uint8_t index, uint8_t r, uint8_t g, uint8_t b);
    void SetGrayPalette();
    bool IsGrayScale() const;

    uint32_t Type() const { return m_format; }
    void SetType(uint32_t format) { m_format = format; }

    int32_t XDpi() const { return m_xDpi; }
    int32_t YDpi() const { return m_yDpi; }
    void SetXDpi(int32_t dpi);
    void SetYDpi(int32_t dpi);

    void SetJpegQualityLevel(float quality);
    float JpegQualityLevel() const { return m_jpegQuality; }
    // Full colour resolution (4:4:4) instead of colour sampled at half size both ways.
    void SetJpegFullColour(bool on) { m_jpegFullColour = on; }
    bool JpegFullColour() const { return m_jpegFullColour; }

    // The pixel size the file carried, or the one to write into PNG and TIFF files; invalid
    // when there is none.
    const CPictureScale& PictureScale() const { return m_scale; }
    void SetPictureScale(const CPictureScale& scale) { m_scale = scale; }

    // Turns the pixels the way an EXIF orientation tag (1 to 8) says, so the picture stands
    // upright; other values leave it as it is.
    bool ApplyOrientation(int exifOrientation);

    // Palette pictures (grey JPEGs, 8-bit bitmaps) become 24-bit; a 24-bit one stays as it is.
    bool WidenTo24();
    bool FlipVertical();
    bool MakeThumbnail(
            int32_t width, int32_t height, uint32_t canvasColor, CxImage* destination = nullptr);

    bool LoadFile(const QString& fileName, uint32_t format = CXIMAGE_FORMAT_UNKNOWN);
    // For thumbnails: a JPEG is decoded reduced by 1/8, 1/4 or 1/2, the most that still covers
    // minWidth x minHeight; other files load whole.
    bool LoadFileScaled(const QString& fileName, uint32_t minWidth, uint32_t minHeight);
    // The format the first bytes of the file announce; unknown for a bare bitmap header.
    static uint32_t SignatureFormat(CxFile& file);
    // What a file no decoder takes holds, for the user: text, a GIF, nothing, or not a picture.
    static QString ContentDescription(CxFile& file);
    // By the name's extension (.bmp, .jpg/.jpeg, .png, .tif/.tiff); unknown otherwise.
    static uint32_t FormatFromName(const QString& fileName);
    bool SaveFile(const QString& fileName, uint32_t format);
    bool Decode(CxFile* file, uint32_t format);
    bool Encode(CxFile* file, uint32_t format);

    // The codecs' texts, or the system's reason (UTF-8) when the file itself failed.
    QString LastError() const { return QString::fromUtf8(m_lastError); }
    const char* LastErrorText() const { return m_lastError; }
    void SetLastError(const char* text);
    void SetLastError(const QString& text);

private:
    struct FreeBlock
    {
        void operator()(uint8_t* p) const { std::free(p); }
    };

    bool DecodeAs(CxFile* file, uint32_t format, uint32_t minWidth, uint32_t minHeight);
    bool LoadFileImpl(
            const QString& fileName, uint32_t format, uint32_t minWidth, uint32_t minHeight);
    void SyncHeader();

    std::unique_ptr<uint8_t, FreeBlock> m_dib;
    size_t m_dibSize = 0;
    CxBitmapInfoHeader m_head;
    uint32_t m_stride = 0;
    uint8_t* m_bits = nullptr;
    uint32_t m_format = CXIMAGE_FORMAT_UNKNOWN;
    int32_t m_xDpi = 96;
    int32_t m_yDpi = 96;
    float m_jpegQuality = 90.0f;
    bool m_jpegFullColour = false;
    CPictureScale m_scale;
    char m_lastError[256] = {};
};

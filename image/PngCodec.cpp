#include "image/PngCodec.h"

#include "image/xFile.h"
#include "image/xImage.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// libpng reports errors by long-jumping out of its calls: the guarded functions below keep
// nothing with a destructor alive, and everything they allocate hangs off the context.

namespace {

constexpr uint32_t kMaxSide = 1u << 20;
// The one ancillary chunk read is the calibration text, a few hundred bytes; anything larger is
// skipped unread, whatever length it declares.
constexpr png_alloc_size_t kMaxChunkBytes = 64u << 10;
constexpr size_t kMaxScaleText = 4096;
// zlib's deflate packs at most 1032 bytes into one; a picture declaring more data than that
// allows from the bytes left in the file cannot be whole, and is refused before its pixels are
// allocated.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kInflateSlack = 64u << 10;
// libpng reads each of these into memory at the size it declares (past its own warning); handled as
// unknown chunks they pass through the size limit above. Only tEXt is looked at.
constexpr png_byte kSkippedChunks[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0hIST\0sCAL\0pCAL\0"
                                      "tIME\0bKGD\0sBIT\0gAMA\0cHRM\0sRGB\0oFFs\0";

struct Context
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_infop endInfo = nullptr;
    png_bytep* rows = nullptr;
    uint8_t* withAlpha = nullptr; // the decoded pixels with their alpha, before compositing
    CxFile* file = nullptr;
    char message[256] = {};
    char scaleText[kMaxScaleText] = {}; // the last calibration text chunk's text
    size_t scaleLength = 0;
};

[[noreturn]] void errorFn(png_structp png, png_const_charp text)
{
    auto* ctx = static_cast<Context*>(png_get_error_ptr(png));
    std::snprintf(ctx->message, sizeof(ctx->message), "PNG: %s", text ? text : "error");
    png_longjmp(png, 1);
}

void warningFn(png_structp, png_const_charp) { }

void readFn(png_structp png, png_bytep data, size_t length)
{
    auto* ctx = static_cast<Context*>(png_get_io_ptr(png));
    if (ctx->file->Read(data, 1, length) != length)
        png_error(png, "file ends early");
}

void writeFn(png_structp png, png_bytep data, size_t length)
{
    auto* ctx = static_cast<Context*>(png_get_io_ptr(png));
    if (ctx->file->Write(data, 1, length) != length)
        png_error(png, "write failed");
}

void flushFn(png_structp png)
{
    auto* ctx = static_cast<Context*>(png_get_io_ptr(png));
    if (!ctx->file->Flush())
        png_error(png, "write failed");
}

bool allocRows(Context& ctx, CxImage& image)
{
    const uint32_t h = image.Height();
    ctx.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * h));
    if (!ctx.rows)
        return false;
    // Top of the picture is the last stored row.
    for (uint32_t y = 0; y < h; ++y)
        ctx.rows[y] = image.RowBits(h - 1 - y);
    return true;
}

// Sees every ancillary chunk not handled by libpng itself, already within kMaxChunkBytes, and
// keeps the text of a calibration chunk; the rest is dropped.
int readChunk(png_structp png, png_unknown_chunkp chunk)
{
    auto* ctx = static_cast<Context*>(png_get_user_chunk_ptr(png));
    if ((chunk->name[0] & 0x20) == 0)
        return 0; // an unknown critical chunk: the picture cannot be read
    if (std::memcmp(chunk->name, "tEXt", 4) != 0 || !chunk->data)
        return 1;
    const size_t keyLength = std::strlen(CPictureScale::kPngKeyword);
    if (chunk->size <= keyLength || chunk->data[keyLength] != 0
            || std::memcmp(chunk->data, CPictureScale::kPngKeyword, keyLength) != 0)
        return 1;
    const size_t length = chunk->size - keyLength - 1;
    if (length < sizeof(ctx->scaleText)) {
        std::memcpy(ctx->scaleText, chunk->data + keyLength + 1, length);
        ctx->scaleLength = length;
    }
    return 1;
}

void readScale(const Context& ctx, CxImage& image)
{
    if (!ctx.scaleLength)
        return;
    const CPictureScale scale =
            CPictureScale::FromPngText(QByteArray(ctx.scaleText, qsizetype(ctx.scaleLength)));
    if (scale.IsValid())
        image.SetPictureScale(scale);
}

void refuseShortData(Context& ctx)
{
    const int64_t size = ctx.file->Size(), at = ctx.file->Tell();
    if (size < 0 || at < 0 || at > size)
        return;
    const uint64_t rawBytes = (uint64_t(png_get_rowbytes(ctx.png, ctx.info)) + 1)
            * png_get_image_height(ctx.png, ctx.info);
    if (rawBytes > uint64_t(size - at) * kMaxInflateRatio + kInflateSlack)
        png_error(ctx.png, "file is too short for its picture size");
}

bool decodeGuarded(Context& ctx, CxImage& image)
{
    if (setjmp(png_jmpbuf(ctx.png)))
        return false;
    png_set_read_fn(ctx.png, &ctx, readFn);
    png_set_user_limits(ctx.png, kMaxSide, kMaxSide);
    png_set_chunk_malloc_max(ctx.png, kMaxChunkBytes);
    png_set_keep_unknown_chunks(ctx.png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(
            ctx.png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks, int(sizeof(kSkippedChunks) / 5));
    png_set_read_user_chunk_fn(ctx.png, &ctx, readChunk);
    png_read_info(ctx.png, ctx.info);
    refuseShortData(ctx);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(
            ctx.png, ctx.info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
    const bool grey = (colorType & PNG_COLOR_MASK_COLOR) == 0;
    if (depth == 16)
        png_set_scale_16(ctx.png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(ctx.png);
    if (grey && depth < 8)
        png_set_expand_gray_1_2_4_to_8(ctx.png);
    if (png_get_valid(ctx.png, ctx.info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(ctx.png);
    if (!grey)
        png_set_bgr(ctx.png);
    png_set_interlace_handling(ctx.png);
    png_read_update_info(ctx.png, ctx.info);

    const uint32_t colours = grey ? 1u : 3u;
    const uint32_t channels = png_get_channels(ctx.png, ctx.info);
    const bool alpha = channels == colours + 1;
    if ((channels != colours && !alpha) || png_get_bit_depth(ctx.png, ctx.info) != 8)
        png_error(ctx.png, "unsupported pixel layout");
    if (!image.Create(width, height, grey ? 8 : 24, CXIMAGE_FORMAT_PNG)) {
        std::snprintf(ctx.message, sizeof(ctx.message), "%s", image.LastErrorText());
        return false;
    }
    if (grey)
        image.SetGrayPalette();
    if (!alpha) {
        if (!allocRows(ctx, image))
            png_error(ctx.png, "out of memory");
        png_read_image(ctx.png, ctx.rows);
    } else {
        // Transparency is shown over white, blended as a viewer blends it.
        const size_t rowBytes = size_t(width) * channels;
        ctx.withAlpha = static_cast<uint8_t*>(std::malloc(rowBytes * height));
        ctx.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
        if (!ctx.withAlpha || !ctx.rows)
            png_error(ctx.png, "out of memory");
        for (uint32_t y = 0; y < height; ++y)
            ctx.rows[y] = ctx.withAlpha + rowBytes * y;
        png_read_image(ctx.png, ctx.rows);
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* s = ctx.rows[y];
            uint8_t* d = image.RowBits(height - 1 - y);
            for (uint32_t x = 0; x < width; ++x, s += channels, d += colours) {
                const uint32_t a = s[colours];
                for (uint32_t c = 0; c < colours; ++c)
                    d[c] = uint8_t((s[c] * a + 255 * (255 - a) + 127) / 255);
            }
        }
    }
    png_read_end(ctx.png, ctx.endInfo);

    png_uint_32 xPerMetre = 0, yPerMetre = 0;
    int unit = 0;
    if (png_get_pHYs(ctx.png, ctx.info, &xPerMetre, &yPerMetre, &unit)
            && unit == PNG_RESOLUTION_METER && xPerMetre && yPerMetre) {
        image.SetXDpi(int32_t(std::min(std::floor(xPerMetre * 0.0254 + 0.5), 1e9)));
        image.SetYDpi(int32_t(std::min(std::floor(yPerMetre * 0.0254 + 0.5), 1e9)));
    }
    readScale(ctx, image);
    return true;
}

bool encodeGuarded(Context& ctx, CxImage& image, const QByteArray& scaleText)
{
    if (setjmp(png_jmpbuf(ctx.png)))
        return false;
    png_set_write_fn(ctx.png, &ctx, writeFn, flushFn);
    // Speed over the last few per cent of size: a 5-megapixel frame saves in a blink.
    png_set_compression_level(ctx.png, 3);
    const bool grey = image.Bpp() == 8;
    png_set_IHDR(ctx.png, ctx.info, image.Width(), image.Height(), 8,
            grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
            PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);

    const CPictureScale& scale = image.PictureScale();
    uint32_t xPerMetre = scale.PixelsPerMetreX(), yPerMetre = scale.PixelsPerMetreY();
    if (!xPerMetre || !yPerMetre) {
        xPerMetre = uint32_t(std::lround(image.XDpi() / 0.0254));
        yPerMetre = uint32_t(std::lround(image.YDpi() / 0.0254));
    }
    png_set_pHYs(ctx.png, ctx.info, xPerMetre, yPerMetre, PNG_RESOLUTION_METER);
    png_text text {};
    if (!scaleText.isEmpty()) {
        text.compression = PNG_TEXT_COMPRESSION_NONE;
        text.key = const_cast<png_charp>(CPictureScale::kPngKeyword);
        text.text = const_cast<png_charp>(scaleText.constData());
        text.text_length = size_t(scaleText.size());
        png_set_text(ctx.png, ctx.info, &text, 1);
    }
    png_write_info(ctx.png, ctx.info);
    if (!grey)
        png_set_bgr(ctx.png);
    if (!allocRows(ctx, image))
        png_error(ctx.png, "out of memory");
    png_write_image(ctx.png, ctx.rows);
    png_write_end(ctx.png, ctx.info);
    return true;
}

} // namespace

bool CPngCodec::Decode(CxFile& file, CxImage& image)
{
    image.Destroy();
    Context ctx;
    ctx.file = &file;
    ctx.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &ctx, errorFn, warningFn);
    if (ctx.png) {
        ctx.info = png_create_info_struct(ctx.png);
        ctx.endInfo = png_create_info_struct(ctx.png);
    }
    bool ok = false;
    if (!ctx.png || !ctx.info || !ctx.endInfo)
        std::snprintf(ctx.message, sizeof(ctx.message), "PNG: out of memory");
    else
        ok = decodeGuarded(ctx, image);
    png_destroy_read_struct(&ctx.png, &ctx.info, &ctx.endInfo);
    std::free(ctx.rows);
    std::free(ctx.withAlpha);
    if (!ok) {
        image.Destroy();
        image.SetLastError(ctx.message);
    }
    return ok;
}

bool CPngCodec::Encode(CxFile* file, CxImage& image)
{
    if (!file) {
        image.SetLastError("null file handler");
        return false;
    }
    if (!image.HasPixels()) {
        image.SetLastError("null image!!!");
        return false;
    }
    // Grey pictures stay grey; any other palette picture is written in full colour.
    CxImage wide;
    CxImage* source = &image;
    if (image.Bpp() != 24 && !image.IsGrayScale()) {
        if (!image.ToTrueColour(wide)) {
            image.SetLastError("PNG: unsupported pixel depth");
            return false;
        }
        source = &wide;
    }
    const QByteArray scaleText = image.PictureScale().PngText();
    Context ctx;
    ctx.file = file;
    ctx.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, errorFn, warningFn);
    if (ctx.png)
        ctx.info = png_create_info_struct(ctx.png);
    bool ok = false;
    if (!ctx.png || !ctx.info)
        std::snprintf(ctx.message, sizeof(ctx.message), "PNG: out of memory");
    else
        ok = encodeGuarded(ctx, *source, scaleText);
    png_destroy_write_struct(&ctx.png, &ctx.info);
    std::free(ctx.rows);
    if (!ok)
        image.SetLastError(ctx.message);
    return ok;
}

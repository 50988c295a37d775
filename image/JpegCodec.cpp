#include "image/JpegCodec.h"

#include "image/xFile.h"
#include "image/xImage.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

// Everything libjpeg can long-jump over is plain data: the contexts below are trivial structs,
// and the functions holding a setjmp keep no object with a destructor alive.

namespace {

constexpr size_t kBufferSize = 16384;
// Progressive files can carry any number of scans; real ones have about ten.
constexpr int kMaxScans = 500;
// Whole-image coefficient buffers of progressive files are bounded too.
constexpr long kMaxLibjpegMemory = 1024L * 1024 * 1024;
// A progressive file's first scan codes every block of a component in at least one bit, so its
// coefficients (128 bytes a block) cannot outgrow its bytes by much more than this; a header
// declaring more from a few bytes of data is refused before libjpeg allocates for it.
constexpr uint64_t kMaxCoefficientsPerByte = 4096;
constexpr uint64_t kCoefficientSlack = 64u << 20;

struct ErrorManager
{
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

[[noreturn]] void failWith(j_common_ptr cinfo, const char* text)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof(err->message), "%s", text);
    std::longjmp(err->jump, 1);
}

// Warnings (corrupt but decodable data) are not worth a line on stderr.
void outputMessage(j_common_ptr) { }

struct Source
{
    jpeg_source_mgr pub;
    CxFile* file;
    JOCTET* buffer;
};

void initSource(j_decompress_ptr) { }

boolean fillInputBuffer(j_decompress_ptr cinfo)
{
    auto* src = reinterpret_cast<Source*>(cinfo->src);
    const size_t n = src->file->Read(src->buffer, 1, kBufferSize);
    // A file that ends early is an error, not a picture padded with grey.
    if (n == 0)
        ERREXIT(cinfo, JERR_INPUT_EOF);
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = n;
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count)
{
    auto* src = reinterpret_cast<Source*>(cinfo->src);
    if (count <= 0)
        return;
    while (count > long(src->pub.bytes_in_buffer)) {
        count -= long(src->pub.bytes_in_buffer);
        fillInputBuffer(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= size_t(count);
}

void termSource(j_decompress_ptr) { }

void progressMonitor(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor
            && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        failWith(cinfo, "JPEG: too many scans");
}

struct Destination
{
    jpeg_destination_mgr pub;
    CxFile* file;
    JOCTET* buffer;
};

void initDestination(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferSize;
}

boolean emptyOutputBuffer(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    if (dest->file->Write(dest->buffer, 1, kBufferSize) != kBufferSize)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferSize;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo)
{
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    const size_t n = kBufferSize - dest->pub.free_in_buffer;
    if (n > 0 && dest->file->Write(dest->buffer, 1, n) != n)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    if (!dest->file->Flush())
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

struct DecodeContext
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    Source src;
    jpeg_progress_mgr progress;
    int orientation;
};

struct EncodeContext
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    Destination dest;
};

uint16_t exif16(const uint8_t* p, bool big)
{
    return big ? uint16_t((p[0] << 8) | p[1]) : uint16_t(p[0] | (p[1] << 8));
}

uint32_t exif32(const uint8_t* p, bool big)
{
    return big ? (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]
               : uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16)
                    | (uint32_t(p[3]) << 24);
}

struct ExifFacts
{
    double xDpi = 0;
    double yDpi = 0;
    int orientation = 1;
};

// Resolution and orientation from the first IFD of an EXIF block; false when it is none.
bool exifFacts(const uint8_t* data, size_t size, ExifFacts& facts)
{
    if (size < 14 || std::memcmp(data, "Exif\0\0", 6) != 0)
        return false;
    const uint8_t* tiff = data + 6;
    const size_t n = size - 6;
    bool big;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        big = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M')
        big = true;
    else
        return false;
    const uint32_t ifd = exif32(tiff + 4, big);
    if (ifd > n || n - ifd < 2)
        return false;
    const uint32_t entries = exif16(tiff + ifd, big);
    double x = 0, y = 0;
    uint32_t unit = 2;
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t at = size_t(ifd) + 2 + size_t(i) * 12;
        if (at + 12 > n)
            break;
        const uint8_t* e = tiff + at;
        const uint16_t tag = exif16(e, big), type = exif16(e + 2, big);
        if ((tag == 0x011A || tag == 0x011B) && type == 5) {
            const uint32_t off = exif32(e + 8, big);
            if (off > n || n - off < 8)
                continue;
            const uint32_t num = exif32(tiff + off, big), den = exif32(tiff + off + 4, big);
            if (den == 0)
                continue;
            (tag == 0x011A ? x : y) = double(num) / den;
        } else if (tag == 0x0128 && type == 3) {
            unit = exif16(e + 8, big);
        } else if (tag == 0x0112 && type == 3) {
            facts.orientation = exif16(e + 8, big);
        }
    }
    const double toInch = unit == 3 ? 2.54 : 1.0;
    facts.xDpi = x * toInch;
    facts.yDpi = y * toInch;
    return true;
}

int32_t dpiValue(double dpi)
{
    return int32_t(std::clamp(std::floor(dpi + 0.5), 0.0, double(INT32_MAX)));
}

void applyDensity(jpeg_decompress_struct& cinfo, CxImage& image)
{
    switch (cinfo.density_unit) {
    case 1:
        image.SetXDpi(cinfo.X_density);
        image.SetYDpi(cinfo.Y_density);
        break;
    case 2:
        image.SetXDpi(int32_t(std::floor(cinfo.X_density * 2.54 + 0.5)));
        image.SetYDpi(int32_t(std::floor(cinfo.Y_density * 2.54 + 0.5)));
        break;
    case 0:
        if (cinfo.X_density && cinfo.Y_density)
            image.SetYDpi(int32_t(std::min<int64_t>(
                    int64_t(image.XDpi()) * cinfo.Y_density / cinfo.X_density, INT32_MAX)));
        break;
    default:
        break;
    }
}

// Returns the EXIF orientation (1 when the file has none).
int applyResolution(jpeg_decompress_struct& cinfo, CxImage& image)
{
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        ExifFacts facts;
        if (m->marker != JPEG_APP0 + 1 || !exifFacts(m->data, m->data_length, facts))
            continue;
        if (facts.xDpi > 0 || facts.yDpi > 0) {
            image.SetXDpi(dpiValue(facts.xDpi));
            image.SetYDpi(dpiValue(facts.yDpi));
            return facts.orientation;
        }
        applyDensity(cinfo, image);
        return facts.orientation;
    }
    applyDensity(cinfo, image);
    return 1;
}

bool decodeGuarded(DecodeContext& ctx, JOCTET* buffer, CxFile& file, CxImage& image,
        uint32_t minWidth, uint32_t minHeight)
{
    jpeg_decompress_struct& cinfo = ctx.cinfo;
    cinfo.err = jpeg_std_error(&ctx.err.pub);
    ctx.err.pub.error_exit = errorExit;
    ctx.err.pub.output_message = outputMessage;
    if (setjmp(ctx.err.jump))
        return false;
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
    ctx.src.pub.init_source = initSource;
    ctx.src.pub.fill_input_buffer = fillInputBuffer;
    ctx.src.pub.skip_input_data = skipInputData;
    ctx.src.pub.resync_to_restart = jpeg_resync_to_restart;
    ctx.src.pub.term_source = termSource;
    ctx.src.file = &file;
    ctx.src.buffer = buffer;
    cinfo.src = &ctx.src.pub;
    ctx.progress.progress_monitor = progressMonitor;
    cinfo.progress = &ctx.progress;
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);

    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.progressive_mode && !cinfo.arith_code) {
        uint64_t coefficientBytes = 0;
        for (int c = 0; c < cinfo.num_components; ++c)
            coefficientBytes += uint64_t(cinfo.comp_info[c].width_in_blocks)
                    * cinfo.comp_info[c].height_in_blocks * DCTSIZE2 * sizeof(JCOEF);
        const int64_t size = file.Size();
        if (size >= 0
                && coefficientBytes > uint64_t(size) * kMaxCoefficientsPerByte + kCoefficientSlack)
            failWith(reinterpret_cast<j_common_ptr>(&cinfo),
                    "JPEG: file is too short for its picture size");
    }
    uint32_t bpp = 24;
    switch (cinfo.num_components) {
    case 3:
        cinfo.out_color_space = JCS_EXT_BGR;
        break;
    case 1:
        cinfo.out_color_space = JCS_GRAYSCALE;
        bpp = 8;
        break;
    case 4:
        cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        failWith(reinterpret_cast<j_common_ptr>(&cinfo), "JPEG: unsupported number of components");
    }
    if (minWidth && minHeight) {
        for (unsigned denom = 8; denom > 1; denom /= 2) {
            if ((cinfo.image_width + denom - 1) / denom >= minWidth
                    && (cinfo.image_height + denom - 1) / denom >= minHeight) {
                cinfo.scale_num = 1;
                cinfo.scale_denom = denom;
                break;
            }
        }
    }
    jpeg_calc_output_dimensions(&cinfo);
    // The picture's own limits apply before libjpeg allocates anything for the whole image.
    if (!image.Create(cinfo.output_width, cinfo.output_height, bpp, CXIMAGE_FORMAT_JPG))
        failWith(reinterpret_cast<j_common_ptr>(&cinfo), image.LastErrorText());
    if (bpp == 8)
        image.SetGrayPalette();
    ctx.orientation = applyResolution(cinfo, image);

    jpeg_start_decompress(&cinfo);
    const uint32_t height = image.Height();
    if (cinfo.out_color_space == JCS_CMYK) {
        JSAMPARRAY cmyk = (*cinfo.mem->alloc_sarray)(
                reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, cinfo.output_width * 4, 1);
        while (cinfo.output_scanline < height) {
            const uint32_t y = cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, cmyk, 1);
            uint8_t* d = image.RowBits(height - 1 - y);
            const JSAMPLE* s = cmyk[0];
            for (uint32_t x = 0; x < cinfo.output_width; ++x, s += 4, d += 3) {
                d[2] = uint8_t(s[0] * s[3] / 255);
                d[1] = uint8_t(s[1] * s[3] / 255);
                d[0] = uint8_t(s[2] * s[3] / 255);
            }
        }
    } else {
        // Top of the picture goes to the last stored row.
        JSAMPROW rows[16];
        while (cinfo.output_scanline < height) {
            const uint32_t y = cinfo.output_scanline;
            const uint32_t n = std::min<uint32_t>(16, height - y);
            for (uint32_t i = 0; i < n; ++i)
                rows[i] = image.RowBits(height - 1 - (y + i));
            jpeg_read_scanlines(&cinfo, rows, n);
        }
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

bool encodeGuarded(EncodeContext& ctx, JOCTET* buffer, CxFile& file, CxImage& image)
{
    jpeg_compress_struct& cinfo = ctx.cinfo;
    cinfo.err = jpeg_std_error(&ctx.err.pub);
    ctx.err.pub.error_exit = errorExit;
    ctx.err.pub.output_message = outputMessage;
    if (setjmp(ctx.err.jump))
        return false;
    jpeg_create_compress(&cinfo);
    ctx.dest.pub.init_destination = initDestination;
    ctx.dest.pub.empty_output_buffer = emptyOutputBuffer;
    ctx.dest.pub.term_destination = termDestination;
    ctx.dest.file = &file;
    ctx.dest.buffer = buffer;
    cinfo.dest = &ctx.dest.pub;

    cinfo.image_width = image.Width();
    cinfo.image_height = image.Height();
    if (image.Bpp() == 24) {
        // libjpeg-turbo takes the stored blue-green-red order as it is.
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_EXT_BGR;
    } else {
        cinfo.input_components = 1;
        cinfo.in_color_space = JCS_GRAYSCALE;
    }
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, int(image.JpegQualityLevel() + 0.5f), FALSE);
    const int sampling = image.JpegFullColour() ? 1 : 2;
    cinfo.comp_info[0].h_samp_factor = sampling;
    cinfo.comp_info[0].v_samp_factor = sampling;
    for (int i = 1; i < cinfo.num_components; ++i) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    cinfo.density_unit = 1;
    cinfo.X_density = UINT16(std::clamp(image.XDpi(), 1, 65535));
    cinfo.Y_density = UINT16(std::clamp(image.YDpi(), 1, 65535));

    jpeg_start_compress(&cinfo, TRUE);
    const uint32_t height = image.Height();
    JSAMPROW rows[16];
    while (cinfo.next_scanline < height) {
        const uint32_t y = cinfo.next_scanline;
        const uint32_t n = std::min<uint32_t>(16, height - y);
        for (uint32_t i = 0; i < n; ++i)
            rows[i] = image.RowBits(height - 1 - (y + i));
        jpeg_write_scanlines(&cinfo, rows, n);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

bool CJpegCodec::Decode(CxFile& file, CxImage& image, uint32_t minWidth, uint32_t minHeight)
{
    image.Destroy();
    JOCTET buffer[kBufferSize];
    DecodeContext ctx {};
    const bool ok = decodeGuarded(ctx, buffer, file, image, minWidth, minHeight);
    jpeg_destroy_decompress(&ctx.cinfo);
    if (!ok) {
        image.Destroy();
        image.SetLastError(ctx.err.message);
        return false;
    }
    // A camera held on its side says so in the EXIF block; the picture is shown upright.
    return image.ApplyOrientation(ctx.orientation);
}

bool CJpegCodec::Encode(CxFile* file, CxImage& image)
{
    if (!file) {
        image.SetLastError("null file handler");
        return false;
    }
    if (!image.HasPixels()) {
        image.SetLastError("null image!!!");
        return false;
    }
    if (image.Bpp() != 24 && !image.IsGrayScale()) {
        image.SetLastError("JPEG can save only RGB or GreyScale images");
        return false;
    }
    JOCTET buffer[kBufferSize];
    EncodeContext ctx {};
    const bool ok = encodeGuarded(ctx, buffer, *file, image);
    jpeg_destroy_compress(&ctx.cinfo);
    if (!ok)
        image.SetLastError(ctx.err.message);
    return ok;
}

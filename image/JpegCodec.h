#pragma once

#include <cstdint>

class CxFile;
class CxImage;

// JPEG reading and writing for CxImage through libjpeg (API 62). Failures leave libjpeg's
// message or the codec's own text in the image's last error.
class CJpegCodec
{
public:
    // With minWidth and minHeight set, decodes reduced by 1/8, 1/4 or 1/2, the most that
    // still covers that size (thumbnails).
    static bool Decode(CxFile& file, CxImage& image, uint32_t minWidth = 0, uint32_t minHeight = 0);
    static bool Encode(CxFile* file, CxImage& image);
};

#include "image/xIOFile.h"
#include "image/xImage.h"

#include <cstdio>
#include <cstdlib>

// Decodes one input as a file stream, then pushes a decoded picture through the encoders and the
// thumbnail code, which must cope with any depth and size a decoder accepts.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!in)
        return 0;
    CxImage img;
    bool ok;
    {
        CxIOFile file(in);
        ok = img.Decode(&file, KALVEX_FUZZ_FORMAT);
    }
    std::fclose(in);
    if (!ok) {
        if (img.HasPixels())
            std::abort(); // a failed decode must leave the picture empty
        return 0;
    }
    if (uint64_t(img.Width()) * img.Height() > 250000)
        return 0;
    char* buffer = nullptr;
    size_t length = 0;
    FILE* out = open_memstream(&buffer, &length);
    if (out) {
        CxIOFile file(out);
        img.Encode(&file, CXIMAGE_FORMAT_BMP);
        img.Encode(&file, CXIMAGE_FORMAT_JPG);
        std::fclose(out);
        std::free(buffer);
    }
    img.MakeThumbnail(37, 23, 0x00336699);
    return 0;
}

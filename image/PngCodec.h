#pragma once

class CxFile;
class CxImage;

// PNG reading and writing for CxImage through libpng. Reads every colour type and depth
// (16-bit scaled to 8, transparency shown over white); writes 24-bit colour or 8-bit grey with
// the resolution and, when the picture has one, its calibration. Failures leave libpng's message
// or the codec's own text in the image's last error.
class CPngCodec
{
public:
    static bool Decode(CxFile& file, CxImage& image);
    static bool Encode(CxFile* file, CxImage& image);
};

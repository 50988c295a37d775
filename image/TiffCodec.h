#pragma once

class CxFile;
class CxImage;

// TIFF reading and writing for CxImage through libtiff. Reads the first picture of any file
// libtiff can turn into colour (strips or tiles, any compression it knows, 16-bit scaled,
// transparency over white); writes LZW-compressed 24-bit colour or 8-bit grey with the
// resolution tags and, for a calibrated picture, the pixel size and unit the way ImageJ
// writes them. Failures leave libtiff's message in the image's last error.
class CTiffCodec
{
public:
    static bool Decode(CxFile& file, CxImage& image);
    static bool Encode(CxFile* file, CxImage& image);
};

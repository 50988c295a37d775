#pragma once

class CxFile;
class CxImage;

// BMP reading and writing for CxImage. Failures leave the text in the image's last error.
class CBmpCodec
{
public:
    static bool Decode(CxFile& file, CxImage& image);
    static bool Encode(CxFile* file, CxImage& image);
};

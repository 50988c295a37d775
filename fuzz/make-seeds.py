#!/usr/bin/env python3
"""Writes the small seed pictures the image fuzz targets start from (fuzz/corpus/)."""
import os
import struct
import subprocess
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
bmp_dir = os.path.join(here, "corpus", "bmp")
jpg_dir = os.path.join(here, "corpus", "jpeg")


def bmp(name, w, h, bpp, pixels, compression=0, palette=b"", masks=b"", core=False,
        file_header=True, colors=0):
    if core:
        info = struct.pack("<IHHHH", 12, w, h & 0xFFFF, 1, bpp)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, compression, len(pixels), 3780,
                           3780, colors, 0)
    info += masks + palette
    data = info + pixels
    if file_header:
        data = struct.pack("<2sIHHI", b"BM", 14 + len(data), 0, 0, 14 + len(info)) + data
    with open(os.path.join(bmp_dir, name), "wb") as f:
        f.write(data)


def rows(w, h, bpp, fn):
    stride = (w * bpp + 31) // 32 * 4
    out = b""
    for y in range(h):
        row = bytes(fn(x, y) & 255 for x in range((w * bpp + 7) // 8))
        out += row + bytes(stride - len(row))
    return out


def grey(n):
    return b"".join(bytes((i * 255 // max(n - 1, 1),) * 3 + (0,)) for i in range(n))


def main():
    os.makedirs(bmp_dir, exist_ok=True)
    os.makedirs(jpg_dir, exist_ok=True)
    bmp("rgb24.bmp", 5, 3, 24, rows(5, 3, 24, lambda x, y: (x * 17 + y * 5) & 255))
    bmp("topdown24.bmp", 3, -2, 24, rows(3, 2, 24, lambda x, y: x * 40))
    bmp("pal8.bmp", 6, 4, 8, rows(6, 4, 8, lambda x, y: x + y), palette=grey(16), colors=16)
    bmp("pal4.bmp", 7, 2, 4, rows(7, 2, 4, lambda x, y: 0x12 + x), palette=grey(16))
    bmp("mono.bmp", 19, 3, 1, rows(19, 3, 1, lambda x, y: 0xA5), palette=grey(2))
    bmp("core8.bmp", 4, 2, 8, rows(4, 2, 8, lambda x, y: x), core=True,
        palette=b"".join(bytes((i, i, i)) for i in range(256)))
    bmp("bare24.dib", 2, 2, 24, rows(2, 2, 24, lambda x, y: 99), file_header=False)
    rle8 = bytes([4, 1, 0, 3, 2, 3, 9, 0, 0, 0, 0, 2, 2, 1, 2, 5, 0, 1])
    bmp("rle8.bmp", 7, 3, 8, rle8, compression=1, palette=grey(16))
    rle4 = bytes([3, 0x12, 0, 3, 0x45, 0x60, 0, 0, 6, 0x77, 0, 1])
    bmp("rle4.bmp", 6, 2, 4, rle4, compression=2, palette=grey(16))
    bmp("rgb555.bmp", 3, 2, 16, rows(3, 2, 16, lambda x, y: 0x1F if x & 1 else 0x7C))
    bmp("rgb565.bmp", 3, 2, 16, rows(3, 2, 16, lambda x, y: 0xE0 if x & 1 else 0x07),
        compression=3, masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F))
    bmp("bgrx32.bmp", 2, 2, 32, rows(2, 2, 32, lambda x, y: x * 60))
    bmp("fields32.bmp", 2, 2, 32, rows(2, 2, 32, lambda x, y: x * 60), compression=3,
        masks=struct.pack("<III", 0xFF, 0xFF00, 0xFF0000))

    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "in.ppm")
        w, h = 19, 13
        with open(ppm, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (w, h))
            f.write(bytes(((x * 13 + y * 7 + c * 50) & 255) for y in range(h) for x in range(w)
                          for c in range(3)))
        variants = {
            "baseline.jpg": ["-quality", "90"],
            "q100.jpg": ["-quality", "100", "-sample", "1x1"],
            "progressive.jpg": ["-progressive"],
            "grey.jpg": ["-grayscale"],
            "optimized-restart.jpg": ["-optimize", "-restart", "1B"],
            "arith.jpg": ["-arithmetic"],
        }
        for name, args in variants.items():
            out = os.path.join(jpg_dir, name)
            subprocess.run(["cjpeg", *args, "-outfile", out, ppm], check=True)
        subprocess.run(["convert", ppm, "-colorspace", "CMYK", "-quality", "80",
                        os.path.join(jpg_dir, "cmyk.jpg")], check=True)
        # EXIF resolution block right after SOI.
        tiff = b"II*\x00" + struct.pack("<I", 8) + struct.pack("<H", 3)
        tiff += struct.pack("<HHII", 0x011A, 5, 1, 50) + struct.pack("<HHII", 0x011B, 5, 1, 58)
        tiff += struct.pack("<HHIHH", 0x0128, 3, 1, 3, 0) + struct.pack("<I", 0)
        tiff += struct.pack("<IIII", 118, 1, 236, 2)
        app1 = b"Exif\x00\x00" + tiff
        base = open(os.path.join(jpg_dir, "baseline.jpg"), "rb").read()
        with open(os.path.join(jpg_dir, "exif.jpg"), "wb") as f:
            f.write(base[:2] + b"\xFF\xE1" + struct.pack(">H", len(app1) + 2) + app1 + base[2:])


if __name__ == "__main__":
    main()

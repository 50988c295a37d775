#pragma once

#include <QByteArray>
#include <QString>

// How big one pixel of a saved picture is: the unit's short name ("um", "mm", "cm", "inch",
// "dm") and the real length of one pixel in that unit. Travels with the picture through PNG
// and TIFF files, so that other programs measure in the same scale.
struct CPictureScale
{
    QString unit;
    double xPerPixel = 0.0;
    double yPerPixel = 0.0;

    // A unit we know and two finite, positive lengths.
    bool IsValid() const;

    // The TIFF description ImageJ writes and reads ("ImageJ=...", "unit=..."); the pixel size
    // itself goes into the resolution tags. Empty for a scale that is not valid.
    QByteArray ImageJDescription() const;
    // The TIFF resolution unit matching ours: 3 centimetre, 2 inch, 1 none (the description
    // names the unit).
    int TiffResolutionUnit() const;
    // From an ImageJ description and the resolution tags (pixels per unit). Invalid when the
    // description is not ImageJ's or names no unit we can convert.
    static CPictureScale FromImageJ(
            const QByteArray& description, double xResolution, double yResolution);

    // The PNG text chunk: keyword and "unit=...", "pixel_width=...", "pixel_height=..." lines.
    static constexpr const char* kPngKeyword = "Calibration";
    QByteArray PngText() const;
    static CPictureScale FromPngText(const QByteArray& text);
    // Pixels per metre for the PNG physical-size chunk; 0 when out of its range.
    uint32_t PixelsPerMetreX() const;
    uint32_t PixelsPerMetreY() const;

    // One of our unit names for the words other programs use ("µm", "micron", "nm", "m", ...),
    // with the factor that turns a length in theirs into ours; false for an unknown unit.
    static bool NormaliseUnit(const QString& name, QString& unit, double& factor);
    static double MetresPerUnit(const QString& unit); // 0 for an unknown unit

    bool operator==(const CPictureScale&) const = default;
};

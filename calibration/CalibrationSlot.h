#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>

// One calibration: the unit, the real size of one pixel and the on-screen reference it was
// made with. Copied by value between the table, the dialog and the measurement engine.
struct CCalibrationSlot
{
    int32_t unit = 0; // index into UnitName()
    double xPerPixel = 0.0;
    double yPerPixel = 0.0;
    double xLength = 0.0;
    double yLength = 0.0;
    uint32_t left = 0;
    uint32_t right = 0;
    uint32_t top = 0;
    uint32_t bottom = 0;

    // Length over the bar's pixel extent, the differences taken as unsigned 32-bit numbers.
    void ApplyScaleRule()
    {
        ApplyScaleRuleX();
        ApplyScaleRuleY();
    }
    void ApplyScaleRuleX();
    void ApplyScaleRuleY();
    // A slot whose scale is zero, infinite or not a number measures in pixels.
    bool HasUsableScale() const;
    // The scale results are measured with: the slot's own, or one pixel per pixel in "px".
    double EffectiveXPerPixel() const { return HasUsableScale() ? xPerPixel : 1.0; }
    double EffectiveYPerPixel() const { return HasUsableScale() ? yPerPixel : 1.0; }
    QString EffectiveUnitName() const;

    // The known lengths a scale is set from, in the unit: beyond them the scale and every
    // result derived from it lose their digits or overflow.
    static constexpr double kMinKnownLength = 1e-9;
    static constexpr double kMaxKnownLength = 1e9;

    // The scale of a line (or a circle's diameter) pixels long that is length long in unit,
    // both axes alike. The reference bars are laid over the line's middle with the same
    // scale, so the slot keeps it through the table's scale rule. False for a line shorter
    // than a pixel or a length outside kMinKnownLength to kMaxKnownLength.
    static bool FromKnownLength(
            double pixels, double length, int unit, QPoint centre, CCalibrationSlot& slot);

    static QString UnitName(int unit); // "um", "mm", "cm", "inch", "dm"; "px" otherwise
    static constexpr int kUnitCount = 5;

    bool operator==(const CCalibrationSlot&) const = default;
};

#pragma once

#include "imgproc/ImageFusion.h"

#include <QString>

/// @brief How believable the map the Adjusted Merge fitted between two neighbours is. A map
/// is doubtful when it shifts the picture by more than a quarter of its size, shears or scales
/// it far from 1, or lines the pair up worse than leaving it as it is.
struct CPairMapCheck
{
    int first = 0; ///< the pair (first, first + 1)
    double shiftX = 0.0; ///< where the picture's centre goes, in pixels
    double shiftY = 0.0;
    double shear = 0.0; ///< the larger off-diagonal term
    double scale = 1.0; ///< the diagonal term farther from 1
    double mappedDifference = 0.0; ///< mean grey difference with the map
    double unmovedDifference = 0.0; ///< and without it
    bool doubtful = false;

    /// @brief Judges `map` from `from` into `to` (two views of one size).
    static CPairMapCheck Judge(
            int first, const CAffineMap& map, const CImageView& from, const CImageView& to);
    /// @brief For the user: which pair, what was found, and that Aligned Merge suits better.
    QString Warning() const;
};

#pragma once

#include "imgproc/ImageFusion.h"
#include "imgproc/SharpestSoFar.h"

#include <memory>

/// @brief A focus stack that grows one frame at a time, for the live view: every frame is
/// aligned to the stack (which stays on the first frame's grid) and merged into a result that
/// keeps, per pixel, the sharpest content seen so far. A frame that does not line up with the
/// stack (the stage was moved) is left out. What it holds does not grow with the number of
/// frames.
class CLiveStacker
{
public:
    enum class EAdded {
        Started, ///< the first frame, or the first of a new size: the result is that frame
        Merged,
        Skipped, ///< did not line up with the stack; the result is unchanged
        Invalid, ///< no pixels, or a stride shorter than a row
    };

    /// @brief Above this the aligned frame is too unlike the stack to be the same
    /// scene (on the aligner's coarsest level: one scene at another focus gives about 0.1 at
    /// most, another scene 1.6 or more).
    static constexpr double kMaxDifference = 0.8;

    /// @brief Takes a 24-bit frame.
    EAdded Add(const CImageView& frame);
    /// @brief Starts again: the next frame is the new first.
    void Reset();

    bool Empty() const { return !m_sharpest; }
    /// @brief The running result, in the frames' layout; empty before the first frame.
    CImageView Result() const;
    /// @brief Frames in the result, the first included.
    int MergedCount() const { return m_merged; }
    int SkippedCount() const { return m_skipped; }

private:
    std::unique_ptr<CSharpestSoFar> m_sharpest;
    int m_width = 0;
    int m_height = 0;
    int m_merged = 0;
    int m_skipped = 0;
};

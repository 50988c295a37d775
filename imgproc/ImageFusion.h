#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

/// @brief A 24-bit blue-green-red picture the fusion reads. Rows are taken in stored order
/// (bottom-up for frames and CxImage; the fusion does not care), each `stride` bytes apart.
struct CImageView
{
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    const uint8_t* bits = nullptr;
};

/// @brief The fused picture: the layout of the inputs, stride (width x 24 + 31) / 32 x 4.
struct CFusedImage
{
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::vector<uint8_t> bits;

    CImageView View() const { return { width, height, stride, bits.data() }; }
};

/// @brief Per pixel of the fused picture, the index of the input it was taken from; rows in the
/// inputs' order, `width` bytes each.
struct CDepthMap
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> index;
};

/// @brief The three ways of fusing a set.
enum class FusionMode { Direct, Adjusted, Aligned };

/// @brief One row of an affine map: target = p x + q y + r.
struct CAffineRow
{
    double p = 0.0;
    double q = 0.0;
    double r = 0.0;
};

/// @brief An affine map of pixel coordinates; the default is the identity.
struct CAffineMap
{
    CAffineRow x { 1.0, 0.0, 0.0 };
    CAffineRow y { 0.0, 1.0, 0.0 };
};

/// @brief The Adjusted Merge's search centre: the mean displacement of the last pair
/// matched. It belongs to the caller (the merge dialog keeps it while it stays open) and is
/// carried from one run into the next.
struct CSearchCentre
{
    int cx = 0;
    int cy = 0;
};

/// @brief Tuning of the Adjusted Merge, given at full resolution.
struct CAdjustedMergeParams
{
    int correlationRadius = 16;
    int searchRange = 100;
    int blockSize = 25;
    double matchScale = 0.5;
};

/// @brief What one neighbouring pair (first, first + 1) of the Adjusted Merge found.
struct CFusionPairReport
{
    int first = 0;
    int matches = 0; ///< matches scoring at least 0.5
    int keptMatches = 0; ///< of those, kept by the displacement vote
    CSearchCentre searchedAround; ///< the centre the pair's search started from
    CAffineMap pairMap; ///< from image first into image first + 1
    CAffineMap cumulativeMap; ///< from image 0 into image first + 1
};

/// @brief A step done: an image accumulated or a pair aligned; `done` of `total` steps.
struct CFusionProgress
{
    enum class Stage { Image, Pair };
    Stage stage = Stage::Image;
    int index = 0;
    int done = 0;
    int total = 0;
};

/// @brief Optional hooks for a fusion run off the user-interface thread. The callbacks are
/// called on the fusing thread; a set cancel flag ends the run at the next check.
struct CFusionObserver
{
    std::function<void(const CFusionProgress&)> progress;
    std::function<void(const CFusionPairReport&)> pairDone;
    const std::atomic<bool>* cancel = nullptr;
};

enum class FusionStatus {
    Done,
    Cancelled,
    TooFewImages, ///< fewer than 2
    TooManyImages, ///< more than 20
    SizeMismatch, ///< not all of image 0's width and height
    InvalidImage, ///< no pixels, or a stride shorter than a row
    Failed, ///< out of memory or an image library failure
};

/// @brief Largest set the fusion takes.
inline constexpr int kMaxFusionImages = 20;

/// @brief "Direct Merge": every pixel takes the colour of the input that is locally sharpest
/// there (largest 51 x 51 mean of |grey - 21 x 21 mean|; ties to the earlier input).
/// `result` is replaced only when the status is Done.
FusionStatus FuseDirect(std::span<const CImageView> images, CFusedImage& result,
        const CFusionObserver& observer = {});

/// @brief "Adjusted Merge": aligns every image to image 0 through affine maps fitted to
/// feature matches between neighbours, then blends the multi-scale detail of all of them and
/// restores colour from their averaged chromaticity. `centre` is read as the first pair's
/// search centre and left at the last pair's mean displacement; a cancelled or failed run gives it
/// back as it came. `result` is replaced only when the status is Done.
FusionStatus FuseAdjusted(std::span<const CImageView> images, CSearchCentre& centre,
        CFusedImage& result, const CFusionObserver& observer = {},
        const CAdjustedMergeParams& params = {});

/// @brief "Aligned Merge": aligns every image to image 0 (each to the one before it, by the
/// grey levels, chained), then takes every pixel from the aligned input that is locally
/// sharpest there (energy of the Laplacian over a small neighbourhood; ties to the earlier
/// input). Pixels an input does not cover are never taken from it, and image 0 covers all, so
/// the result has the reference's frame without empty borders. Inputs are taken one at a time:
/// the memory used besides the inputs does not grow with their number. The pair reports carry
/// the maps found (no matches). `result` and `depth` are replaced only when the status is Done.
FusionStatus FuseAligned(std::span<const CImageView> images, CFusedImage& result,
        const CFusionObserver& observer = {}, CDepthMap* depth = nullptr);

/// @brief The fusion of `mode`: FuseDirect, FuseAdjusted (from and back into `centre`) or
/// FuseAligned (which alone fills `depth`).
FusionStatus Fuse(FusionMode mode, std::span<const CImageView> images, CSearchCentre& centre,
        CFusedImage& result, const CFusionObserver& observer = {}, CDepthMap* depth = nullptr);

#pragma once

#include "imgproc/ImageFusion.h"

#include <opencv2/core.hpp>

#include <atomic>
#include <cstdint>
#include <vector>

// The Adjusted Merge's steps, apart so that each can be checked on its own.

/// @brief A feature point (x, y) of the earlier image of a pair and its displacement to the
/// matching point of the later one.
struct CFusionMatch
{
    int x = 0;
    int y = 0;
    int dx = 0;
    int dy = 0;
    uint8_t kept = 1;
};

/// @brief Feature map of a grey image: Canny edges (50, 100, 3) ranked by the 8-bit mixed
/// Sobel response in whole blocks of `blockSize`. Single-point mode marks at most the first
/// strongest edge pixel of a block; band mode every edge pixel at least 0.6 of the strongest.
cv::Mat BuildFeatureMap(const cv::Mat& grey, int blockSize, bool band);

/// @brief One picture at matching scale: the scaled grey copy, its Canny edges and 8-bit mixed
/// Sobel strength, and its integral images. Built once per picture, it serves as the later
/// image of one pair and the earlier image of the next.
struct CMatchImage
{
    cv::Mat half;
    cv::Mat edges;
    cv::Mat strength;
    cv::Mat sum; // CV_64F integral
    cv::Mat sqsum; // CV_64F integral of squares
};

/// @brief The matching-scale data of a full-size grey picture; empty when it scales to nothing.
CMatchImage PrepareMatchImage(const cv::Mat& grey, const CAdjustedMergeParams& params);

/// @brief Matches of the pair (a, b), found at `params.matchScale` around `centre` and given
/// back in full-size coordinates, in search order. Empty when `cancel` was raised.
std::vector<CFusionMatch> MatchPair(const CMatchImage& a, const CMatchImage& b,
        const CSearchCentre& centre, const CAdjustedMergeParams& params,
        const std::atomic<bool>* cancel = nullptr);

/// @brief The same from two full-size grey pictures.
std::vector<CFusionMatch> MatchPair(const cv::Mat& greyA, const cv::Mat& greyB,
        const CSearchCentre& centre, const CAdjustedMergeParams& params,
        const std::atomic<bool>* cancel = nullptr);

/// @brief Rejects matches that deviate from the modal displacement by more than a quarter of
/// the search range in either coordinate. `rowStride` and `height` size the histograms.
void VoteDisplacements(
        std::vector<CFusionMatch>& matches, int rowStride, int height, int searchRange);

/// @brief Least-squares row over the kept matches for the x (`forX`) or y coordinate; the
/// identity row when the normal equations are singular or nothing is kept.
CAffineRow FitAffineRow(const std::vector<CFusionMatch>& matches, bool forX);

/// @brief `pair` applied after `map`.
CAffineMap ChainMaps(const CAffineMap& pair, const CAffineMap& map);

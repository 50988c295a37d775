#pragma once

#include <opencv2/core/mat.hpp>
#include <opencv2/core/types.hpp>

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

/// @brief Counts and sizes the objects of a picture (grains, cells, pores, dust): a threshold
/// on one grey plane, 8-connected objects, optionally split where round objects touch, and for
/// each object the sizes ImageJ's "Analyze Particles" gives, in the calibration's unit.
class CParticleCounter
{
public:
    enum class Channel { Luminance, Red, Green, Blue };
    /// Dark objects are the pixels at or below the level, bright ones those at or above it.
    enum class Objects { Dark, Bright };

    struct Options
    {
        bool automatic = true; ///< the level by Otsu's method; otherwise `level`
        int level = 128;
        Objects objects = Objects::Dark;
        Channel channel = Channel::Luminance;
        bool split = false; ///< split touching round objects
        int minArea = 1; ///< in pixels
        bool excludeEdges = false; ///< drop objects that touch the picture's border
    };

    /// The size of one pixel; 1 x 1 "px" when the picture is not calibrated.
    struct Scale
    {
        double xPerPixel = 1.0;
        double yPerPixel = 1.0;
        QString unit = QStringLiteral("px");
    };

    struct Particle
    {
        int number = 0; ///< 1, 2, ... in the row order of the objects' first pixels
        int pixels = 0;
        cv::Point2d centre; ///< in pixels, a pixel's centre at +0.5
        cv::Rect bounds; ///< in pixels
        std::vector<cv::Point> outline; ///< pixel corners, see CParticleOutline
        // In the unit: the centroid, the area (pixel count x pixel area), the traced perimeter,
        // the diameter of the disc of equal area, Feret's diameter and the narrowest caliper;
        // circularity 4 pi area / perimeter^2, at most 1.
        double x = 0.0;
        double y = 0.0;
        double area = 0.0;
        double perimeter = 0.0;
        double diameter = 0.0;
        double feret = 0.0;
        double minFeret = 0.0;
        double circularity = 0.0;
    };

    struct Spread
    {
        double mean = 0.0;
        double sd = 0.0; ///< sample standard deviation, 0 for one object
        double min = 0.0;
        double max = 0.0;
    };
    struct Summary
    {
        int count = 0;
        Spread area;
        Spread diameter;
    };

    struct Result
    {
        int width = 0;
        int height = 0;
        /// The level used; -1 when the automatic level found a picture of one grey value,
        /// which has no objects.
        int level = -1;
        Options options;
        Scale scale;
        std::vector<Particle> particles;
        Summary summary;
    };

    /// @brief One 8-bit plane, rows top-down, of a 24-bit BGR picture whose rows are `stride`
    /// bytes apart, the first row in memory being the bottom one when `bottomUp`. Luminance is
    /// the live histogram's grey, so a grey picture keeps its values.
    static cv::Mat Plane(const uint8_t* bits, int width, int height, std::size_t stride,
            bool bottomUp, Channel channel);

    using Histogram = std::array<uint32_t, 256>;
    static Histogram HistogramOf(const cv::Mat& plane);
    /// @brief Otsu's level t: the split into values <= t and > t that leaves the two classes
    /// most apart; the middle of a run of equally good levels. -1 when fewer than two values
    /// occur.
    static int OtsuLevel(const Histogram& histogram);
    /// @brief The level an automatic count uses for these objects: Otsu's t for dark objects,
    /// t + 1 for bright ones (the pixels above t); -1 as OtsuLevel().
    static int AutomaticLevel(const Histogram& histogram, Objects objects);

    /// @brief 255 where the plane holds an object pixel at `level`, 0 elsewhere.
    static cv::Mat Mask(const cv::Mat& plane, int level, Objects objects);

    /// @brief Counts the objects of an 8-bit plane, sized in pixels or in the scale's unit.
    static Result Count(const cv::Mat& plane, const Options& options);
    static Result Count(const cv::Mat& plane, const Options& options, const Scale& scale);

    static Summary Summarise(const std::vector<Particle>& particles);
};

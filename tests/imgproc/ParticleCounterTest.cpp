#include "imgproc/ParticleCounter.h"
#include "imgproc/ParticleCsv.h"
#include "imgproc/ParticleOutline.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <numbers>
#include <random>

namespace {

using Counter = CParticleCounter;
const double kCorner = 2.0 - std::sqrt(2.0); // what a corner takes off the pixel-edge length

// Dark objects (grey 40) on a light ground (grey 210).
cv::Mat Ground(int width = 200, int height = 150)
{
    return cv::Mat(height, width, CV_8UC1, cv::Scalar(210));
}
void Disc(cv::Mat& plane, cv::Point centre, int radius)
{
    cv::circle(plane, centre, radius, cv::Scalar(40), cv::FILLED, cv::LINE_8);
}
void Box(cv::Mat& plane, cv::Rect box, int grey = 40)
{
    plane(box).setTo(cv::Scalar(grey));
}
Counter::Options AtLevel(int level)
{
    Counter::Options options;
    options.automatic = false;
    options.level = level;
    return options;
}

TEST(ParticleCounter, SquaresAndSinglePixelsHaveImageJsSizes)
{
    cv::Mat plane = Ground();
    Box(plane, { 20, 30, 10, 10 });
    Box(plane, { 100, 10, 1, 1 });
    Box(plane, { 150, 20, 2, 2 });
    const Counter::Result result = Counter::Count(plane, AtLevel(128));
    ASSERT_EQ(result.particles.size(), 3u);
    // Numbered in row order of the first pixel.
    const Counter::Particle& dot = result.particles[0];
    const Counter::Particle& pair = result.particles[1];
    const Counter::Particle& square = result.particles[2];
    EXPECT_EQ(dot.pixels, 1);
    EXPECT_NEAR(dot.perimeter, 4 - 2 * kCorner, 1e-9);
    EXPECT_NEAR(pair.perimeter, 8 - 4 * kCorner, 1e-9);
    EXPECT_EQ(square.number, 3);
    EXPECT_DOUBLE_EQ(square.area, 100);
    EXPECT_NEAR(square.perimeter, 40 - 4 * kCorner, 1e-9);
    EXPECT_NEAR(square.feret, std::sqrt(200.0), 1e-9);
    EXPECT_NEAR(square.minFeret, 10, 1e-9);
    EXPECT_NEAR(square.diameter, std::sqrt(400 / std::numbers::pi), 1e-9);
    EXPECT_NEAR(
            square.circularity, 4 * std::numbers::pi * 100 / std::pow(40 - 4 * kCorner, 2), 1e-9);
    EXPECT_DOUBLE_EQ(square.x, 25);
    EXPECT_DOUBLE_EQ(square.y, 35);
    EXPECT_EQ(square.bounds, cv::Rect(20, 30, 10, 10));
    EXPECT_EQ(square.outline.size(), 4u);
    EXPECT_DOUBLE_EQ(dot.circularity, 1.0); // capped, as ImageJ does
}

TEST(ParticleCounter, DiscsMatchTheirGeometry)
{
    cv::Mat plane = Ground(300, 200);
    Disc(plane, { 60, 60 }, 30);
    Disc(plane, { 200, 100 }, 12);
    const cv::Mat mask = plane <= 128;
    const Counter::Result result = Counter::Count(plane, AtLevel(128));
    ASSERT_EQ(result.particles.size(), 2u);
    int pixels = 0;
    for (const auto& p : result.particles)
        pixels += p.pixels;
    EXPECT_EQ(pixels, cv::countNonZero(mask));
    for (const auto& [p, r] :
            { std::pair { result.particles[0], 30 }, { result.particles[1], 12 } }) {
        EXPECT_NEAR(p.area, std::numbers::pi * r * r, 0.03 * p.area);
        // The traced perimeter runs a little long on round shapes, in ImageJ too.
        EXPECT_NEAR(p.perimeter, 2 * std::numbers::pi * (r + 0.5), 0.05 * p.perimeter);
        EXPECT_NEAR(p.feret, 2 * r + 1, 1.5);
        EXPECT_NEAR(p.minFeret, 2 * r + 1, 1.5);
        EXPECT_GT(p.circularity, 0.85);
    }
    EXPECT_NEAR(result.particles[0].x, 60.5, 1e-9);
    EXPECT_NEAR(result.particles[1].y, 100.5, 1e-9);
}

TEST(ParticleCounter, TouchingObjectsJoinUnlessSplit)
{
    cv::Mat plane = Ground(240, 120);
    Disc(plane, { 60, 60 }, 25);
    Disc(plane, { 104, 60 }, 25); // overlapping by 6 pixels
    Box(plane, { 170, 20, 10, 10 });
    Box(plane, { 180, 30, 10, 10 }); // corner to corner: one object with 8 neighbours
    Box(plane, { 150, 70, 60, 30 }); // a long box must stay whole when split
    Counter::Options options = AtLevel(128);
    EXPECT_EQ(Counter::Count(plane, options).particles.size(), 3u);

    options.split = true;
    const Counter::Result split = Counter::Count(plane, options);
    ASSERT_EQ(split.particles.size(), 5u);
    int discPixels = 0;
    std::vector<int> discs;
    for (const auto& p : split.particles) {
        if (p.bounds.x < 140) {
            discs.push_back(p.pixels);
            discPixels += p.pixels;
        }
    }
    ASSERT_EQ(discs.size(), 2u);
    EXPECT_NEAR(discs[0], discs[1], 0.03 * discs[0]);
    EXPECT_EQ(discPixels, cv::countNonZero(plane(cv::Rect(0, 0, 140, 120)) <= 128));
}

TEST(ParticleCounter, HolesAreLeftOutAndObjectsInThemCountApart)
{
    cv::Mat plane = Ground();
    Box(plane, { 20, 20, 40, 40 });
    Box(plane, { 30, 30, 20, 20 }, 200); // the hole
    Box(plane, { 38, 38, 4, 4 }); // an object inside the hole
    const Counter::Result result = Counter::Count(plane, AtLevel(128));
    ASSERT_EQ(result.particles.size(), 2u);
    EXPECT_EQ(result.particles[0].pixels, 1600 - 400);
    EXPECT_NEAR(result.particles[0].perimeter, 160 - 4 * kCorner, 1e-9); // outer edge only
    EXPECT_EQ(result.particles[1].pixels, 16);
}

TEST(ParticleCounter, FiltersByAreaAndBorder)
{
    cv::Mat plane = Ground();
    Box(plane, { 0, 50, 10, 10 });
    Box(plane, { 190, 140, 10, 10 });
    Box(plane, { 50, 0, 3, 3 });
    Box(plane, { 80, 80, 10, 10 });
    Box(plane, { 120, 80, 2, 2 });
    Counter::Options options = AtLevel(128);
    EXPECT_EQ(Counter::Count(plane, options).particles.size(), 5u);
    options.excludeEdges = true;
    EXPECT_EQ(Counter::Count(plane, options).particles.size(), 2u);
    options.minArea = 5;
    const Counter::Result kept = Counter::Count(plane, options);
    ASSERT_EQ(kept.particles.size(), 1u);
    EXPECT_EQ(kept.particles[0].number, 1);
    EXPECT_EQ(kept.particles[0].bounds.x, 80);
}

TEST(ParticleCounter, OtsuFindsTheValleyOfABimodalPicture)
{
    std::mt19937 random(31);
    std::normal_distribution<double> noise(0.0, 12.0);
    cv::Mat plane = Ground(160, 120);
    Disc(plane, { 40, 40 }, 15);
    Disc(plane, { 110, 70 }, 20);
    for (auto it = plane.begin<uint8_t>(); it != plane.end<uint8_t>(); ++it)
        *it = cv::saturate_cast<uint8_t>(*it + noise(random));
    const int t = Counter::OtsuLevel(Counter::HistogramOf(plane));
    EXPECT_GT(t, 90);
    EXPECT_LT(t, 160);
    const Counter::Result dark = Counter::Count(plane, {});
    EXPECT_EQ(dark.level, t);
    ASSERT_EQ(dark.particles.size(), 2u);
    EXPECT_NEAR(dark.particles[1].area, std::numbers::pi * 400, 40);

    // The light ground is one bright object; its pixels are those above Otsu's level.
    Counter::Options bright;
    bright.objects = Counter::Objects::Bright;
    const Counter::Result ground = Counter::Count(plane, bright);
    EXPECT_EQ(ground.level, t + 1);
    ASSERT_EQ(ground.particles.size(), 1u);
    EXPECT_EQ(ground.particles[0].pixels + dark.particles[0].pixels + dark.particles[1].pixels,
            160 * 120);

    // Two clean values: the level sits in the middle of the empty run between them.
    Counter::Histogram two {};
    two[40] = 10;
    two[210] = 30;
    EXPECT_EQ(Counter::OtsuLevel(two), (40 + 209) / 2);
}

TEST(ParticleCounter, CalibratedUnitsScaleEachMeasureOnItsAxes)
{
    cv::Mat plane = Ground();
    Box(plane, { 20, 30, 10, 20 });
    const Counter::Scale scale { 0.5, 0.25, QStringLiteral("um") };
    const Counter::Result result = Counter::Count(plane, AtLevel(128), scale);
    ASSERT_EQ(result.particles.size(), 1u);
    const Counter::Particle& p = result.particles[0];
    EXPECT_DOUBLE_EQ(p.area, 200 * 0.125);
    EXPECT_DOUBLE_EQ(p.x, 25 * 0.5);
    EXPECT_DOUBLE_EQ(p.y, 40 * 0.25);
    EXPECT_NEAR(p.perimeter, 20 * 0.5 + 40 * 0.25 - 4 * (0.75 - std::hypot(0.5, 0.25)), 1e-9);
    EXPECT_NEAR(p.feret, std::hypot(5.0, 5.0), 1e-9);
    EXPECT_NEAR(p.minFeret, 5.0, 1e-9);
    EXPECT_NEAR(p.diameter, std::sqrt(4 * 25 / std::numbers::pi), 1e-9);
    EXPECT_NE(CParticleCsv::SummaryLine(result).indexOf(QStringLiteral("um^2")), -1);
}

TEST(ParticleCounter, EmptyPicturesHaveNoObjectsAndSaySo)
{
    const cv::Mat plane = Ground();
    const Counter::Result automatic = Counter::Count(plane, {});
    EXPECT_EQ(automatic.level, -1);
    EXPECT_TRUE(automatic.particles.empty());
    EXPECT_EQ(CParticleCsv::SummaryLine(automatic), QStringLiteral("No objects found"));
    EXPECT_TRUE(Counter::Count(plane, AtLevel(100)).particles.empty());
    EXPECT_TRUE(Counter::Count(cv::Mat(), {}).particles.empty());
    EXPECT_EQ(CParticleCsv::Format(automatic, {}),
            QByteArray(CParticleCsv::kHeader)
                    + "\n# objects: 0\n# threshold: no automatic level "
                      "(one grey value); luminance; 8-connected; minimum area 1 px\n");
}

TEST(ParticleCounter, CsvHoldsOneRowPerObjectThenTheSummaryAndScale)
{
    cv::Mat plane = Ground();
    Box(plane, { 20, 30, 10, 10 });
    Box(plane, { 100, 100, 20, 5 });
    Counter::Options options = AtLevel(128);
    options.excludeEdges = true;
    options.minArea = 4;
    const Counter::Result result =
            Counter::Count(plane, options, { 0.5, 0.5, QStringLiteral("um") });
    const QStringList lines = QString::fromUtf8(
            CParticleCsv::Format(result, QStringLiteral("# scale: 0.5 x 0.5 um/pixel")))
                                      .split(u'\n');
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[0], "No.,X,Y,Area,Perimeter,EquivalentDiameter,Feret,MinFeret,Circularity");
    EXPECT_EQ(lines[1].toStdString(), "1,12.5,17.5,25,18.828427,5.6418958,7.0710678,5,0.88617968");
    EXPECT_TRUE(lines[2].startsWith("2,55,51.25,25,"));
    EXPECT_EQ(lines[3], "# objects: 2");
    EXPECT_EQ(lines[4], "# area (um^2): mean 25, sd 0, min 25, max 25");
    EXPECT_TRUE(lines[5].startsWith("# equivalent diameter (um): mean 5.6418958, sd 0"));
    EXPECT_EQ(lines[6],
            "# threshold: level 128, dark objects (grey <= 128); luminance; "
            "8-connected; minimum area 4 px; edge objects excluded");
    EXPECT_EQ(lines[7], "# scale: 0.5 x 0.5 um/pixel");
    EXPECT_EQ(lines[8], "");
}

TEST(ParticleCounter, PlanesComeTopDownFromBottomUpFrames)
{
    // 2 x 2 BGR, rows 8 bytes apart, bottom row first in memory.
    const uint8_t frame[] = { 10, 20, 30, 40, 50, 60, 0, 0, 90, 90, 90, 0, 0, 255, 0, 0 };
    const cv::Mat grey = Counter::Plane(frame, 2, 2, 8, true, Counter::Channel::Luminance);
    EXPECT_EQ(grey.at<uint8_t>(0, 0), 90); // a grey pixel keeps its value
    EXPECT_EQ(grey.at<uint8_t>(0, 1), 77 * 255 >> 8);
    EXPECT_EQ(grey.at<uint8_t>(1, 0), (10 * 29 + 20 * 150 + 30 * 77) >> 8);
    EXPECT_EQ(Counter::Plane(frame, 2, 2, 8, true, Counter::Channel::Red).at<uint8_t>(1, 1), 60);
    EXPECT_EQ(Counter::Plane(frame, 2, 2, 8, false, Counter::Channel::Blue).at<uint8_t>(1, 0), 90);
    EXPECT_TRUE(Counter::Plane(nullptr, 2, 2, 8, true, Counter::Channel::Green).empty());
}

TEST(ParticleOutline, TracesAStaircaseAsImageJsWandDoes)
{
    // An L of three pixels: corners where the edge turns, from the right end of the top run.
    cv::Mat labels = cv::Mat::zeros(4, 4, CV_32S);
    labels.at<int32_t>(1, 1) = labels.at<int32_t>(2, 1) = labels.at<int32_t>(2, 2) = 7;
    const std::vector<cv::Point> outline = CParticleOutline::Trace(labels, 7, { 1, 1 });
    const std::vector<cv::Point> expected { { 2, 2 }, { 3, 2 }, { 3, 3 }, { 1, 3 }, { 1, 1 },
        { 2, 1 } };
    EXPECT_EQ(outline, expected);
    EXPECT_NEAR(CParticleOutline::TracedPerimeter(outline, 1, 1), 8 - 4 * kCorner, 1e-9);
    EXPECT_TRUE(CParticleOutline::Trace(labels, 7, { 0, 0 }).empty());
    EXPECT_EQ(CParticleOutline::ConvexHull(outline).size(), 5u);
}

} // namespace

#include "imgproc/RulerReader.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {
struct Ruling
{
    double period = 23.37;
    double angle = 17.0; // of the scale's axis, degrees
    double blur = 1.5;
    double noise = 3.0;
    int missingEvery = 0; // every n-th division is missing
};

// Dark divisions 2 pixels wide on a light field lit unevenly from one corner.
cv::Mat Draw(const Ruling& r, cv::Size size = { 640, 480 })
{
    cv::Mat picture(size, CV_64F);
    const double a = r.angle * std::numbers::pi / 180.0;
    const double ux = std::cos(a);
    const double uy = std::sin(a);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            const double t = (x - size.width / 2.0) * ux + (y - size.height / 2.0) * uy + 1000.3;
            const double k = std::round(t / r.period);
            const double d = t - k * r.period;
            const bool missing = r.missingEvery > 0 && int(k) % r.missingEvery == 0;
            const double light = 150.0 + 60.0 * x / size.width + 30.0 * y / size.height;
            picture.at<double>(y, x) = missing || std::abs(d) > 1.0 ? light : light - 110.0;
        }
    if (r.blur > 0.0)
        cv::GaussianBlur(picture, picture, cv::Size(), r.blur);
    cv::Mat noise(size, CV_64F);
    cv::RNG rng(7);
    rng.fill(noise, cv::RNG::NORMAL, 0.0, r.noise);
    picture += noise;
    cv::Mat grey;
    picture.convertTo(grey, CV_8U);
    return grey;
}
} // namespace

// The period to well within 0.05 %, at angles round the half turn, through blur, noise,
// uneven light and missing divisions; the angle to a tenth of a degree.
TEST(RulerReader, PeriodAndAngleOfRotatedBlurredAndDamagedRulings)
{
    for (const Ruling& r : { Ruling {}, Ruling { .period = 9.81, .angle = 90.0 },
                 Ruling { .period = 31.4, .angle = 0.0, .blur = 3.0, .noise = 5.0 },
                 Ruling { .period = 17.2, .angle = 133.0, .missingEvery = 7 } }) {
        const CRulerReader::Result got = CRulerReader::Read(Draw(r));
        ASSERT_TRUE(got.found) << r.period << " at " << r.angle << ": " << got.reason.toStdString();
        EXPECT_NEAR(got.period, r.period, r.period * 1e-4) << r.angle;
        EXPECT_LT(got.periodError, r.period * 5e-4);
        EXPECT_GT(got.periodError, 0.0);
        EXPECT_NEAR(std::remainder(got.angle - r.angle, 180.0), 0.0, 0.1) << r.angle;
        EXPECT_GE(got.divisions, 20);
    }
}

TEST(RulerReader, AlongALineReadsOnlyTheBandAroundIt)
{
    Ruling r { .period = 12.5, .angle = 0.0 };
    cv::Mat picture = Draw(r);
    // Another ruling below the band must not count.
    Draw({ .period = 19.0, .angle = 0.0 })(cv::Rect(0, 300, 640, 180))
            .copyTo(picture(cv::Rect(0, 300, 640, 180)));
    const CRulerReader::Result got =
            CRulerReader::ReadAlong(picture, { 20, 100 }, { 620, 100 }, 40.0);
    ASSERT_TRUE(got.found) << got.reason.toStdString();
    EXPECT_NEAR(got.period, 12.5, 12.5 * 5e-4);
}

TEST(RulerReader, NoRulingBlankOrTinyPicturesAreSaidNotGuessed)
{
    cv::Mat noise(480, 640, CV_8U);
    cv::RNG(3).fill(noise, cv::RNG::NORMAL, 128.0, 20.0);
    cv::Mat blank(480, 640, CV_8U, cv::Scalar(128));
    for (const auto& [picture, words] :
            { std::pair { noise, "No ruling" }, std::pair { blank, "blank" },
                    std::pair { cv::Mat(cv::Mat(20, 20, CV_8U, cv::Scalar(0))), "too small" } }) {
        const CRulerReader::Result got = CRulerReader::Read(picture);
        EXPECT_FALSE(got.found);
        EXPECT_EQ(got.period, 0.0);
        EXPECT_TRUE(got.reason.contains(QLatin1String(words))) << got.reason.toStdString();
    }
}

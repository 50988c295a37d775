#include "imgproc/RulerReader.h"

#include "Rulings.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

// The period to well within 0.05 %, at angles round the half turn, through blur, noise,
// uneven light and missing divisions; the angle to a tenth of a degree.
TEST(RulerReader, PeriodAndAngleOfRotatedBlurredAndDamagedRulings)
{
    for (const Ruling& r : { Ruling {}, Ruling { .period = 9.81, .angle = 90.0 },
                 Ruling { .period = 31.4, .angle = 0.0, .blur = 3.0, .noise = 5.0 },
                 Ruling { .period = 17.2, .angle = 133.0, .missingEvery = 7 } }) {
        const CRulerReader::Result got = CRulerReader::Read(DrawRuling(r));
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
    cv::Mat picture = DrawRuling(r);
    // Another ruling below the band must not count.
    DrawRuling({ .period = 19.0, .angle = 0.0 })(cv::Rect(0, 300, 640, 180))
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

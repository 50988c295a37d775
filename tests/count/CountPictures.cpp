// count_pictures FOLDER: writes the three pictures the ImageJ comparison counts, the same on
// every run: discs.png (clean dark discs, some touching, some cut by the edge), grains.png
// (irregular grains under uneven light, blurred and noisy) and cells.png (bright blobs on a
// dark, very noisy ground).
#include "image/xImage.h"

#include <QDir>
#include <QString>

#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <random>

namespace {

bool Save(const cv::Mat& grey, const QString& path)
{
    CxImage picture;
    if (!picture.Create(uint32_t(grey.cols), uint32_t(grey.rows), 24))
        return false;
    for (int y = 0; y < grey.rows; ++y) {
        uint8_t* bits = picture.RowBits(uint32_t(grey.rows - 1 - y));
        for (int x = 0; x < grey.cols; ++x)
            bits[3 * x] = bits[3 * x + 1] = bits[3 * x + 2] = grey.at<uint8_t>(y, x);
    }
    return picture.SaveFile(path, CXIMAGE_FORMAT_PNG);
}

void AddNoise(cv::Mat& grey, std::mt19937& random, double sigma)
{
    std::normal_distribution<double> noise(0.0, sigma);
    for (auto it = grey.begin<uint8_t>(); it != grey.end<uint8_t>(); ++it)
        *it = cv::saturate_cast<uint8_t>(*it + noise(random));
}

cv::Mat Discs()
{
    std::mt19937 random(3101);
    std::uniform_int_distribution<int> radius(4, 28);
    std::uniform_int_distribution<int> x(-10, 810);
    std::uniform_int_distribution<int> y(-10, 610);
    cv::Mat grey(600, 800, CV_8UC1, cv::Scalar(210));
    for (int i = 0; i < 90; ++i)
        cv::circle(grey, { x(random), y(random) }, radius(random), cv::Scalar(40), cv::FILLED,
                cv::LINE_8);
    return grey;
}

cv::Mat Grains()
{
    std::mt19937 random(3102);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    cv::Mat shape(768, 1024, CV_32FC1, cv::Scalar(0));
    for (int i = 0; i < 220; ++i) {
        const cv::Point centre(int(unit(random) * 1024), int(unit(random) * 768));
        const cv::Size axes(int(6 + unit(random) * 22), int(5 + unit(random) * 14));
        cv::ellipse(shape, centre, axes, unit(random) * 180, 0, 360, cv::Scalar(1), cv::FILLED);
        // A chip off the side makes the grain less regular.
        const cv::Point chip(centre.x + int((unit(random) - 0.5) * axes.width),
                centre.y + int((unit(random) - 0.5) * axes.height));
        cv::circle(
                shape, chip, int(2 + unit(random) * axes.height * 0.6), cv::Scalar(0), cv::FILLED);
    }
    cv::GaussianBlur(shape, shape, { 0, 0 }, 1.6);
    cv::Mat grey(768, 1024, CV_8UC1);
    for (int y = 0; y < grey.rows; ++y) {
        for (int x = 0; x < grey.cols; ++x) {
            const double light = 190 + 30.0 * x / grey.cols - 20.0 * y / grey.rows;
            grey.at<uint8_t>(y, x) =
                    cv::saturate_cast<uint8_t>(light - shape.at<float>(y, x) * (light - 70));
        }
    }
    AddNoise(grey, random, 9.0);
    return grey;
}

cv::Mat Cells()
{
    std::mt19937 random(3103);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    cv::Mat shape(600, 800, CV_32FC1, cv::Scalar(0));
    for (int i = 0; i < 70; ++i) {
        const cv::Point2d centre(unit(random) * 800, unit(random) * 600);
        const double r = 8 + unit(random) * 14;
        // A cell: a few overlapping lobes of one body, a brighter nucleus.
        for (int lobe = 0; lobe < 4; ++lobe) {
            const cv::Point at(int(centre.x + (unit(random) - 0.5) * r),
                    int(centre.y + (unit(random) - 0.5) * r));
            cv::circle(shape, at, int(r * (0.6 + 0.3 * unit(random))), cv::Scalar(0.7), cv::FILLED);
        }
        cv::circle(shape, centre, int(r * 0.35), cv::Scalar(1.0), cv::FILLED);
    }
    cv::GaussianBlur(shape, shape, { 0, 0 }, 2.5);
    cv::Mat grey(600, 800, CV_8UC1);
    shape.convertTo(grey, CV_8UC1, 170, 30);
    AddNoise(grey, random, 22.0);
    return grey;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: count_pictures FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool ok = Save(Discs(), folder.filePath(QStringLiteral("discs.png")))
            && Save(Grains(), folder.filePath(QStringLiteral("grains.png")))
            && Save(Cells(), folder.filePath(QStringLiteral("cells.png")));
    if (!ok)
        std::fprintf(stderr, "count_pictures: cannot write into %s\n", argv[1]);
    return ok ? 0 : 1;
}

#pragma once

#include "image/xImage.h"

#include <opencv2/imgproc.hpp>

#include <QString>

#include <deque>

// Textured 24-bit test pictures: smooth random blobs with edges enough for feature matching.
// `shiftX` moves the content right by whole pixels.
inline CxImage TexturePicture(int width, int height, uint64_t seed, int shiftX = 0)
{
    cv::RNG rng(seed);
    const int wide = width + 64;
    cv::Mat coarse((height + 5) / 6, (wide + 5) / 6, CV_8UC3);
    rng.fill(coarse, cv::RNG::UNIFORM, 20, 236);
    cv::Mat fine;
    cv::resize(coarse, fine, cv::Size(wide, height), 0, 0, cv::INTER_CUBIC);
    const cv::Mat cut = fine(cv::Rect(32 - shiftX, 0, width, height)).clone();
    CxImage image;
    image.CreateFromBuffer(cut.data, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
            24, static_cast<uint32_t>(cut.step), true);
    return image;
}

// The camera's test pattern as it stands still: colour bars over a strip of blocks, large
// flat areas with nothing for a feature match to hold on to.
inline CxImage ColourBars(int width, int height)
{
    cv::Mat bars(height, width, CV_8UC3, cv::Scalar(0, 0, 0));
    const cv::Scalar top[] = { { 192, 192, 192 }, { 0, 192, 192 }, { 192, 192, 0 }, { 0, 192, 0 },
        { 192, 0, 192 }, { 0, 0, 192 }, { 192, 0, 0 } };
    const cv::Scalar bottom[] = { { 128, 0, 0 }, { 255, 255, 255 }, { 128, 0, 64 }, { 0, 0, 0 },
        { 16, 16, 16 }, { 0, 0, 0 }, { 32, 32, 32 } };
    for (int i = 0; i < 7; ++i) {
        const int left = width * i / 7;
        const int right = width * (i + 1) / 7;
        cv::rectangle(bars, cv::Rect(left, 0, right - left, height * 2 / 3), top[i], cv::FILLED);
        cv::rectangle(bars, cv::Rect(left, height * 3 / 4, right - left, height / 4 + 1), bottom[i],
                cv::FILLED);
    }
    CxImage image;
    image.CreateFromBuffer(bars.data, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
            24, static_cast<uint32_t>(bars.step), true);
    return image;
}

inline bool SavePicture(CxImage image, const QString& path, uint32_t format = CXIMAGE_FORMAT_BMP)
{
    return image.SaveFile(path, format);
}

// The files a test "chooses" in an open-file dialog, one per call; empty once used up.
inline QString NextChosen(std::deque<QString>& chosen)
{
    if (chosen.empty())
        return QString();
    const QString path = chosen.front();
    chosen.pop_front();
    return path;
}

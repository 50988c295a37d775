#pragma once

#include <opencv2/core/mat.hpp>

#include <QString>

// Reads the period of a ruling (a stage micrometer's divisions) from a grey picture: the
// strongest repeat of the picture, located to a small part of a pixel, at any rotation, with
// blur, uneven light and a few missing or damaged divisions.
class CRulerReader
{
public:
    struct Result
    {
        bool found = false;
        QString reason; // why nothing was found, in the user's words
        double period = 0.0; // pixels from one division to the next
        double periodError = 0.0; // one standard error of the period, pixels
        int divisions = 0; // whole divisions the reading rests on
        double angle = 0.0; // of the scale's axis, degrees in [0, 180), y down
    };

    // grey: 8-bit, one channel, rows top-down. A band (not empty) keeps the reading to the
    // pixels within halfWidth of the segment from a to b.
    static Result Read(const cv::Mat& grey);
    static Result ReadAlong(const cv::Mat& grey, cv::Point2d a, cv::Point2d b, double halfWidth);

private:
    static Result ReadMasked(const cv::Mat& grey, const cv::Mat& mask);
};

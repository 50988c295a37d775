#pragma once

#include <opencv2/core/mat.hpp>

#include <QPointF>

#include <chrono>
#include <functional>
#include <optional>

// "Snap to edges" on the picture being measured: finds the edge near a point and the rim near
// a circle on a grey copy of the picture, kept while the picture stays (a live picture is
// read again when its copy is older than a few frames).
class CEdgeFinders
{
public:
    // Fills grey (8-bit, rows top-down) with the picture; live tells whether it moves.
    using PictureSource = std::function<bool(cv::Mat& grey, bool& live)>;

    explicit CEdgeFinders(PictureSource source);

    std::optional<QPointF> Point(QPointF image, double radius);
    bool Circle(QPointF& centre, double& radius);
    // Another picture is shown.
    void Forget() { m_valid = false; }

private:
    const cv::Mat* Grey();

    PictureSource m_source;
    cv::Mat m_grey;
    bool m_valid = false;
    bool m_live = false;
    std::chrono::steady_clock::time_point m_taken;
};

#include "imgproc/ParticleCounter.h"

#include "imgproc/LiveHistogram.h"
#include "imgproc/ParticleOutline.h"
#include "imgproc/ParticleSplitter.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// What one pass over the label picture gathers for each label.
struct CLabelTally
{
    int pixels = 0;
    int64_t sumX = 0;
    int64_t sumY = 0;
    int left = std::numeric_limits<int>::max();
    int top = -1;
    int right = -1;
    int bottom = -1;
    int firstX = -1;
};

std::vector<CLabelTally> TallyLabels(const cv::Mat& labels, int count)
{
    std::vector<CLabelTally> tally(size_t(count) + 1);
    for (int y = 0; y < labels.rows; ++y) {
        const int32_t* row = labels.ptr<int32_t>(y);
        for (int x = 0; x < labels.cols; ++x) {
            const int label = row[x];
            if (label == 0)
                continue;
            CLabelTally& t = tally[size_t(label)];
            if (t.top < 0) {
                t.top = y;
                t.firstX = x;
            }
            ++t.pixels;
            t.sumX += x;
            t.sumY += y;
            t.left = std::min(t.left, x);
            t.right = std::max(t.right, x);
            t.bottom = y;
        }
    }
    return tally;
}

CParticleCounter::Spread SpreadOf(const std::vector<double>& values)
{
    CParticleCounter::Spread spread;
    if (values.empty())
        return spread;
    double sum = 0.0;
    for (const double v : values)
        sum += v;
    spread.mean = sum / double(values.size());
    double squares = 0.0;
    for (const double v : values)
        squares += (v - spread.mean) * (v - spread.mean);
    if (values.size() > 1)
        spread.sd = std::sqrt(squares / double(values.size() - 1));
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    spread.min = *low;
    spread.max = *high;
    return spread;
}

} // namespace

cv::Mat CParticleCounter::Plane(const uint8_t* bits, int width, int height, std::size_t stride,
        bool bottomUp, Channel channel)
{
    if (!bits || width <= 0 || height <= 0)
        return {};
    cv::Mat plane(height, width, CV_8UC1);
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = bits + stride * size_t(bottomUp ? height - 1 - y : y);
        uint8_t* target = plane.ptr<uint8_t>(y);
        switch (channel) {
        case Channel::Luminance:
            for (int x = 0; x < width; ++x, source += 3)
                target[x] = uint8_t(CLiveHistogram::Grey(source[0], source[1], source[2]));
            break;
        case Channel::Red:
        case Channel::Green:
        case Channel::Blue: {
            const int offset = channel == Channel::Blue ? 0 : channel == Channel::Green ? 1 : 2;
            for (int x = 0; x < width; ++x)
                target[x] = source[3 * x + offset];
            break;
        }
        }
    }
    return plane;
}

CParticleCounter::Histogram CParticleCounter::HistogramOf(const cv::Mat& plane)
{
    Histogram histogram {};
    for (int y = 0; y < plane.rows; ++y) {
        const uint8_t* row = plane.ptr<uint8_t>(y);
        for (int x = 0; x < plane.cols; ++x)
            ++histogram[row[x]];
    }
    return histogram;
}

int CParticleCounter::OtsuLevel(const Histogram& histogram)
{
    double total = 0.0;
    double weightedTotal = 0.0;
    int values = 0;
    for (int v = 0; v < 256; ++v) {
        total += histogram[v];
        weightedTotal += double(v) * histogram[v];
        values += histogram[v] != 0;
    }
    if (values < 2)
        return -1;
    // Between-class variance up to the constant total^2: w0 w1 (m0 - m1)^2 with counts.
    double below = 0.0;
    double weightedBelow = 0.0;
    double best = -1.0;
    int first = 0;
    int last = 0;
    for (int t = 0; t < 255; ++t) {
        below += histogram[t];
        weightedBelow += double(t) * histogram[t];
        const double above = total - below;
        if (below == 0.0 || above == 0.0)
            continue;
        const double difference = weightedBelow / below - (weightedTotal - weightedBelow) / above;
        const double spread = below * above * difference * difference;
        // Equal up to rounding: the empty values between two peaks all split alike.
        if (spread > best * (1.0 + 1e-12)) {
            best = spread;
            first = last = t;
        } else if (spread >= best * (1.0 - 1e-12)) {
            last = t;
        }
    }
    return (first + last) / 2;
}

int CParticleCounter::AutomaticLevel(const Histogram& histogram, Objects objects)
{
    const int t = OtsuLevel(histogram);
    if (t < 0)
        return -1;
    return objects == Objects::Dark ? t : t + 1;
}

cv::Mat CParticleCounter::Mask(const cv::Mat& plane, int level, Objects objects)
{
    cv::Mat mask;
    cv::compare(plane, cv::Scalar(level), mask, objects == Objects::Dark ? cv::CMP_LE : cv::CMP_GE);
    return mask;
}

CParticleCounter::Result CParticleCounter::Count(const cv::Mat& plane, const Options& options)
{
    return Count(plane, options, Scale());
}

CParticleCounter::Result CParticleCounter::Count(
        const cv::Mat& plane, const Options& options, const Scale& scale)
{
    CV_Assert(plane.empty() || plane.type() == CV_8UC1);
    Result result;
    result.width = plane.cols;
    result.height = plane.rows;
    result.options = options;
    result.scale = scale;
    result.level = options.automatic ? AutomaticLevel(HistogramOf(plane), options.objects)
                                     : std::clamp(options.level, 0, 255);
    if (plane.empty() || result.level < 0)
        return result;

    const cv::Mat mask = Mask(plane, result.level, options.objects);
    cv::Mat labels;
    const int count = options.split ? CParticleSplitter::Split(mask, labels)
                                    : cv::connectedComponents(mask, labels, 8, CV_32S) - 1;
    const std::vector<CLabelTally> tally = TallyLabels(labels, count);

    std::vector<int> order;
    order.reserve(size_t(count));
    for (int label = 1; label <= count; ++label) {
        const CLabelTally& t = tally[size_t(label)];
        if (t.pixels < options.minArea || t.pixels == 0)
            continue;
        if (options.excludeEdges
                && (t.left == 0 || t.top == 0 || t.right == plane.cols - 1
                        || t.bottom == plane.rows - 1))
            continue;
        order.push_back(label);
    }
    // ImageJ numbers objects as its row scan meets them.
    std::sort(order.begin(), order.end(), [&tally](int a, int b) {
        const CLabelTally& p = tally[size_t(a)];
        const CLabelTally& q = tally[size_t(b)];
        return p.top != q.top ? p.top < q.top : p.firstX < q.firstX;
    });

    const double pw = scale.xPerPixel;
    const double ph = scale.yPerPixel;
    result.particles.reserve(order.size());
    for (const int label : order) {
        const CLabelTally& t = tally[size_t(label)];
        Particle particle;
        particle.number = int(result.particles.size()) + 1;
        particle.pixels = t.pixels;
        particle.centre = { double(t.sumX) / t.pixels + 0.5, double(t.sumY) / t.pixels + 0.5 };
        particle.bounds = { t.left, t.top, t.right - t.left + 1, t.bottom - t.top + 1 };
        particle.outline = CParticleOutline::Trace(labels, label, { t.firstX, t.top });
        particle.x = particle.centre.x * pw;
        particle.y = particle.centre.y * ph;
        particle.area = t.pixels * pw * ph;
        particle.perimeter = CParticleOutline::TracedPerimeter(particle.outline, pw, ph);
        particle.diameter = std::sqrt(4.0 * particle.area / std::numbers::pi);
        const CParticleOutline::Feret feret = CParticleOutline::FeretOf(particle.outline, pw, ph);
        particle.feret = feret.max;
        particle.minFeret = feret.min;
        if (particle.perimeter > 0.0) {
            particle.circularity = std::min(1.0,
                    4.0 * std::numbers::pi * particle.area
                            / (particle.perimeter * particle.perimeter));
        }
        result.particles.push_back(std::move(particle));
    }
    result.summary = Summarise(result.particles);
    return result;
}

CParticleCounter::Summary CParticleCounter::Summarise(const std::vector<Particle>& particles)
{
    Summary summary;
    summary.count = int(particles.size());
    std::vector<double> areas;
    std::vector<double> diameters;
    for (const Particle& p : particles) {
        areas.push_back(p.area);
        diameters.push_back(p.diameter);
    }
    summary.area = SpreadOf(areas);
    summary.diameter = SpreadOf(diameters);
    return summary;
}

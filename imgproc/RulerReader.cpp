#include "imgproc/RulerReader.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace {
constexpr int kMinSide = 32;
constexpr double kMinPeriod = 2.5; // finer than this is not a ruling but noise or moire
constexpr int kMinDivisions = 3;
// The strongest repeat must stand this far above the spectrum around it.
constexpr double kMinPeakRatio = 6.0;

using Complex = std::complex<double>;

// The weighted picture and where it is not zero.
struct Weighted
{
    cv::Mat values; // CV_64F
    cv::Rect box;
};

// |sum of values * exp(-2 pi i (fx x + fy y))| over the box, row by row.
double Amplitude(const Weighted& w, double fx, double fy)
{
    const cv::Rect& box = w.box;
    std::vector<Complex> ex(size_t(box.width));
    for (int x = 0; x < box.width; ++x)
        ex[size_t(x)] = std::polar(1.0, -2.0 * std::numbers::pi * fx * (box.x + x));
    Complex total = 0.0;
    for (int y = 0; y < box.height; ++y) {
        const double* row = w.values.ptr<double>(box.y + y) + box.x;
        Complex sum = 0.0;
        for (int x = 0; x < box.width; ++x)
            sum += row[x] * ex[size_t(x)];
        total += sum * std::polar(1.0, -2.0 * std::numbers::pi * fy * (box.y + y));
    }
    return std::abs(total);
}

// The top of a parabola through three samples at -step, 0, +step; 0 when there is none.
double ParabolaTop(double left, double mid, double right, double step)
{
    const double curve = left - 2.0 * mid + right;
    if (curve >= 0.0)
        return 0.0;
    return std::clamp(0.5 * (left - right) / curve, -1.0, 1.0) * step;
}

struct Fit
{
    double slope = 0.0;
    double slopeError = 0.0;
};

Fit FitLine(const std::vector<double>& t, const std::vector<double>& v)
{
    const size_t n = t.size();
    double mt = 0.0;
    double mv = 0.0;
    for (size_t i = 0; i < n; ++i) {
        mt += t[i];
        mv += v[i];
    }
    mt /= double(n);
    mv /= double(n);
    double stt = 0.0;
    double stv = 0.0;
    for (size_t i = 0; i < n; ++i) {
        stt += (t[i] - mt) * (t[i] - mt);
        stv += (t[i] - mt) * (v[i] - mv);
    }
    Fit fit;
    if (stt <= 0.0)
        return fit;
    fit.slope = stv / stt;
    double residuals = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double r = v[i] - (mv + fit.slope * (t[i] - mt));
        residuals += r * r;
    }
    fit.slopeError = n > 2 ? std::sqrt(residuals / double(n - 2) / stt) : 0.0;
    return fit;
}
} // namespace

CRulerReader::Result CRulerReader::Read(const cv::Mat& grey)
{
    return ReadMasked(grey, cv::Mat());
}

CRulerReader::Result CRulerReader::ReadAlong(
        const cv::Mat& grey, cv::Point2d a, cv::Point2d b, double halfWidth)
{
    cv::Mat mask = cv::Mat::zeros(grey.size(), CV_8U);
    cv::line(mask, cv::Point(cvRound(a.x), cvRound(a.y)), cv::Point(cvRound(b.x), cvRound(b.y)),
            cv::Scalar(255), std::max(1, int(std::lround(2.0 * halfWidth))), cv::LINE_8);
    return ReadMasked(grey, mask);
}

CRulerReader::Result CRulerReader::ReadMasked(const cv::Mat& grey, const cv::Mat& mask)
{
    Result result;
    if (grey.empty() || grey.type() != CV_8UC1 || grey.cols < kMinSide || grey.rows < kMinSide) {
        result.reason = QCoreApplication::translate("CRulerReader",
                "The picture is too small to hold a ruling (it needs at least 32 x 32 "
                "pixels).");
        return result;
    }
    // Uneven light goes with everything slower than the divisions can be.
    cv::Mat values;
    grey.convertTo(values, CV_64F);
    cv::Mat background;
    const double sigma = std::max(8.0, std::min(grey.cols, grey.rows) / 16.0);
    cv::GaussianBlur(values, background, cv::Size(), sigma);
    values -= background;

    const cv::Rect box =
            mask.empty() ? cv::Rect(0, 0, grey.cols, grey.rows) : cv::boundingRect(mask);
    if (box.width < kMinSide / 2 || box.height < 1) {
        result.reason = QCoreApplication::translate(
                "CRulerReader", "The line along the scale is too short to read divisions from.");
        return result;
    }
    cv::Scalar mean;
    cv::Scalar deviation;
    cv::meanStdDev(values(box), mean, deviation, mask.empty() ? cv::noArray() : mask(box));
    if (deviation[0] < 1.0) {
        result.reason = QCoreApplication::translate(
                "CRulerReader", "The picture is blank: there is no ruling to read.");
        return result;
    }

    // A smooth window over the box keeps the spectrum's peak narrow and clean.
    Weighted w { cv::Mat::zeros(values.size(), CV_64F), box };
    for (int y = box.y; y < box.y + box.height; ++y) {
        const double wy = box.height > 1
                ? 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * (y - box.y + 0.5) / box.height)
                : 1.0;
        const uchar* m = mask.empty() ? nullptr : mask.ptr<uchar>(y);
        const double* v = values.ptr<double>(y);
        double* out = w.values.ptr<double>(y);
        for (int x = box.x; x < box.x + box.width; ++x) {
            if (m && !m[x])
                continue;
            const double wx =
                    0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * (x - box.x + 0.5) / box.width);
            out[x] = (v[x] - mean[0]) * wx * wy;
        }
    }

    // The strongest repeat on the grid of the transform, then between its bins.
    const int fw = cv::getOptimalDFTSize(2 * box.width);
    const int fh = cv::getOptimalDFTSize(2 * box.height);
    cv::Mat padded = cv::Mat::zeros(fh, fw, CV_32F);
    w.values(box).convertTo(padded(cv::Rect(0, 0, box.width, box.height)), CV_32F);
    cv::Mat spectrum;
    cv::dft(padded, spectrum, cv::DFT_COMPLEX_OUTPUT);
    const double extent = std::max(box.width, box.height);
    const double maxPeriod = extent / kMinDivisions;
    double best = 0.0;
    double bestFx = 0.0;
    double bestFy = 0.0;
    std::vector<double> around;
    for (int ky = 0; ky <= fh / 2; ++ky) {
        const double fy = double(ky) / fh;
        const cv::Vec2f* row = spectrum.ptr<cv::Vec2f>(ky);
        for (int kx = 0; kx < fw; ++kx) {
            const double fx = (kx <= fw / 2 ? kx : kx - fw) / double(fw);
            const double f = std::hypot(fx, fy);
            if (f < 1.0 / maxPeriod || f > 1.0 / kMinPeriod)
                continue;
            const double a = std::hypot(row[kx][0], row[kx][1]);
            around.push_back(a);
            if (a > best) {
                best = a;
                bestFx = fx;
                bestFy = fy;
            }
        }
    }
    if (around.empty()) {
        result.reason = QCoreApplication::translate(
                "CRulerReader", "No ruling found: the picture has no regular divisions.");
        return result;
    }
    std::nth_element(around.begin(), around.begin() + around.size() / 2, around.end());
    const double typical = around[around.size() / 2];
    if (typical <= 0.0 || best / typical < kMinPeakRatio) {
        result.reason = QCoreApplication::translate(
                "CRulerReader", "No ruling found: the picture has no regular divisions.");
        return result;
    }

    double fx = bestFx;
    double fy = bestFy;
    for (double step = 0.5 / std::min(fw, fh); step > 1e-3 / extent; step /= 4.0) {
        const double ax = ParabolaTop(Amplitude(w, fx - step, fy), Amplitude(w, fx, fy),
                Amplitude(w, fx + step, fy), step);
        fx += ax;
        const double ay = ParabolaTop(Amplitude(w, fx, fy - step), Amplitude(w, fx, fy),
                Amplitude(w, fx, fy + step), step);
        fy += ay;
    }
    double frequency = std::hypot(fx, fy);
    const double ux = fx / frequency;
    const double uy = fy / frequency;

    // Across the scale, one period at a time: the scatter of the divisions' phases tells how
    // well the period is known; a missing or damaged division is left out.
    const double period0 = 1.0 / frequency;
    double tMin = 1e300;
    double tMax = -1e300;
    for (int cy : { box.y, box.y + box.height - 1 })
        for (int cx : { box.x, box.x + box.width - 1 }) {
            const double t = cx * ux + cy * uy;
            tMin = std::min(tMin, t);
            tMax = std::max(tMax, t);
        }
    const int segments = int(std::floor((tMax - tMin) / period0));
    std::vector<Complex> sums(size_t(std::max(segments, 0)), 0.0);
    std::vector<int> counts(sums.size(), 0);
    for (int y = box.y; y < box.y + box.height; ++y) {
        const uchar* m = mask.empty() ? nullptr : mask.ptr<uchar>(y);
        const double* v = values.ptr<double>(y);
        for (int x = box.x; x < box.x + box.width; ++x) {
            if (m && !m[x])
                continue;
            const double t = x * ux + y * uy - tMin;
            const int k = int(t / period0);
            if (k < 0 || k >= segments)
                continue;
            sums[size_t(k)] +=
                    (v[x] - mean[0]) * std::polar(1.0, -2.0 * std::numbers::pi * t / period0);
            ++counts[size_t(k)];
        }
    }
    std::vector<double> amplitudes;
    for (size_t k = 0; k < sums.size(); ++k)
        if (counts[k] > 0)
            amplitudes.push_back(std::abs(sums[k]) / counts[k]);
    if (amplitudes.size() < size_t(kMinDivisions)) {
        result.reason = QCoreApplication::translate(
                "CRulerReader", "Too few divisions: at least 3 must be seen along the scale.");
        return result;
    }
    std::vector<double> sorted = amplitudes;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double median = sorted[sorted.size() / 2];
    std::vector<double> centres;
    std::vector<double> phases;
    double last = 0.0;
    for (size_t k = 0; k < sums.size(); ++k) {
        if (counts[k] == 0 || std::abs(sums[k]) / counts[k] < 0.4 * median)
            continue;
        double phase = std::arg(sums[k]);
        if (!phases.empty())
            phase = last + std::remainder(phase - last, 2.0 * std::numbers::pi);
        last = phase;
        centres.push_back((double(k) + 0.5) * period0);
        phases.push_back(phase);
    }
    if (phases.size() < size_t(kMinDivisions)) {
        result.reason = QCoreApplication::translate(
                "CRulerReader", "Too few divisions: at least 3 must be seen along the scale.");
        return result;
    }
    const Fit fit = FitLine(centres, phases);
    // The spectrum's peak is the period; the divisions' phases only say how well it is known
    // (a segment that cuts a division in two would pull a phase-fitted period).
    result.found = true;
    result.period = 1.0 / frequency;
    result.periodError = fit.slopeError / (2.0 * std::numbers::pi) / (frequency * frequency);
    result.divisions = int(phases.size());
    double angle = std::atan2(uy, ux) * 180.0 / std::numbers::pi;
    if (angle < 0.0)
        angle += 180.0;
    if (angle >= 180.0)
        angle -= 180.0;
    result.angle = angle;
    return result;
}

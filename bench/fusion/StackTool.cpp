// fusion_stack generate N DIR [WIDTH HEIGHT] [moving]: a deterministic focus stack. DIR/truth.bmp
//   is the sharp texture; DIR/slice_KK.jpg (quality 95) is sharp in band K of N horizontal bands
//   and blurred elsewhere, the more the farther the band, as a focus series is. "moving" also
//   magnifies slice K by 1 + 0.003 K about the centre and moves it by (2K, -K) pixels, as focus
//   breathing and stage drift do; the truth is in slice 0's frame. DIR/oracle.bmp takes every
//   band from the decoded slice that is sharp there (still stacks only): the best any choice of
//   slices per pixel can do.
// fusion_stack psnr A B: PSNR in dB of picture B against picture A (24-bit BMP or JPEG).
#include "image/xImage.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool Save(const cv::Mat& bgr, const std::string& path, uint32_t format)
{
    CxImage image;
    if (!image.CreateFromBuffer(bgr.data, static_cast<uint32_t>(bgr.cols),
                static_cast<uint32_t>(bgr.rows), 24, static_cast<uint32_t>(bgr.step), true))
        return false;
    image.SetJpegQualityLevel(95.0f);
    if (!image.SaveFile(QString::fromStdString(path), format)) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), image.LastErrorText());
        return false;
    }
    return true;
}

std::string SliceName(const std::string& dir, int k)
{
    char name[64];
    std::snprintf(name, sizeof name, "/slice_%02d.jpg", k);
    return dir + name;
}

cv::Rect Band(int band, int slices, int width, int height)
{
    const int top = band * height / slices;
    const int bottom = (band + 1) * height / slices;
    return { 0, top, width, bottom - top };
}

// Slice K as the camera sees it: magnified about the centre and moved.
cv::Mat Move(const cv::Mat& slice, int k)
{
    const double s = 1.0 + 0.003 * k;
    const double cx = (slice.cols - 1) / 2.0, cy = (slice.rows - 1) / 2.0;
    const cv::Matx23d m { s, 0, cx - s * cx + 2.0 * k, 0, s, cy - s * cy - 1.0 * k };
    cv::Mat moved;
    cv::warpAffine(slice, moved, m, slice.size(), cv::INTER_LANCZOS4, cv::BORDER_REFLECT);
    return moved;
}

bool SaveOracle(int slices, const std::string& dir, int width, int height)
{
    cv::Mat oracle(height, width, CV_8UC3);
    for (int k = 0; k < slices; ++k) {
        CxImage image;
        if (!image.LoadFile(QString::fromStdString(SliceName(dir, k))) || !image.WidenTo24())
            return false;
        // Stored bottom-up: flip into the generator's top-down rows.
        const cv::Mat stored(height, width, CV_8UC3, image.RowBits(0), image.Stride());
        cv::Mat rows;
        cv::flip(stored, rows, 0);
        const cv::Rect band = Band(k, slices, width, height);
        rows(band).copyTo(oracle(band));
    }
    return Save(oracle, dir + "/oracle.bmp", CXIMAGE_FORMAT_BMP);
}

int Generate(int slices, const std::string& dir, int width, int height, bool moving)
{
    cv::RNG rng(20261207);
    // Detail at several scales: colour patches, texture and fine grain.
    cv::Mat truth(height, width, CV_32FC3, cv::Scalar::all(0));
    const double weights[] = { 0.45, 0.35, 0.20 };
    const int steps[] = { 32, 6, 2 };
    for (int s = 0; s < 3; ++s) {
        cv::Mat coarse(height / steps[s] + 2, width / steps[s] + 2, CV_32FC3);
        rng.fill(coarse, cv::RNG::UNIFORM, 0.0, 255.0);
        cv::Mat fine;
        cv::resize(coarse, fine, cv::Size(width, height), 0, 0, cv::INTER_CUBIC);
        truth += fine * weights[s];
    }
    cv::Mat sharp;
    truth.convertTo(sharp, CV_8UC3);
    if (!Save(sharp, dir + "/truth.bmp", CXIMAGE_FORMAT_BMP))
        return 1;

    // Blur by distance in bands, capped so far bands look alike.
    std::vector<cv::Mat> levels { sharp };
    const int maxLevel = std::min(slices - 1, 4);
    for (int d = 1; d <= maxLevel; ++d) {
        cv::Mat blurred;
        cv::GaussianBlur(sharp, blurred, cv::Size(0, 0), 1.5 * d);
        levels.push_back(blurred);
    }
    for (int k = 0; k < slices; ++k) {
        cv::Mat slice(height, width, CV_8UC3);
        for (int band = 0; band < slices; ++band) {
            const int level = std::min(std::abs(band - k), maxLevel);
            const cv::Rect rows = Band(band, slices, width, height);
            levels[static_cast<size_t>(level)](rows).copyTo(slice(rows));
        }
        if (!Save(moving ? Move(slice, k) : slice, SliceName(dir, k), CXIMAGE_FORMAT_JPG))
            return 1;
    }
    if (!moving && !SaveOracle(slices, dir, width, height)) {
        std::fprintf(stderr, "cannot compose the oracle\n");
        return 1;
    }
    return 0;
}

int Psnr(const std::string& reference, const std::string& test)
{
    CxImage a, b;
    if (!a.LoadFile(QString::fromStdString(reference))
            || !b.LoadFile(QString::fromStdString(test))) {
        std::fprintf(stderr, "cannot read %s or %s\n", reference.c_str(), test.c_str());
        return 1;
    }
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.Bpp() != 24 || b.Bpp() != 24) {
        std::fprintf(stderr, "pictures differ in size or depth\n");
        return 1;
    }
    double sum = 0.0;
    for (uint32_t y = 0; y < a.Height(); ++y) {
        const uint8_t* p = a.RowBits(y);
        const uint8_t* q = b.RowBits(y);
        for (uint32_t i = 0; i < a.Width() * 3; ++i) {
            const double d = double(p[i]) - double(q[i]);
            sum += d * d;
        }
    }
    const double mse = sum / (double(a.Width()) * a.Height() * 3);
    std::printf("%.2f\n", mse > 0 ? 10.0 * std::log10(255.0 * 255.0 / mse) : 99.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    const bool moving = argc > 4 && std::string(argv[argc - 1]) == "moving";
    const int sized = argc - (moving ? 1 : 0);
    if (command == "generate" && (sized == 4 || sized == 6)) {
        const int width = sized == 6 ? std::atoi(argv[4]) : 2592;
        const int height = sized == 6 ? std::atoi(argv[5]) : 1944;
        return Generate(std::atoi(argv[2]), argv[3], width, height, moving);
    }
    if (command == "psnr" && argc == 4)
        return Psnr(argv[2], argv[3]);
    std::fprintf(stderr, "usage: fusion_stack generate N DIR [W H] [moving] | psnr A B\n");
    return 2;
}

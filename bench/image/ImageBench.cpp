// Codec speed on a 2592 x 1944 picture, each case printed as a ratio against a baseline timed in
// the same process: libjpeg-turbo's own cjpeg/djpeg for JPEG, memcpy plus write for BMP.
#include "image/xImage.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr uint32_t kWidth = 2592;
constexpr uint32_t kHeight = 1944;

struct Fixture
{
    QTemporaryDir dir;
    CxImage picture;
    QString bmp, ppm, jpg90, jpg100, out;

    Fixture()
    {
        // Smooth shading with fine texture, closer to a microscope frame than flat colour.
        picture.Create(kWidth, kHeight, 24);
        uint32_t seed = 12345;
        for (uint32_t y = 0; y < kHeight; ++y) {
            uint8_t* row = picture.RowBits(y);
            for (uint32_t x = 0; x < kWidth; ++x) {
                seed = seed * 1664525 + 1013904223;
                const int noise = int(seed >> 28) - 8;
                row[3 * x] = uint8_t(std::clamp(int(x * 255 / kWidth) + noise, 0, 255));
                row[3 * x + 1] = uint8_t(std::clamp(int(y * 255 / kHeight) + noise, 0, 255));
                row[3 * x + 2] = uint8_t(std::clamp(int((x + y) * 128 / kHeight) + noise, 0, 255));
            }
        }
        bmp = dir.filePath("pic.bmp");
        ppm = dir.filePath("pic.ppm");
        jpg90 = dir.filePath("pic90.jpg");
        jpg100 = dir.filePath("pic100.jpg");
        out = dir.filePath("out");
        picture.SaveFile(bmp, CXIMAGE_FORMAT_BMP);
        picture.SetJpegQualityLevel(90);
        picture.SaveFile(jpg90, CXIMAGE_FORMAT_JPG);
        picture.SetJpegQualityLevel(100);
        picture.SaveFile(jpg100, CXIMAGE_FORMAT_JPG);
        writePpm();
    }

    void writePpm()
    {
        FILE* f = std::fopen(QFile::encodeName(ppm).constData(), "wb");
        std::fprintf(f, "P6\n%u %u\n255\n", kWidth, kHeight);
        std::vector<uint8_t> row(kWidth * 3);
        for (uint32_t y = 0; y < kHeight; ++y) {
            const uint8_t* s = picture.RowBits(kHeight - 1 - y);
            for (uint32_t x = 0; x < kWidth; ++x) {
                row[3 * x] = s[3 * x + 2];
                row[3 * x + 1] = s[3 * x + 1];
                row[3 * x + 2] = s[3 * x];
            }
            std::fwrite(row.data(), 1, row.size(), f);
        }
        std::fclose(f);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

std::string path(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

void run(std::vector<std::string> args, benchmark::State& state)
{
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    int status = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0
            || waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        state.SkipWithError("tool failed");
}

void JpegEncode(benchmark::State& state)
{
    Fixture& f = fixture();
    CxImage img = f.picture;
    img.SetJpegQualityLevel(float(state.range(0)));
    for (auto _ : state)
        if (!img.SaveFile(f.out, CXIMAGE_FORMAT_JPG))
            state.SkipWithError("save failed");
}

void CjpegEncode(benchmark::State& state)
{
    Fixture& f = fixture();
    const std::string q = std::to_string(state.range(0));
    for (auto _ : state)
        run({ "cjpeg", "-quality", q, "-outfile", path(f.out), path(f.ppm) }, state);
}

void JpegDecode(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString in = state.range(0) == 90 ? f.jpg90 : f.jpg100;
    CxImage img;
    for (auto _ : state)
        if (!img.LoadFile(in, CXIMAGE_FORMAT_JPG))
            state.SkipWithError("load failed");
}

void DjpegDecode(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString in = state.range(0) == 90 ? f.jpg90 : f.jpg100;
    for (auto _ : state)
        run({ "djpeg", "-ppm", "-outfile", "/dev/null", path(in) }, state);
}

void BmpSave(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state)
        if (!f.picture.SaveFile(f.out, CXIMAGE_FORMAT_BMP))
            state.SkipWithError("save failed");
}

void MemcpyWrite(benchmark::State& state)
{
    Fixture& f = fixture();
    std::vector<uint8_t> copy(f.picture.DibSize());
    for (auto _ : state) {
        std::memcpy(copy.data(), f.picture.Dib(), copy.size());
        FILE* out = std::fopen(path(f.out).c_str(), "wb");
        std::fwrite(copy.data(), 1, copy.size(), out);
        std::fclose(out);
    }
}

void BmpLoad(benchmark::State& state)
{
    Fixture& f = fixture();
    CxImage img;
    for (auto _ : state)
        if (!img.LoadFile(f.bmp, CXIMAGE_FORMAT_BMP))
            state.SkipWithError("load failed");
}

void ReadMemcpy(benchmark::State& state)
{
    Fixture& f = fixture();
    std::vector<uint8_t> file(f.picture.DibSize() + 14), copy(file.size());
    for (auto _ : state) {
        FILE* in = std::fopen(path(f.bmp).c_str(), "rb");
        const size_t n = std::fread(file.data(), 1, file.size(), in);
        std::fclose(in);
        std::memcpy(copy.data(), file.data(), n);
        benchmark::DoNotOptimize(copy.data());
    }
}

void Thumbnail(benchmark::State& state)
{
    Fixture& f = fixture();
    CxImage thumb;
    for (auto _ : state)
        f.picture.MakeThumbnail(160, 120, 0, &thumb);
}

void QtSmoothScale(benchmark::State& state)
{
    Fixture& f = fixture();
    const QImage view(f.picture.RowBits(0), int(kWidth), int(kHeight),
            qsizetype(f.picture.Stride()), QImage::Format_BGR888);
    for (auto _ : state)
        benchmark::DoNotOptimize(
                view.scaled(160, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

BENCHMARK(JpegEncode)->Arg(90)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CjpegEncode)->Arg(90)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(JpegDecode)->Arg(90)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(DjpegDecode)->Arg(90)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BmpSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MemcpyWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BmpLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReadMemcpy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Thumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(QtSmoothScale)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each case's time so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Iteration)
                times[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const struct
    {
        const char *ours, *baseline, *goal;
    } pairs[] = {
        { "JpegEncode/90/real_time", "CjpegEncode/90/real_time", "<= 1.2" },
        { "JpegEncode/100/real_time", "CjpegEncode/100/real_time", "<= 1.2" },
        { "JpegDecode/90/real_time", "DjpegDecode/90/real_time", "<= 1.2" },
        { "JpegDecode/100/real_time", "DjpegDecode/100/real_time", "<= 1.2" },
        { "BmpSave/real_time", "MemcpyWrite/real_time", "<= 2" },
        { "BmpLoad/real_time", "ReadMemcpy/real_time", "<= 2" },
        { "Thumbnail/real_time", "QtSmoothScale/real_time", "(none)" },
    };
    std::printf("\n%-26s %-27s %8s  goal\n", "case", "baseline", "ratio");
    for (const auto& p : pairs) {
        const auto a = reporter.times.find(p.ours), b = reporter.times.find(p.baseline);
        if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0)
            continue;
        std::printf("%-26s %-27s %8.2f  %s\n", p.ours, p.baseline, a->second / b->second, p.goal);
    }
    benchmark::Shutdown();
    return 0;
}

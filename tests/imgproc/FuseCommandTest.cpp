#include "MergeTestImages.h"

#include "imgproc/FuseCommand.h"
#include "imgproc/PairMapCheck.h"

#include "FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <opencv2/imgproc.hpp>

#include <sstream>
#include <unistd.h>

namespace {

class FuseCommandFixture : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString Picture(const QString& name, int width, int height, uint64_t seed, int shift = 0)
    {
        const QString path = m_dir.filePath(name);
        const uint32_t format =
                name.endsWith(QStringLiteral(".jpg")) ? CXIMAGE_FORMAT_JPG : CXIMAGE_FORMAT_BMP;
        EXPECT_TRUE(SavePicture(TexturePicture(width, height, seed, shift), path, format));
        return path;
    }

    int Run(QStringList arguments)
    {
        m_out.str({});
        m_err.str({});
        arguments.prepend(QStringLiteral("kalvex"));
        return CFuseCommand().Run(arguments, m_out, m_err);
    }

    QTemporaryDir m_dir;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(FuseCommandFixture, FuseCommand_RefusesBadCountsAndOptions)
{
    const QString a = Picture(QStringLiteral("a.bmp"), 64, 48, 1);
    const QString out = m_dir.filePath(QStringLiteral("out.jpg"));

    EXPECT_EQ(Run({ "--fuse", "direct", "-o", out, a }), CFuseCommand::UsageError);
    EXPECT_NE(m_err.str().find("at least 2"), std::string::npos);

    QStringList many { "--fuse", "direct", "-o", out };
    for (int i = 0; i < 21; ++i)
        many << a;
    EXPECT_EQ(Run(many), CFuseCommand::UsageError);
    EXPECT_NE(m_err.str().find("At most 20"), std::string::npos);

    EXPECT_EQ(Run({ "--fuse", "sideways", "-o", out, a, a }), CFuseCommand::UsageError);
    EXPECT_NE(m_err.str().find("sideways"), std::string::npos);
    EXPECT_EQ(Run({ "--fuse", "direct", a, a }), CFuseCommand::UsageError);
    EXPECT_EQ(Run({ "--fuse", "direct", "-o", m_dir.filePath("out.png"), a, a }),
            CFuseCommand::UsageError);
    EXPECT_NE(m_err.str().find("out.png"), std::string::npos);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(FuseCommandFixture, FuseCommand_NamesUnreadableAndMismatchedInputs)
{
    const QString a = Picture(QStringLiteral("a.bmp"), 640, 480, 1);
    const QString wide = Picture(QStringLiteral("wide.bmp"), 641, 480, 2);
    const QString missing = m_dir.filePath(QStringLiteral("missing.jpg"));
    const QString out = m_dir.filePath(QStringLiteral("out.bmp"));

    EXPECT_EQ(Run({ "--fuse", "direct", "-o", out, a, missing }), CFuseCommand::UnreadableInput);
    EXPECT_NE(m_err.str().find("missing.jpg"), std::string::npos);

    for (const char* mode : { "direct", "adjusted" }) {
        EXPECT_EQ(Run({ "--fuse", mode, "-o", out, a, wide }), CFuseCommand::SizeMismatch);
        EXPECT_NE(m_err.str().find("641 x 480"), std::string::npos);
    }
    EXPECT_FALSE(QFile::exists(out));

    EXPECT_EQ(Run({ "--fuse", "direct", "-o", m_dir.filePath("no/such/dir/out.bmp"), a, a }),
            CFuseCommand::WriteFailed);
    EXPECT_NE(m_err.str().find("out.bmp"), std::string::npos);
}

TEST_F(FuseCommandFixture, FuseCommand_WritesTheFusedPictureAndReportsPairsWhenVerbose)
{
    const QString a = Picture(QStringLiteral("a.jpg"), 320, 240, 4);
    const QString b = Picture(QStringLiteral("b.jpg"), 320, 240, 4, 5);
    const QString c = Picture(QStringLiteral("c.jpg"), 320, 240, 4, 10);
    const QString out = m_dir.filePath(QStringLiteral("fused.jpg"));

    EXPECT_EQ(Run({ "--fuse", "adjusted", "--verbose", "-o", out, a, b, c }), CFuseCommand::Success)
            << m_err.str();
    const std::string text = m_out.str();
    EXPECT_NE(text.find("Pair 1-2:"), std::string::npos) << text;
    EXPECT_NE(text.find("Pair 2-3:"), std::string::npos) << text;
    EXPECT_NE(text.find("kept"), std::string::npos);
    EXPECT_NE(text.find("x' = "), std::string::npos);
    CxImage fused;
    ASSERT_TRUE(fused.LoadFile(out));
    EXPECT_EQ(fused.Width(), 320u);
    EXPECT_EQ(fused.Height(), 240u);

    // Without --verbose nothing goes to the output stream.
    EXPECT_EQ(Run({ "--fuse", "direct", "-o", m_dir.filePath("d.bmp"), a, b }),
            CFuseCommand::Success);
    EXPECT_TRUE(m_out.str().empty());
    EXPECT_TRUE(QFile::exists(m_dir.filePath("d.bmp")));
}

TEST_F(FuseCommandFixture, FuseCommand_AlignedWritesTheDepthMap)
{
    // Sharp on the left in the first picture, on the right in the second.
    const int width = 160, height = 120;
    CxImage sharp = TexturePicture(width, height, 7);
    CxImage left = sharp, right = sharp;
    const cv::Mat full(height, width, CV_8UC3, sharp.RowBits(0), sharp.Stride());
    cv::Mat blurred;
    cv::GaussianBlur(full, blurred, cv::Size(0, 0), 3.0);
    const int half = width / 2;
    blurred(cv::Rect(half, 0, width - half, height))
            .copyTo(cv::Mat(height, width, CV_8UC3, left.RowBits(0), left.Stride())(
                    cv::Rect(half, 0, width - half, height)));
    blurred(cv::Rect(0, 0, half, height))
            .copyTo(cv::Mat(height, width, CV_8UC3, right.RowBits(0), right.Stride())(
                    cv::Rect(0, 0, half, height)));
    const QString a = m_dir.filePath(QStringLiteral("a.bmp"));
    const QString b = m_dir.filePath(QStringLiteral("b.bmp"));
    ASSERT_TRUE(SavePicture(left, a));
    ASSERT_TRUE(SavePicture(right, b));
    const QString out = m_dir.filePath(QStringLiteral("out.bmp"));
    const QString depth = m_dir.filePath(QStringLiteral("depth.bmp"));

    EXPECT_EQ(Run({ "--fuse", "direct", "--depth-map", depth, "-o", out, a, b }),
            CFuseCommand::UsageError);
    EXPECT_NE(m_err.str().find("aligned"), std::string::npos);
    EXPECT_EQ(Run({ "--fuse", "aligned", "-o", out, "--depth-map" }), CFuseCommand::UsageError);
    EXPECT_FALSE(QFile::exists(depth));

    ASSERT_EQ(Run({ "--fuse", "aligned", "--depth-map", depth, "-o", out, "--verbose", a, b }),
            CFuseCommand::Success)
            << m_err.str();
    EXPECT_NE(m_out.str().find("Pair 1-2: x' = "), std::string::npos) << m_out.str();
    CxImage map;
    ASSERT_TRUE(map.LoadFile(depth));
    ASSERT_EQ(map.Bpp(), 8);
    EXPECT_TRUE(map.IsGrayScale());
    ASSERT_EQ(map.Width(), static_cast<uint32_t>(width));
    // The first input black, the last white; each half names its sharp picture.
    for (uint32_t y = 10; y + 10 < static_cast<uint32_t>(height); ++y) {
        EXPECT_EQ(map.RowBits(y)[10], 0) << y;
        EXPECT_EQ(map.RowBits(y)[width - 10], 255) << y;
    }
    CxImage fused;
    ASSERT_TRUE(fused.LoadFile(out));
    EXPECT_EQ(fused.Width(), static_cast<uint32_t>(width));
}

TEST_F(FuseCommandFixture, FuseCommand_FullDiskKeepsTheEarlierOutput)
{
    const QString a = Picture(QStringLiteral("a.bmp"), 320, 240, 4);
    const QString b = Picture(QStringLiteral("b.bmp"), 320, 240, 4, 5);
    const QString out = m_dir.filePath(QStringLiteral("out.bmp"));
    const QByteArray before("an earlier result");
    {
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    int status = 0;
    {
        const CFileSizeLimit full(4096);
        ASSERT_TRUE(full.Active());
        status = Run({ "--fuse", "direct", "-o", out, a, b });
    }
    EXPECT_EQ(status, CFuseCommand::WriteFailed);
    EXPECT_NE(m_err.str().find("out.bmp"), std::string::npos) << m_err.str();
    EXPECT_NE(m_err.str().find("File too large"), std::string::npos) << m_err.str();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(FuseCommandFixture, FuseCommand_NamesTheFileAndTheRealReason)
{
    const QString a = Picture(QStringLiteral("a.jpg"), 320, 240, 4);
    const QString b = Picture(QStringLiteral("b.jpg"), 320, 240, 4, 5);
    auto expectReason = [this](int status, int expected, const QString& file, const char* why) {
        EXPECT_EQ(status, expected) << m_err.str();
        EXPECT_NE(m_err.str().find(file.toStdString()), std::string::npos) << m_err.str();
        EXPECT_NE(m_err.str().find(why), std::string::npos) << m_err.str();
    };

    const QString noFolder = m_dir.filePath("no/such/out.jpg");
    expectReason(Run({ "--fuse", "direct", "-o", noFolder, a, b }), CFuseCommand::WriteFailed,
            noFolder, "No such file or directory");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.jpg"));
    const QString folder = m_dir.filePath("folder.jpg");
    expectReason(Run({ "--fuse", "direct", "-o", folder, a, b }), CFuseCommand::WriteFailed, folder,
            "directory");

    QFile whole(b);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const QString cut = m_dir.filePath("cut.jpg");
    QFile cutFile(cut);
    ASSERT_TRUE(cutFile.open(QIODevice::WriteOnly));
    cutFile.write(bytes.left(bytes.size() / 2));
    cutFile.close();
    const QString out = m_dir.filePath("out.jpg");
    expectReason(Run({ "--fuse", "direct", "-o", out, a, cut }), CFuseCommand::UnreadableInput, cut,
            "Premature end");

    QByteArray huge = bytes;
    const qsizetype sof = huge.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    huge[sof + 5] = huge[sof + 7] = char(0xFD);
    huge[sof + 6] = huge[sof + 8] = char(0xE8);
    const QString big = m_dir.filePath("big.jpg");
    QFile bigFile(big);
    ASSERT_TRUE(bigFile.open(QIODevice::WriteOnly));
    bigFile.write(huge);
    bigFile.close();
    expectReason(Run({ "--fuse", "direct", "-o", out, big, a }), CFuseCommand::UnreadableInput, big,
            "CXIMAGE_MAX_MEMORY exceeded");
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(FuseCommandFixture, FuseCommand_NamesAnInputItMayNotRead)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: a file without read permission can still be read";
    const QString a = Picture(QStringLiteral("a.jpg"), 320, 240, 4);
    const QString b = Picture(QStringLiteral("b.jpg"), 320, 240, 4, 5);
    ASSERT_TRUE(QFile::setPermissions(a, QFileDevice::WriteOwner));
    EXPECT_EQ(Run({ "--fuse", "direct", "-o", m_dir.filePath("out.jpg"), b, a }),
            CFuseCommand::UnreadableInput);
    EXPECT_NE(m_err.str().find(a.toStdString()), std::string::npos) << m_err.str();
    EXPECT_NE(m_err.str().find("Permission denied"), std::string::npos) << m_err.str();
}

TEST_F(FuseCommandFixture, FuseCommand_WidensAGreyPictureAmongColourOnes)
{
    const QString a = Picture(QStringLiteral("a.jpg"), 320, 240, 4);
    const CxImage colour = TexturePicture(320, 240, 4, 5);
    CxImage grey;
    ASSERT_TRUE(grey.Create(320, 240, 8, CXIMAGE_FORMAT_JPG));
    grey.SetGrayPalette();
    for (uint32_t y = 0; y < 240; ++y) {
        for (uint32_t x = 0; x < 320; ++x)
            grey.RowBits(y)[x] = colour.RowBits(y)[3 * x + 1];
    }
    const QString b = m_dir.filePath(QStringLiteral("grey.jpg"));
    ASSERT_TRUE(grey.SaveFile(b, CXIMAGE_FORMAT_JPG));
    const QString out = m_dir.filePath(QStringLiteral("fused.bmp"));
    EXPECT_EQ(Run({ "--fuse", "direct", "-o", out, a, b }), CFuseCommand::Success) << m_err.str();
    CxImage fused;
    ASSERT_TRUE(fused.LoadFile(out));
    EXPECT_EQ(fused.Bpp(), 24);
}

TEST(FuseCommand_Requested, OnlyWithTheFuseOption)
{
    char program[] = "kalvex";
    char fuse[] = "--fuse";
    char lang[] = "--lang";
    char* withFuse[] = { program, fuse };
    char* without[] = { program, lang };
    EXPECT_TRUE(CFuseCommand::Requested(2, withFuse));
    EXPECT_FALSE(CFuseCommand::Requested(2, without));
}

} // namespace

TEST_F(FuseCommandFixture, FuseCommand_RefusesToWriteOverAnInput)
{
    const QString a = Picture(QStringLiteral("a.jpg"), 64, 48, 1);
    const QString b = Picture(QStringLiteral("b.jpg"), 64, 48, 2);
    QFile file(a);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const QString link = m_dir.filePath(QStringLiteral("link.jpg"));
    const QString hard = m_dir.filePath(QStringLiteral("hard.jpg"));
    ASSERT_TRUE(QFile::link(a, link));
    ASSERT_EQ(::link(QFile::encodeName(a).constData(), QFile::encodeName(hard).constData()), 0);
    for (const QString& out : { a, m_dir.path() + QStringLiteral("/./a.jpg"), link, hard }) {
        EXPECT_EQ(Run({ "--fuse", "adjusted", "-o", out, a, b }), CFuseCommand::UsageError)
                << out.toStdString();
        EXPECT_NE(m_err.str().find("one of the input images"), std::string::npos) << m_err.str();
    }
    const QString out = m_dir.filePath(QStringLiteral("out.jpg"));
    EXPECT_EQ(Run({ "--fuse", "aligned", "--depth-map", b, "-o", out, a, b }),
            CFuseCommand::UsageError);
    EXPECT_EQ(Run({ "--fuse", "aligned", "--depth-map", out, "-o", out, a, b }),
            CFuseCommand::UsageError);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_FALSE(QFile::exists(out));
}

TEST(PairMapCheck, DoubtsFarShiftsShearsScalesAndMapsWorseThanStandingStill)
{
    const CxImage still = TexturePicture(320, 240, 3);
    const CxImage moved = TexturePicture(320, 240, 3, 8);
    const CImageView a = CFuseCommand::View(still);
    const CImageView b = CFuseCommand::View(moved);
    auto shifted = [](double dx, double dy) {
        CAffineMap map;
        map.x.r = dx;
        map.y.r = dy;
        return map;
    };
    EXPECT_FALSE(CPairMapCheck::Judge(0, CAffineMap {}, a, a).doubtful);
    EXPECT_FALSE(CPairMapCheck::Judge(0, shifted(1.5, -0.3), a, a).doubtful) << "a pixel off";
    const CPairMapCheck found = CPairMapCheck::Judge(0, shifted(8, 0), a, b);
    EXPECT_FALSE(found.doubtful) << found.mappedDifference << " vs " << found.unmovedDifference;
    EXPECT_LT(found.mappedDifference, found.unmovedDifference);

    const CPairMapCheck far = CPairMapCheck::Judge(2, shifted(-85, 0), a, a);
    EXPECT_TRUE(far.doubtful);
    EXPECT_NEAR(far.shiftX, -85, 1e-9);
    EXPECT_TRUE(far.Warning().contains(QStringLiteral("image 4 against image 3")))
            << far.Warning().toStdString();
    EXPECT_TRUE(far.Warning().contains(QStringLiteral("Aligned Merge")));
    EXPECT_TRUE(CPairMapCheck::Judge(0, shifted(-30, 0), a, a).doubtful) << "worse than still";
    CAffineMap sheared;
    sheared.x.q = 0.36;
    sheared.x.r = -0.18 * 240;
    EXPECT_TRUE(CPairMapCheck::Judge(0, sheared, a, a).doubtful);
    CAffineMap scaled;
    scaled.x.p = scaled.y.q = 1.2;
    scaled.x.r = -32;
    scaled.y.r = -24;
    EXPECT_TRUE(CPairMapCheck::Judge(0, scaled, a, a).doubtful);
}

TEST_F(FuseCommandFixture, FuseCommand_AdjustedWarnsOfAnUnlikelyAlignment)
{
    const QString a = m_dir.filePath(QStringLiteral("bars1.bmp"));
    const QString b = m_dir.filePath(QStringLiteral("bars2.bmp"));
    ASSERT_TRUE(SavePicture(ColourBars(640, 480), a));
    ASSERT_TRUE(SavePicture(ColourBars(640, 480), b));
    const QString out = m_dir.filePath(QStringLiteral("out.bmp"));
    ASSERT_EQ(Run({ "--fuse", "adjusted", "--verbose", "-o", out, a, b }), CFuseCommand::Success)
            << m_err.str();
    EXPECT_NE(m_err.str().find("Aligned Merge"), std::string::npos) << m_out.str() << "\n"
                                                                    << m_err.str();

    // A series that lines up gives no warning.
    const QString c = Picture(QStringLiteral("c.bmp"), 320, 240, 4);
    const QString d = Picture(QStringLiteral("d.bmp"), 320, 240, 4, 6);
    ASSERT_EQ(Run({ "--fuse", "adjusted", "-o", out, c, d }), CFuseCommand::Success);
    EXPECT_EQ(m_err.str(), "");
}

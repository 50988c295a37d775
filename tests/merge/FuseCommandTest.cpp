#include "MergeTestImages.h"

#include "imgproc/FuseCommand.h"

#include "FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sstream>

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

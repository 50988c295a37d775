#include "count/CountCommand.h"

#include "calibration/CalibrationSlot.h"
#include "image/xImage.h"
#include "imgproc/ParticleCsv.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <sstream>

namespace {

class CountCommandFixture : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // A light 120 x 80 picture with dark boxes: 10 x 10 near the top left, 4 x 4 on the right
    // edge, and a bright 6 x 6 one.
    QString Picture(const QString& name, const CPictureScale& scale = {})
    {
        CxImage picture;
        picture.Create(120, 80, 24);
        for (uint32_t row = 0; row < 80; ++row) {
            uint8_t* bits = picture.RowBits(row);
            const int y = 79 - int(row); // the DIB's first row is the bottom one
            for (int x = 0; x < 120; ++x) {
                uint8_t grey = 150;
                if (x >= 10 && x < 20 && y >= 5 && y < 15)
                    grey = 30;
                if (x >= 116 && y >= 40 && y < 44)
                    grey = 30;
                if (x >= 60 && x < 66 && y >= 50 && y < 56)
                    grey = 250;
                bits[3 * x] = bits[3 * x + 1] = bits[3 * x + 2] = grey;
            }
        }
        picture.SetPictureScale(scale);
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(picture.SaveFile(path, CXIMAGE_FORMAT_PNG));
        return path;
    }

    int Run(QStringList arguments)
    {
        m_out.str({});
        m_err.str({});
        arguments.prepend(QStringLiteral("kalvex"));
        return CCountCommand().Run(arguments, m_out, m_err);
    }
    QStringList Lines(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    bool Said(const std::ostringstream& stream, const char* text)
    {
        return stream.str().find(text) != std::string::npos;
    }

    QTemporaryDir m_dir;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(CountCommandFixture, CountCommand_WritesObjectsInTheGivenScale)
{
    const QString in = Picture(QStringLiteral("boxes.png"));
    const QString out = m_dir.filePath(QStringLiteral("count.csv"));
    ASSERT_EQ(Run({ "--count", in, "--threshold", "100", "--scale", "0.5um", "-o", out }),
            CCountCommand::Success);
    QStringList lines = Lines(out);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], CParticleCsv::kHeader);
    EXPECT_TRUE(lines[1].startsWith("1,7.5,5,25,")); // top-down: the box near the top is first
    EXPECT_TRUE(lines[2].startsWith("2,59,21,4,"));
    EXPECT_EQ(lines[7], "# scale: 0.5 x 0.5 um/pixel; from the command line");
    EXPECT_TRUE(Said(m_out, "2 objects"));

    // The bright box alone; the picture's own scale in millimetres.
    const QString scaled = Picture(QStringLiteral("scaled.png"), { "mm", 0.002, 0.002 });
    ASSERT_EQ(Run({ "--count", scaled, "--bright", "--threshold", "200", "--exclude-edges",
                      "--min-area", "9", "-o", out }),
            CCountCommand::Success);
    lines = Lines(out);
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith("1,0.126,0.106,0.000144,")) << lines[1].toStdString();
    EXPECT_EQ(lines.back(), "# scale: 0.002 x 0.002 mm/pixel; from the picture file");

    // Nothing dark enough: no objects, said plainly, and still a file.
    ASSERT_EQ(Run({ "--count", in, "--threshold", "10", "--split", "-o", out }),
            CCountCommand::Success);
    EXPECT_TRUE(Said(m_out, "No objects found"));
    EXPECT_EQ(Lines(out).last(), "# scale: none; results in pixels");
}

TEST_F(CountCommandFixture, CountCommand_RefusesBadOptionsAndFiles)
{
    const QString in = Picture(QStringLiteral("boxes.png"));
    const QString out = m_dir.filePath(QStringLiteral("count.csv"));
    const std::pair<QStringList, const char*> usage[] = {
        { { "--count", in }, "-o needs an output file" },
        { { "--count", "-o", out }, "--count needs a picture" },
        { { "--count", in, in, "-o", out }, "Unknown option" },
        { { "--count", in, "--threshold", "300", "-o", out }, "Bad threshold" },
        { { "--count", in, "--threshold", "-o", out }, "--threshold needs a value" },
        { { "--count", in, "--min-area", "1.5", "-o", out }, "Bad minimum area" },
        { { "--count", in, "--channel", "alpha", "-o", out }, "Unknown channel" },
        { { "--count", in, "--scale", "0.5", "-o", out }, "Bad scale" },
        { { "--count", in, "--scale", "0.5parsec", "-o", out }, "Bad scale" },
        { { "--count", in, "--frobnicate", "-o", out }, "Unknown option" },
        { { "--count", in, "-o", in }, "the picture itself" },
        { { "--count", in, "-o" }, "-o needs a value" },
    };
    for (const auto& [arguments, message] : usage) {
        EXPECT_EQ(Run(arguments), CCountCommand::UsageError) << arguments.join(' ').toStdString();
        EXPECT_TRUE(Said(m_err, message)) << m_err.str();
        EXPECT_TRUE(Said(m_err, "Usage: kalvex --count") || Said(m_err, "Bad scale"));
    }
    EXPECT_FALSE(QFile::exists(out));

    EXPECT_EQ(Run({ "--count", m_dir.filePath("missing.png"), "-o", out }),
            CCountCommand::UnreadableInput);
    EXPECT_TRUE(Said(m_err, "Cannot read the picture"));
    QFile junk(m_dir.filePath(QStringLiteral("junk.png")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture at all");
    junk.close();
    EXPECT_EQ(Run({ "--count", junk.fileName(), "-o", out }), CCountCommand::UnreadableInput);
    EXPECT_EQ(Run({ "--count", in, "-o", m_dir.filePath("no/such/folder.csv") }),
            CCountCommand::WriteFailed);
    EXPECT_TRUE(Said(m_err, "Cannot write"));
}

TEST(CountCommand, ParsesPixelSizesInEveryUnitSpelling)
{
    CCalibrationSlot slot;
    ASSERT_TRUE(CCountCommand::ParseScale(QStringLiteral("0.5um"), slot));
    EXPECT_EQ(CCalibrationSlot::UnitName(slot.unit), "um");
    EXPECT_DOUBLE_EQ(slot.yPerPixel, 0.5);
    ASSERT_TRUE(CCountCommand::ParseScale(QStringLiteral(" 2.5 µm"), slot));
    EXPECT_DOUBLE_EQ(slot.xPerPixel, 2.5);
    ASSERT_TRUE(CCountCommand::ParseScale(QStringLiteral("1e-3mm"), slot));
    EXPECT_EQ(CCalibrationSlot::UnitName(slot.unit), "mm");
    for (const char* bad : { "", "um", "-1um", "0um", "1 2um", "abc" })
        EXPECT_FALSE(CCountCommand::ParseScale(QString::fromUtf8(bad), slot)) << bad;
    const CParticleCounter::Scale pixels = CCountCommand::ScaleOf(CCalibrationSlot());
    EXPECT_EQ(pixels.unit, "px");
    EXPECT_EQ(pixels.xPerPixel, 1.0);
}

} // namespace

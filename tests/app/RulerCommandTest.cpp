#include "app/RulerCommand.h"

#include "Rulings.h"

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sstream>

namespace {
struct Outcome
{
    int code;
    QString out;
    QString err;
};

Outcome RunRuler(const QStringList& arguments)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = CRulerCommand().Run(arguments, out, err);
    return { code, QString::fromStdString(out.str()), QString::fromStdString(err.str()) };
}

QString Save(const QTemporaryDir& dir, const cv::Mat& grey, const char* name)
{
    const QImage image(grey.data, grey.cols, grey.rows, int(grey.step), QImage::Format_Grayscale8);
    const QString path = dir.filePath(QLatin1String(name));
    EXPECT_TRUE(image.convertToFormat(QImage::Format_RGB888).save(path, "PNG"));
    return path;
}
} // namespace

// One line with the scale of one division over its period, and a clear word for every
// input that cannot give one: never a scale from nothing.
TEST(RulerCommand, PrintsTheScaleOrSaysWhyNot)
{
    QTemporaryDir dir;
    const QString ruling = Save(dir, DrawRuling({ .period = 20.0, .angle = 30.0 }), "ruling.png");
    const Outcome ok = RunRuler({ "kalvex", "--scale-from-ruler", ruling, "--division", "0.01mm" });
    ASSERT_EQ(ok.code, CRulerCommand::Success) << ok.err.toStdString();
    const QRegularExpressionMatch line = QRegularExpression(
            R"(^(\S+) mm/pixel uncertainty (\S+) divisions (\d+) angle (\S+) deg\n$)")
                                                 .match(ok.out);
    ASSERT_TRUE(line.hasMatch()) << ok.out.toStdString();
    EXPECT_NEAR(line.captured(1).toDouble(), 0.01 / 20.0, 0.01 / 20.0 * 2e-4);
    EXPECT_GT(line.captured(2).toDouble(), 0.0);
    EXPECT_GE(line.captured(3).toInt(), 20);
    EXPECT_NEAR(line.captured(4).toDouble(), 30.0, 0.2);

    const QString blank = Save(dir, cv::Mat(200, 200, CV_8U, cv::Scalar(90)), "blank.png");
    const struct
    {
        QStringList arguments;
        int code;
        const char* says;
    } bad[] = {
        { { "--scale-from-ruler", blank, "--division", "10um" }, CRulerCommand::NoRuling, "blank" },
        { { "--scale-from-ruler", dir.filePath("none.png"), "--division", "10um" },
                CRulerCommand::UnreadableInput, "cannot be read" },
        { { "--scale-from-ruler", ruling, "--division", "0um" }, CRulerCommand::UsageError,
                "not a length" },
        { { "--scale-from-ruler", ruling, "--division", "ten" }, CRulerCommand::UsageError,
                "not a length" },
        { { "--scale-from-ruler", ruling }, CRulerCommand::UsageError, "Usage" },
        { { "--scale-from-ruler", ruling, "--division", "10um", "--fast" },
                CRulerCommand::UsageError, "--fast" },
    };
    for (const auto& c : bad) {
        const Outcome got = RunRuler(c.arguments);
        EXPECT_EQ(got.code, c.code) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(got.out.isEmpty());
        EXPECT_TRUE(got.err.contains(QLatin1String(c.says))) << got.err.toStdString();
    }
}

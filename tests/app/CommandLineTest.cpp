#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

CCommandLine Parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("kalvex"));
    return CCommandLine(arguments);
}

struct CRun
{
    int exitCode;
    QString out;
    QString err;
};

// The real program, as a user without a display starts it.
CRun RunKalvex(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KALVEX_EXECUTABLE), arguments);
    process.waitForFinished(30000);
    return { process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
        QString::fromLocal8Bit(process.readAllStandardError()) };
}

} // namespace

TEST(CommandLine, TellsWindowRunsHelpVersionAndUnknownOptionsApart)
{
    const CCommandLine run = Parse({ "a.jpg", "--lang", "zh_CN", "--test-camera", "b.png" });
    EXPECT_EQ(run.What(), CCommandLine::Action::Run);
    EXPECT_EQ(run.Files(), (QStringList { "a.jpg", "b.png" }));
    EXPECT_EQ(run.Language(), "zh_CN");
    EXPECT_TRUE(run.TestCamera());
    EXPECT_FALSE(Parse({}).TestCamera());

    EXPECT_EQ(Parse({ "-h" }).What(), CCommandLine::Action::Help);
    EXPECT_EQ(Parse({ "a.jpg", "--help" }).What(), CCommandLine::Action::Help);
    EXPECT_EQ(Parse({ "--version" }).What(), CCommandLine::Action::Version);
    const CCommandLine bad = Parse({ "--bogus", "a.jpg" });
    EXPECT_EQ(bad.What(), CCommandLine::Action::Unknown);
    EXPECT_TRUE(bad.Error().contains("bogus")) << bad.Error().toStdString();
    // Qt's own options are left for QApplication to take out; ours around them still count.
    EXPECT_EQ(Parse({ "-platform", "offscreen", "a.jpg" }).What(), CCommandLine::Action::Run);
    EXPECT_EQ(Parse({ "-platform", "offscreen", "--bogus" }).What(), CCommandLine::Action::Unknown);
    // A value option without its value is as wrong as an unknown one.
    EXPECT_EQ(Parse({ "--lang" }).What(), CCommandLine::Action::Unknown);
}

TEST(CommandLine, PicturesCameraTakesItsFilesAndARateInRange)
{
    const CCommandLine files =
            Parse({ "--camera-files", "stack/slice_%02d.jpg", "--camera-fps", "2.5", "a.jpg" });
    EXPECT_EQ(files.What(), CCommandLine::Action::Run);
    EXPECT_EQ(files.CameraFiles(), "stack/slice_%02d.jpg");
    EXPECT_EQ(files.CameraFps(), "2.5");
    EXPECT_EQ(files.Files(), QStringList { "a.jpg" });
    EXPECT_TRUE(Parse({}).CameraFiles().isEmpty());
    EXPECT_TRUE(Parse({}).CameraFps().isEmpty());
    for (const char* bad : { "0", "-1", "121", "fast", "nan", "" }) {
        const CCommandLine line = Parse({ "--camera-fps", bad });
        EXPECT_EQ(line.What(), CCommandLine::Action::Unknown) << bad;
        EXPECT_TRUE(line.Error().contains("--camera-fps")) << line.Error().toStdString();
    }
}

TEST(CommandLine, HelpAndManPageListEveryOptionOnOneLine)
{
    const QStringList lines = CCommandLine::HelpText().split('\n');
    QFile man(QStringLiteral(KALVEX_SOURCE_ROOT_DIR "/res/kalvex.1"));
    ASSERT_TRUE(man.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(man.readAll()).remove(QStringLiteral("\\"));
    for (const QString& names : CCommandLine::OptionNames()) {
        const int row = lines.indexOf(QRegularExpression(
                "^  " + QRegularExpression::escape(names) + "( <\\w+>)?  +\\S.*"));
        ASSERT_GE(row, 0) << names.toStdString() << " not in\n"
                          << CCommandLine::HelpText().toStdString();
        // No description runs over into a second line.
        EXPECT_TRUE(row + 1 == lines.size() || lines[row + 1].isEmpty()
                || lines[row + 1].startsWith("  -"))
                << lines[row + 1].toStdString();
        for (const QString& name : names.split(", "))
            EXPECT_TRUE(page.contains(name)) << "the man page lacks " << name.toStdString();
    }
    EXPECT_TRUE(CCommandLine::HelpHead().startsWith("Usage:"));
    EXPECT_EQ(CCommandLine::HelpHead().count('\n'), 3);
}

TEST(CommandLine, TheProgramAnswersWithoutADisplay)
{
    const CRun help = RunKalvex({ "--help" });
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    for (const char* option : { "--fuse", "--depth-map", "--test-camera", "--camera-files",
                 "--camera-fps", "--lang", "--version" })
        EXPECT_TRUE(help.out.contains(option)) << option;

    const CRun version = RunKalvex({ "--version" });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "kalvex " KALVEX_VERSION "\n");

    const CRun bad = RunKalvex({ "--bogus" });
    EXPECT_EQ(bad.exitCode, CCommandLine::kUnknownExit);
    EXPECT_TRUE(bad.err.contains("Unknown option 'bogus'")) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.contains("Usage:"));
    EXPECT_TRUE(bad.out.isEmpty());
}

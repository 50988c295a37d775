#include "base/IniFile.h"

#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QString WriteFile(const QTemporaryDir& dir, const QByteArray& content)
{
    const QString path = dir.filePath(QStringLiteral("Setting.ini"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

TEST(IniFile_Read, IntegersParseAsFarAsTheDigitsGo)
{
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "[GENERAL]\na=12abc\nb=-5\nc=abc\nd= 7\ne=4294967295\n");
    const CIniFile ini(path);
    EXPECT_EQ(ini.GetInt("GENERAL", "a", 99), 12);
    EXPECT_EQ(ini.GetInt("GENERAL", "b", 99), -5);
    EXPECT_EQ(ini.GetInt("GENERAL", "c", 99), 0);
    EXPECT_EQ(ini.GetInt("GENERAL", "d", 99), 7);
    EXPECT_EQ(ini.GetInt("GENERAL", "e", 99), 2147483647) << "beyond 32 bits: the limit, never UB";
    EXPECT_EQ(ini.GetInt("general", "A", 99), 12) << "names match without regard to case";
}

TEST(IniFile_Read, MissingKeyOrFileGivesDefaults)
{
    QTemporaryDir dir;
    const CIniFile missing(dir.filePath(QStringLiteral("nothing.ini")));
    EXPECT_EQ(missing.GetInt("GENERAL", "m_nDisp", 1), 1);
    EXPECT_EQ(missing.GetString("GENERAL", "x", "def", 260), QStringLiteral("def"));

    const CIniFile ini(WriteFile(dir, "[GENERAL]\nother=3\n"));
    EXPECT_EQ(ini.GetInt("GENERAL", "m_nDisp", 1), 1);
    EXPECT_EQ(ini.GetInt("OTHER", "other", 8), 8);
}

TEST(IniFile_Read, StringsAreCutAtTheBufferSizeLessOne)
{
    QTemporaryDir dir;
    const CIniFile ini(WriteFile(dir, "[S]\nface=ABCDEFGHIJ\n"));
    EXPECT_EQ(ini.GetString("S", "face", QString(), 5), QStringLiteral("ABCD"));
    EXPECT_EQ(ini.GetString("S", "face", QString(), 32), QStringLiteral("ABCDEFGHIJ"));
}

TEST(IniFile_Read, RealsReadTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(CIniFile::ParseDouble(QStringLiteral("12.500000")), 12.5);
    EXPECT_DOUBLE_EQ(CIniFile::ParseDouble(QStringLiteral("3.5mm")), 3.5);
    EXPECT_DOUBLE_EQ(CIniFile::ParseDouble(QStringLiteral("x")), 0.0);
}

TEST(IniFile_Write, KeepsUnrelatedKeysSectionsAndComments)
{
    QTemporaryDir dir;
    const QString path =
            WriteFile(dir, "; hand notes\n[GENERAL]\nm_nDisp=2\nmine=keep me\n\n[MINE]\nx=1\n");
    CIniFile ini(path);
    ini.WriteInt("GENERAL", "m_nDisp", 3);
    ini.WriteInt("GENERAL", "m_bBMP", 0);
    ini.WriteDouble("CALIBRATION", "xlen_0", 12.5);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(path),
            QByteArray("; hand notes\n[GENERAL]\nm_nDisp=3\nmine=keep me\nm_bBMP=0\n\n[MINE]\n"
                       "x=1\n[CALIBRATION]\nxlen_0=12.500000\n"));
}

TEST(IniFile_Write, InterruptedWriteLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QByteArray before("[GENERAL]\nm_nDisp=2\n");
    const QString path = WriteFile(dir, before);
    CIniFile ini(path);
    ini.WriteInt("GENERAL", "m_nDisp", 0);
    EXPECT_FALSE(ini.Save(/*abortBeforeRename=*/true));
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file left";
}

TEST(IniFile_Write, CreatesFileAndFolder)
{
    QTemporaryDir dir;
    CIniFile ini(dir.filePath(QStringLiteral("kalvex/Setting.ini")));
    ini.WriteString("GENERAL", "m_strDeviceName", QStringLiteral("USB 显微镜"));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(CIniFile(ini.Path()).GetString("GENERAL", "m_strDeviceName", {}, 256),
            QStringLiteral("USB 显微镜"));
}

namespace {

QByteArray LargeSettings()
{
    QByteArray content("[GENERAL]\nm_nDisp=2\nm_strImagePath=/home/user/Pictures/microscope\n"
                       "[CALIBRATION]\ncurSel=3\n");
    for (int n = 0; n < 10; ++n)
        content += "xlen_" + QByteArray::number(n) + "=12.500000\nunit_" + QByteArray::number(n)
                + "=1\nleft_" + QByteArray::number(n) + "=100\nright_" + QByteArray::number(n)
                + "=612\n";
    return content;
}

} // namespace

TEST(IniFile_Write, FullDiskKeepsTheOldFileAndGivesTheReason)
{
    QTemporaryDir dir;
    const QByteArray before = LargeSettings();
    const QString path = WriteFile(dir, before);
    CIniFile ini(path);
    ini.WriteInt("GENERAL", "m_nDisp", 3);
    bool saved = true;
    {
        const CFileSizeLimit full(before.size() / 2);
        ASSERT_TRUE(full.Active());
        saved = ini.Save();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_TRUE(ini.LastError().contains("File too large")) << ini.LastError().toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList { "Setting.ini" })
            << "no temporary file left";
}

TEST(IniFile_Write, UnreadableFileIsNotReplaced)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: a file without read permission can still be read";
    QTemporaryDir dir;
    const QString path = WriteFile(dir, LargeSettings());
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    CIniFile ini(path);
    ini.WriteInt("CROSSLINE", "Count", 0);
    EXPECT_FALSE(ini.Save());
    EXPECT_FALSE(ini.LastError().isEmpty());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(ReadFile(path), LargeSettings());
}

TEST(IniFile_Write, LinesInOtherEncodingsKeepTheirBytes)
{
    QTemporaryDir dir;
    // Latin-1 comment and value, a CR-LF line and a spaced header: none of them is ours.
    const QByteArray foreign("; R\xE9glages du microscope\r\n[ MINE ]\nnom=\xE9t\xE9\n[GENERAL]\n"
                             "m_nDisp=2\nlieu=caf\xE9\n");
    const QString path = WriteFile(dir, foreign);
    CIniFile ini(path);
    EXPECT_EQ(ini.GetString("MINE", "nom", {}, 32), QString::fromLatin1("\xE9t\xE9"));
    ini.WriteInt("GENERAL", "m_nDisp", 3);
    ini.WriteString("MINE", "nom", QString::fromLatin1("\xE9t\xE9")); // the same value
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(path),
            QByteArray("; R\xE9glages du microscope\r\n[ MINE ]\nnom=\xE9t\xE9\n[GENERAL]\n"
                       "m_nDisp=3\nlieu=caf\xE9\n"));
}

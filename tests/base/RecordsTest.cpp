// The records of Setting.ini and the names of snapshots, without a window.
#include "base/GeneralSettings.h"
#include "base/IniFile.h"
#include "base/LogFont.h"
#include "base/SnapshotNamer.h"

#include <QDateTime>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {
QDateTime June12()
{
    return QDateTime(QDate(2015, 6, 12), QTime(9, 30, 5));
}
} // namespace

TEST(SnapshotNamer_Names, SecondPictureInTheSameSecondGetsASuffix)
{
    QTemporaryDir dir;
    const CSnapshotNamer namer(June12);
    EXPECT_EQ(namer.UniqueName(dir.path(), ".bmp"), "20150612093005.bmp");
    QFile(dir.filePath("20150612093005.bmp")).open(QIODevice::WriteOnly);
    EXPECT_EQ(namer.UniqueName(dir.path(), ".bmp"), "20150612093005_2.bmp");
    QFile(dir.filePath("20150612093005_2.bmp")).open(QIODevice::WriteOnly);
    EXPECT_EQ(namer.UniqueName(dir.path(), ".bmp"), "20150612093005_3.bmp");
    EXPECT_EQ(namer.UniqueName(dir.path(), ".jpg"), "20150612093005.jpg");
    EXPECT_EQ(CSnapshotNamer::JoinPath("/pics", "a.bmp"), "/pics/a.bmp");
}

TEST(LogFont_ToQFont, TheMostNegativeHeightIsBoundedNotNegated)
{
    CLogFont font;
    font.lfHeight = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(font.ToQFont().pixelSize(), CLogFont::kMaxPixelHeight);
}

// The snapshot format beyond BMP and JPEG: an old file (m_bBMP only) keeps its meaning, and
// m_bBMP in ours still tells older builds BMP or not.
TEST(GeneralSettings_SaveFormat, OldFilesAndNewFormatsRoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Setting.ini");
    struct Case
    {
        const char* file;
        const char* format;
    };
    for (const Case& c :
            { Case { "[GENERAL]\nm_bBMP=0\n", "jpg" }, Case { "[GENERAL]\nm_bBMP=1\n", "bmp" },
                    Case { "[GENERAL]\nm_bBMP=0\nm_strSaveFormat=PNG\n", "png" },
                    Case { "[GENERAL]\nm_bBMP=1\nm_strSaveFormat=tif\n",
                            "bmp" }, // old build chose BMP
                    Case { "[GENERAL]\nm_bBMP=0\nm_strSaveFormat=gif\n", "jpg" } }) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.file);
        f.close();
        CGeneralSettings settings;
        settings.Load(CIniFile(path), dir.path());
        EXPECT_EQ(settings.SaveFormat(), c.format) << c.file;
    }
    CGeneralSettings settings;
    settings.SetSaveFormat("tif");
    EXPECT_FALSE(settings.m_bBMP);
    CIniFile ini(path);
    settings.Save(ini);
    ASSERT_TRUE(ini.Save());
    const CIniFile back(path);
    EXPECT_EQ(back.GetInt("GENERAL", "m_bBMP", -1), 0);
    EXPECT_EQ(back.GetString("GENERAL", "m_strSaveFormat", {}, 8), "tif");
}

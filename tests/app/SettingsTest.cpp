#include "base/GeneralSettings.h"
#include "base/IniFile.h"
#include "app/TavoMeasureDlg.h"
#include "measure/CrossLine.h"

#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QFont>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

class SettingsFile : public testing::Test
{
protected:
    QString Path() const { return m_dir.filePath(QStringLiteral("Setting.ini")); }
    void Write(const QByteArray& content) const
    {
        QFile file(Path());
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }
    // One whole run of the main window object: construction reads, destruction writes.
    void RunOnce(const std::function<void(CTavoMeasureDlg&)>& change = {}) const
    {
        CTavoMeasureDlg window(Path());
        if (change)
            change(window);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SettingsFile, FirstStartWritesCompleteDefaults)
{
    RunOnce();
    const CIniFile ini(Path());
    const QString documents = CGeneralSettings::DefaultDocumentsFolder();
    EXPECT_EQ(ini.GetInt("GENERAL", "m_bHasLeft", -1), 1);
    EXPECT_EQ(ini.GetInt("GENERAL", "m_bHasBottom", -1), 1);
    EXPECT_EQ(ini.GetInt("GENERAL", "m_nVideoWidth", -1), 640);
    EXPECT_EQ(ini.GetInt("GENERAL", "m_nVideoHeight", -1), 480);
    EXPECT_EQ(ini.GetInt("GENERAL", "m_nDisp", -1), 1);
    EXPECT_EQ(ini.GetInt("GENERAL", "m_bBMP", -1), 1);
    EXPECT_EQ(ini.GetInt("GENERAL", "m_bMeasure", -1), 0);
    EXPECT_EQ(ini.GetString("GENERAL", "m_strImagePath", {}, 260), documents + "/image");
    EXPECT_EQ(ini.GetString("GENERAL", "m_strMeasurePath", {}, 260), documents + "/measure");
    EXPECT_TRUE(ini.HasKey("GENERAL", "m_strDeviceName"));
    EXPECT_FALSE(ini.HasKey("GENERAL", "m_bEnableWB")) << "white balance is never written";
    EXPECT_EQ(ini.GetInt("COLORSETTING", "GridSize", -1), 20);
    EXPECT_TRUE(ini.HasKey("COLORSETTING", "Text.font.lfFaceName"));
    EXPECT_TRUE(ini.HasKey("COLORSETTING", "ScalePos"));
    EXPECT_EQ(ini.GetInt("CALIBRATION", "curSel", -1), 0);
    for (int n = 0; n < 10; ++n) {
        const QString s = QString::number(n);
        EXPECT_EQ(ini.GetString("CALIBRATION", "xlen_" + s, {}, 32), "0.000000");
        EXPECT_EQ(ini.GetInt("CALIBRATION", "unit_" + s, -1), 0);
        EXPECT_TRUE(ini.HasKey("CALIBRATION", "top_" + s));
    }
    EXPECT_EQ(ini.GetInt("CROSSLINE", "Count", -1), 0);
}

TEST_F(SettingsFile, RealLengthWrittenWithSixDecimals)
{
    RunOnce([](CTavoMeasureDlg& w) {
        CCalibrationSlot slot = w.Calibration().GetCurSlot();
        slot.xLength = 12.5;
        w.Calibration().SetCurSlot(slot);
    });
    EXPECT_EQ(CIniFile(Path()).GetString("CALIBRATION", "xlen_0", {}, 32), "12.500000");
}

// Lengths keep every digit where six decimals would change them; hand-edited integers beyond 32
// bits and crossed reference bars load as the values out of range they are.
TEST_F(SettingsFile, CalibrationKeepsItsPrecisionAndRefusesWhatCannotBe)
{
    RunOnce([](CTavoMeasureDlg& w) {
        CCalibrationSlot slot = w.Calibration().StoredSlot(0);
        slot.xLength = 1.0 / 3.0;
        slot.yLength = 1e-308;
        slot.left = slot.top = 10;
        slot.right = slot.bottom = 11; // one pixel: the scale is the length itself
        slot.ApplyScaleRule();
        w.Calibration().SetSlot(0, slot);
    });
    const CIniFile written(Path());
    EXPECT_EQ(written.GetString("CALIBRATION", "ylen_0", {}, 32), "9.9999999999999991e-309");
    EXPECT_EQ(written.GetString("CALIBRATION", "xlen_0", {}, 32), "0.33333333333333331");
    EXPECT_EQ(written.GetString("CALIBRATION", "xlen_1", {}, 32), "0.000000") << "old form kept";
    RunOnce([](CTavoMeasureDlg& w) {
        const CCalibrationSlot slot = w.Calibration().StoredSlot(0);
        EXPECT_EQ(slot.xLength, 1.0 / 3.0);
        EXPECT_EQ(slot.yLength, 1e-308);
        EXPECT_TRUE(slot.HasUsableScale());
    });

    Write("[CALIBRATION]\nxlen_0=5\nylen_0=5\nleft_0=10\nright_0=110\ntop_0=400\nbottom_0=300\n"
          "width_0=4294967936\nheight_0=480\n"
          "xlen_1=5\nylen_1=5\nleft_1=110\nright_1=10\ntop_1=300\nbottom_1=400\n"
          "xlen_2=5\nylen_2=5\nleft_2=10\nright_2=110\ntop_2=300\nbottom_2=400\n"
          "width_2=640\nheight_2=-4294966816\n");
    RunOnce([](CTavoMeasureDlg& w) {
        EXPECT_FALSE(w.Calibration().StoredSlot(0).HasUsableScale()) << "top below bottom";
        EXPECT_FALSE(w.Calibration().StoredSlot(1).HasUsableScale()) << "left past right";
        EXPECT_TRUE(w.Calibration().StoredSlot(2).HasUsableScale());
        EXPECT_EQ(w.Calibration().MadeAt(0), QSize()) << "4294967936 is not 640";
        EXPECT_EQ(w.Calibration().MadeAt(2), QSize()) << "nor -4294966816 480";
    });
    EXPECT_EQ(CIniFile::ParseInt("99999999999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(CIniFile::ParseInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(CIniFile::ParseInt("-2147483649"), std::numeric_limits<int>::min());
}

// A Setting.ini that cannot be replaced is said in the window at the start, not first on
// stderr at the exit.
TEST_F(SettingsFile, UnsaveableFileIsToldAtTheStart)
{
    const QString dangling = m_dir.filePath("elsewhere/Setting.ini");
    for (int kind = 0; kind < 3; ++kind) {
        QFile::remove(Path());
        QDir(Path()).removeRecursively();
        if (kind == 1)
            ASSERT_TRUE(QDir().mkpath(Path()));
        if (kind == 2)
            ASSERT_TRUE(QFile::link(dangling, Path()));
        CTavoMeasureDlg window(Path());
        window.SetSettingsFailureSink([](const QString&) {});
        EXPECT_EQ(window.SettingsProblem().isEmpty(), kind == 0) << kind;
        if (kind == 1)
            EXPECT_EQ(window.SettingsProblem(), "A folder has that name.");
        window.Initialise(/*showWindow=*/false);
        const auto* box = window.findChild<QMessageBox*>("settingsProblemMessage");
        ASSERT_EQ(box != nullptr, kind != 0) << kind;
        if (box) {
            EXPECT_TRUE(box->isVisible());
            EXPECT_TRUE(box->text().contains(Path())) << box->text().toStdString();
        }
    }
}

TEST_F(SettingsFile, BinThresholdIsKeptAcrossRestarts)
{
    RunOnce([](CTavoMeasureDlg& w) { w.SetThreshold(37); });
    EXPECT_EQ(CIniFile(Path()).GetInt("GENERAL", "m_nBinThreshold", -1), 37);
    RunOnce([](CTavoMeasureDlg& w) { EXPECT_EQ(w.Threshold(), 37); });
    Write("[GENERAL]\nm_nBinThreshold=999\n");
    RunOnce([](CTavoMeasureDlg& w) { EXPECT_EQ(w.Threshold(), 255); });
}

TEST_F(SettingsFile, FontByteFieldsStayUnsigned)
{
    RunOnce([](CTavoMeasureDlg& w) { w.ColorSetting().font.lfCharSet = 134; });
    EXPECT_EQ(CIniFile(Path()).GetString("COLORSETTING", "Text.font.lfCharSet", {}, 8), "134");
    RunOnce([](CTavoMeasureDlg& w) { EXPECT_EQ(w.ColorSetting().font.lfCharSet, 134); });
}

TEST_F(SettingsFile, CrossLinesBeyondCountAreIgnoredAndKept)
{
    QByteArray content("[CROSSLINE]\nCount=2\n");
    for (int i = 0; i < 3; ++i) {
        const QByteArray n = QByteArray::number(i);
        content += "Type_" + n + "=1\nShow_" + n + "=1\nPos_x_" + n + "="
                + QByteArray::number(10 * i) + "\nPos_y_" + n + "=5\nSize_" + n + "=2\nColor_" + n
                + "=255\n";
    }
    Write(content);
    RunOnce();
    const CIniFile ini(Path());
    EXPECT_EQ(CCrossLine::LoadAll(ini).size(), 2u);
    EXPECT_EQ(ini.GetInt("CROSSLINE", "Count", -1), 2);
    EXPECT_EQ(ini.GetInt("CROSSLINE", "Pos_x_2", -1), 20) << "the stale third entry stays";
}

TEST_F(SettingsFile, HandEditedWhiteBalanceSurvives)
{
    Write("[GENERAL]\nm_bEnableWB=1\nm_nWBRed=7\nm_nWBBlue=-3\n");
    RunOnce([](CTavoMeasureDlg& w) {
        EXPECT_TRUE(w.General().m_bEnableWB);
        EXPECT_EQ(w.General().m_nWBRed, 7);
        w.General().m_nWBRed = 20; // the dialog changes memory only
        w.General().m_bEnableWB = false;
    });
    const CIniFile ini(Path());
    EXPECT_EQ(ini.GetInt("GENERAL", "m_bEnableWB", -1), 1);
    EXPECT_EQ(ini.GetInt("GENERAL", "m_nWBRed", -1), 7);
    EXPECT_EQ(ini.GetInt("GENERAL", "m_nWBBlue", 0), -3);
}

TEST_F(SettingsFile, OutOfRangeValuesAreBroughtIntoRange)
{
    Write("[GENERAL]\nm_nDisp=9\nm_nVideoWidth=-4\n[CALIBRATION]\ncurSel=42\nunit_0=77\n"
          "[CROSSLINE]\nCount=-3\n");
    RunOnce([](CTavoMeasureDlg& w) {
        EXPECT_EQ(w.General().m_nDisp, 1);
        EXPECT_EQ(w.General().m_nVideoWidth, 640);
        EXPECT_EQ(w.Calibration().CurrentIndex(), 9);
        EXPECT_EQ(w.Calibration().GetSlot(0).unit, 0);
    });
}

TEST_F(SettingsFile, DisplayScaleZeroStartsAtCaptureSize)
{
    Write("[GENERAL]\nm_nDisp=0\nm_nVideoWidth=800\nm_nVideoHeight=600\n");
    RunOnce([](CTavoMeasureDlg& w) { EXPECT_EQ(w.DisplaySize(), QSize(800, 600)); });
}

TEST_F(SettingsFile, FullDiskAtExitKeepsEverySettingAndSaysSo)
{
    QByteArray content("[GENERAL]\nm_nDisp=2\nm_strImagePath=/data/pictures\n[CROSSLINE]\nCount=1\n"
                       "Type_0=1\nShow_0=1\nPos_x_0=40\nPos_y_0=50\nSize_0=3\nColor_0=255\n"
                       "[CALIBRATION]\ncurSel=2\n");
    for (int n = 0; n < 10; ++n)
        content += "xlen_" + QByteArray::number(n) + "=12.500000\nunit_" + QByteArray::number(n)
                + "=1\n";
    Write(content);
    QStringList messages;
    {
        auto window = std::make_unique<CTavoMeasureDlg>(Path());
        window->SetSettingsFailureSink([&](const QString& text) { messages << text; });
        window->General().m_nDisp = 3;
        const CFileSizeLimit full(64);
        ASSERT_TRUE(full.Active());
        window.reset(); // the window and then its canvas go, both under the limit
    }
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), content) << "neither the settings nor the cross lines replaced it";
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(Path())) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains("File too large")) << messages[0].toStdString();
}

TEST_F(SettingsFile, HandEditedExtremesAreBoundedOnLoadAndWrittenBackSmall)
{
    Write("[COLORSETTING]\nText.font.lfHeight=-2147483648\nText.font.lfWeight=99999\n"
          "Text.font.lfEscapement=2147483647\nGridColor=-1\nScaleXLen=-7\n"
          "[CALIBRATION]\nxlen_0=nan\nylen_0=-3.5\nleft_0=-5\nright_0=2147483647\n"
          "[CROSSLINE]\nCount=2147483647\n"
          "Type_0=7\nShow_0=9\nPos_x_0=2147483647\nPos_y_0=-2147483648\nSize_0=40000\nColor_0=-1\n"
          "Type_1=0\nShow_1=1\nPos_x_1=10\nPos_y_1=20\nSize_1=-4\nColor_1=255\n");
    const std::vector<CCrossLine> lines = CCrossLine::LoadAll(CIniFile(Path()));
    ASSERT_EQ(lines.size(), 2u) << "Count is limited by the entries in the file";
    EXPECT_EQ(lines[0], (CCrossLine { 1, 1000000, -1000000, 1, 0xFFFFFF, 20 }));
    EXPECT_EQ(lines[1].size, 0);

    RunOnce([](CTavoMeasureDlg& w) {
        const CLogFont& font = w.ColorSetting().font;
        EXPECT_EQ(font.lfHeight, -1000);
        EXPECT_EQ(font.lfWeight, 1000);
        EXPECT_EQ(font.lfEscapement, 3600);
        EXPECT_EQ(font.ToQFont().pixelSize(), 1000);
        EXPECT_EQ(w.ColorSetting().GridColor, 0xFFFFFFu);
        EXPECT_EQ(w.ColorSetting().ScaleXLen, 0);
        const CCalibrationSlot slot = w.Calibration().GetSlot(0);
        EXPECT_EQ(slot.xLength, 0.0);
        EXPECT_EQ(slot.yLength, 0.0);
        EXPECT_EQ(slot.left, 0u);
        EXPECT_EQ(slot.right, 1000000u);
    });
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_LT(text.size(), 4096) << "two cross lines, not a thousand";
    EXPECT_TRUE(text.contains("Count=2\n"));
    EXPECT_FALSE(text.contains("Type_2="));
}

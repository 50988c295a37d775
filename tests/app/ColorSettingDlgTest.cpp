#include "app/ColorSettingDlg.h"
#include "app/FontSampleButton.h"
#include "base/IniFile.h"
#include "measure/ColorButton.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
struct ColorDialogFixture : testing::Test
{
    CColorSetting stored;
    std::vector<CColorSetting> pushes;

    CColorSettingDlg::PushHook Recorder()
    {
        return [this](const CColorSetting& s) {
            stored = s;
            pushes.push_back(s);
        };
    }

    template <class T> static T* Child(QWidget& dlg, const char* name)
    {
        T* child = dlg.findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
};
} // namespace

TEST_F(ColorDialogFixture, GridButtonAppliesBeforeTheDialogCloses)
{
    CColorSettingDlg dlg(stored, Recorder());
    dlg.show();
    QTest::mouseClick(Child<QPushButton>(dlg, "grid"), Qt::LeftButton);
    ASSERT_EQ(pushes.size(), 1u);
    EXPECT_TRUE(stored.GridShow);
    EXPECT_TRUE(Child<QPushButton>(dlg, "grid")->isChecked());
    EXPECT_TRUE(dlg.isVisible());
    QTest::mouseClick(Child<QPushButton>(dlg, "grid"), Qt::LeftButton);
    EXPECT_FALSE(stored.GridShow);
    QTest::mouseClick(Child<QPushButton>(dlg, "ruler"), Qt::LeftButton);
    EXPECT_TRUE(stored.RulerShow);
}

TEST_F(ColorDialogFixture, CloseBoxAndEscapeKeepEveryChangeLikeOk)
{
    for (int way = 0; way < 3; ++way) {
        stored = CColorSetting();
        pushes.clear();
        CColorSettingDlg dlg(stored, Recorder());
        dlg.show();
        Child<QSlider>(dlg, "gridSlider")->setValue(57);
        Child<CColorButton>(dlg, "lineColor")->SetChooser([](const QColor&, QWidget*) {
            return QColor(1, 2, 3);
        });
        QTest::mouseClick(Child<CColorButton>(dlg, "lineColor"), Qt::LeftButton);
        EXPECT_EQ(stored.LineColor, 0x030201u);
        if (way == 0)
            QTest::mouseClick(Child<QPushButton>(dlg, "ok"), Qt::LeftButton);
        else if (way == 1)
            dlg.close();
        else
            QTest::keyClick(&dlg, Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(stored.GridSize, 57) << way;
        EXPECT_EQ(stored.LineColor, 0x030201u) << way;
        EXPECT_EQ(stored, dlg.Setting());
    }
}

TEST_F(ColorDialogFixture, SlidersClampTheSizesOnClose)
{
    EXPECT_EQ(stored.RulerSize, 0); // the default
    {
        CColorSettingDlg dlg(stored, Recorder());
        dlg.accept();
    }
    EXPECT_EQ(stored.RulerSize, 10);
    EXPECT_EQ(stored.GridSize, 20);

    stored.GridSize = 5;
    stored.RulerSize = 80;
    {
        CColorSettingDlg dlg(stored, Recorder());
        EXPECT_EQ(dlg.Setting().GridSize, 5); // only the close reads the sliders back
        dlg.show();
        dlg.close();
    }
    EXPECT_EQ(stored.GridSize, 10);
    EXPECT_EQ(stored.RulerSize, 50);
    stored.GridSize = 500;
    {
        CColorSettingDlg dlg(stored, Recorder());
        dlg.show();
        dlg.close();
    }
    EXPECT_EQ(stored.GridSize, 200);
}

TEST_F(ColorDialogFixture, LineSizeMovesOnlyByItsSpinWithinOneToTen)
{
    stored.LineSize = 9;
    CColorSettingDlg dlg(stored, Recorder());
    dlg.show();
    auto* spin = Child<QSpinBox>(dlg, "lineSize");
    QLineEdit* edit = spin->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    spin->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "3");
    EXPECT_EQ(spin->value(), 9);
    EXPECT_TRUE(pushes.empty());

    spin->stepBy(1);
    EXPECT_EQ(stored.LineSize, 10);
    spin->stepBy(1);
    EXPECT_EQ(spin->value(), 10);
    EXPECT_EQ(edit->text(), QStringLiteral("10"));
    spin->setValue(1);
    spin->stepBy(-1);
    EXPECT_EQ(stored.LineSize, 1);
    dlg.close();
    EXPECT_EQ(stored.LineSize, 1);
}

TEST_F(ColorDialogFixture, HiddenScaleControlsStillEditTheRecord)
{
    CColorSettingDlg dlg(stored, Recorder());
    EXPECT_FALSE(Child<QLineEdit>(dlg, "xLength")->isVisibleTo(&dlg));
    Child<QLineEdit>(dlg, "xLength")->setText("250");
    EXPECT_EQ(stored.ScaleXLen, 250);
    QTest::mouseClick(Child<QPushButton>(dlg, "scale"), Qt::LeftButton);
    EXPECT_TRUE(stored.ScaleShow);
    auto* rulerSpin = Child<QSpinBox>(dlg, "rulerSpin");
    const int before = stored.RulerSize;
    rulerSpin->stepBy(1);
    EXPECT_EQ(stored.RulerSize, before + 1);
    rulerSpin->stepBy(-1);
    EXPECT_EQ(stored.RulerSize, before);
}

TEST_F(ColorDialogFixture, ChosenFontAndColourSurviveSaveAndLoad)
{
    stored.font.lfCharSet = 134; // no QFont counterpart: must not be lost
    stored.font.lfQuality = 5;
    CColorSettingDlg dlg(stored, Recorder());
    dlg.show();
    dlg.SetFontChooser([](const QFont&, const QColor&, QWidget*) {
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(22);
        font.setWeight(QFont::Bold);
        font.setItalic(true);
        font.setUnderline(true);
        font.setStrikeOut(true);
        return std::optional(CColorSettingDlg::FontChoice { font, QColor(0x11, 0x22, 0x33) });
    });
    QTest::mouseClick(Child<CFontSampleButton>(dlg, "fontSample"), Qt::LeftButton);
    EXPECT_EQ(stored.TextColor, 0x332211u);
    dlg.close();

    const CLogFont& lf = stored.font;
    EXPECT_EQ(lf.lfHeight, -22);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_EQ(lf.lfFaceName, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(lf.lfCharSet, 134);
    EXPECT_EQ(lf.lfQuality, 5);

    QTemporaryDir dir;
    CIniFile ini(dir.filePath("Setting.ini"));
    stored.Save(ini);
    ASSERT_TRUE(ini.Save());
    CColorSetting reread;
    reread.Load(CIniFile(dir.filePath("Setting.ini")));
    EXPECT_EQ(reread, stored);

    const QFont font = reread.font.ToQFont();
    EXPECT_EQ(font.pixelSize(), 22);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic() && font.underline() && font.strikeOut());
    EXPECT_EQ(font.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(CLogFont::FromQFont(font, reread.font), reread.font);
}

TEST(FontSample, WrapsIntoEqualLinesAndTheRest)
{
    EXPECT_EQ(CFontSampleButton::WrapSample("1234567890", 20), QStringList { "1234567890" });
    EXPECT_EQ(
            CFontSampleButton::WrapSample("1234567890", 4), (QStringList { "1234", "5678", "90" }));
    EXPECT_EQ(CFontSampleButton::WrapSample("1234567890", 5), (QStringList { "12345", "67890" }));
    EXPECT_EQ(CFontSampleButton::WrapSample("1234567890", 0).size(), 10);
}

#include "base/GeneralSettings.h"
#include "video/WhiteBalanceDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

TEST(WhiteBalanceDlg_Open, GainsZeroSitInTheMiddle)
{
    CGeneralSettings settings;
    CWhiteBalanceDlg dialog(settings);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("White balance"));
    EXPECT_EQ(dialog.RedSlider()->minimum(), 0);
    EXPECT_EQ(dialog.RedSlider()->maximum(), 63);
    EXPECT_EQ(dialog.RedSlider()->value(), 32);
    EXPECT_EQ(dialog.BlueSlider()->value(), 32);
    EXPECT_EQ(dialog.RedReadOut()->text(), QStringLiteral("32"));
    EXPECT_EQ(dialog.BlueReadOut()->text(), QStringLiteral("32"));
    EXPECT_FALSE(dialog.EnableCheck()->isChecked());
    EXPECT_FALSE(dialog.RedSlider()->isEnabled()) << "sliders follow the on flag";
    EXPECT_FALSE(dialog.BlueSlider()->isEnabled());
}

TEST(WhiteBalanceDlg_Open, StoredGainsAreOffsetsFromTheMiddle)
{
    CGeneralSettings settings;
    settings.m_bEnableWB = true;
    settings.m_nWBRed = 31;
    settings.m_nWBBlue = -32;
    CWhiteBalanceDlg dialog(settings);
    EXPECT_EQ(dialog.RedSlider()->value(), 63);
    EXPECT_EQ(dialog.BlueSlider()->value(), 0);
    EXPECT_EQ(dialog.RedReadOut()->text(), QStringLiteral("63"));
    EXPECT_EQ(dialog.BlueReadOut()->text(), QStringLiteral("0"));
    EXPECT_TRUE(dialog.RedSlider()->isEnabled());
}

TEST(WhiteBalanceDlg_Edit, SlidersAndEnableChangeTheValuesInMemory)
{
    CGeneralSettings settings;
    CWhiteBalanceDlg dialog(settings);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    dialog.EnableCheck()->click();
    EXPECT_TRUE(settings.m_bEnableWB);
    EXPECT_TRUE(dialog.RedSlider()->isEnabled());
    EXPECT_TRUE(dialog.BlueSlider()->isEnabled());

    dialog.RedSlider()->setValue(40);
    dialog.BlueSlider()->setFocus();
    QTest::keyClick(dialog.BlueSlider(), Qt::Key_Home);
    EXPECT_EQ(settings.m_nWBRed, 8);
    EXPECT_EQ(dialog.RedReadOut()->text(), QStringLiteral("40"));
    EXPECT_EQ(settings.m_nWBBlue, -32);
    EXPECT_EQ(dialog.BlueReadOut()->text(), QStringLiteral("0"));

    dialog.EnableCheck()->click();
    EXPECT_FALSE(settings.m_bEnableWB);
    EXPECT_FALSE(dialog.RedSlider()->isEnabled());
    EXPECT_EQ(settings.m_nWBRed, 8) << "switching off keeps the gains";
}

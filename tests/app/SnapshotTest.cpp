#include "app/SaveSettingDlg.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

TEST(SaveSettingDlg_Choices, ShowsAndReturnsFolderAndFormat)
{
    CSaveSettingDlg dialog("/home/user/image", "bmp");
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("bmpButton")->isChecked());
    QString askedTitle;
    dialog.SetFolderChooser([&](QWidget*, const QString& title, const QString&) {
        askedTitle = title;
        return QStringLiteral("/data/pictures");
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>("selectButton"), Qt::LeftButton);
    EXPECT_EQ(askedTitle, "Select Path:");
    dialog.findChild<QRadioButton*>("jpegButton")->click();
    EXPECT_EQ(dialog.ImageFolder(), "/data/pictures");
    EXPECT_FALSE(dialog.IsBmp());
    EXPECT_EQ(dialog.Format(), "jpg");
    for (const char* format : { "png", "tif" }) {
        CSaveSettingDlg other("/x", format);
        const char* button = QByteArray(format) == "png" ? "pngButton" : "tiffButton";
        EXPECT_TRUE(other.findChild<QRadioButton*>(button)->isChecked()) << format;
        EXPECT_EQ(other.Format(), format);
        other.findChild<QRadioButton*>("bmpButton")->click();
        EXPECT_EQ(other.Format(), "bmp");
    }
}

TEST(SaveSettingDlg_Choices, CancelledFolderChooserChangesNothing)
{
    CSaveSettingDlg dialog("/home/user/image", "jpg");
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("jpegButton")->isChecked());
    dialog.SetFolderChooser([](QWidget*, const QString&, const QString&) { return QString(); });
    QTest::mouseClick(dialog.findChild<QPushButton*>("selectButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.ImageFolder(), "/home/user/image");
}

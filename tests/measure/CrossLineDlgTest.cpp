#include "base/IniFile.h"
#include "measure/ColorButton.h"
#include "measure/CrossLineDlg.h"
#include "measure/CrossLineHost.h"
#include "measure/ManagerCrossLineHost.h"
#include "measure/OverlayPainter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Stands in for the shape manager: the same operation names, a plain list.
class CFakeManager
{
public:
    int CrossLineCount() const { return static_cast<int>(lines.size()); }
    void AppendCrossLine(const CCrossLine& line) { lines.push_back(line); }
    bool GetCrossLine(int index, CCrossLine& line) const
    {
        if (index < 0 || index >= CrossLineCount())
            return false;
        line = lines[index];
        return true;
    }
    void SetCrossLine(int index, int shown, int x, int y, int type, uint32_t colour, int size)
    {
        if (index < 0 || index >= CrossLineCount())
            return;
        lines[index] = CCrossLine { shown, x, y, type, colour, size };
    }
    void RemoveCrossLine(int index)
    {
        if (index >= 0 && index < CrossLineCount())
            lines.erase(lines.begin() + index);
    }
    double ScaleX() const { return scaleX; }
    double ScaleY() const { return scaleY; }
    QString UnitText() const { return QStringLiteral("mm"); }
    void InvalidateAll() { ++invalidations; }

    std::vector<CCrossLine> lines;
    double scaleX = 0.2;
    double scaleY = 0.5;
    int invalidations = 0;
};

struct DialogFixture : testing::Test
{
    CFakeManager manager;
    CManagerCrossLineHost<CFakeManager> host { manager };

    template <class T> static T* Child(QWidget& dlg, const char* name)
    {
        T* child = dlg.findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static void Click(QWidget& dlg, const char* name)
    {
        QTest::mouseClick(Child<QPushButton>(dlg, name), Qt::LeftButton);
    }
};
} // namespace

TEST_F(DialogFixture, EmptyListWhenThereAreNoCrossLines)
{
    CCrossLineDlg dlg(host);
    EXPECT_EQ(Child<QListWidget>(dlg, "list")->count(), 0);
    // Nothing selected: the edits change nothing.
    Child<QLineEdit>(dlg, "x")->setText("12");
    Child<QSpinBox>(dlg, "size")->setValue(3);
    EXPECT_TRUE(manager.lines.empty());
    Click(dlg, "sub");
    EXPECT_TRUE(manager.lines.empty());
}

TEST_F(DialogFixture, AddAddSubOnTheFirstKeepsTheSecondUnderTheFirstName)
{
    CCrossLineDlg dlg(host);
    auto* list = Child<QListWidget>(dlg, "list");
    Click(dlg, "add");
    Click(dlg, "add");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Crossline 1"));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(Child<QLineEdit>(dlg, "x")->text(), QStringLiteral("400"));
    Child<QLineEdit>(dlg, "x")->setText("123");
    ASSERT_EQ(manager.lines[1].x, 123);

    list->setCurrentRow(0);
    Click(dlg, "sub");
    ASSERT_EQ(manager.lines.size(), 1u);
    EXPECT_EQ(manager.lines[0].x, 123);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Crossline 0"));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(Child<QLineEdit>(dlg, "x")->text(), QStringLiteral("123"));
    EXPECT_GT(manager.invalidations, 0);
}

TEST_F(DialogFixture, RealUnitsAndEveryControlApplyAtOnce)
{
    manager.lines = { CCrossLine(), CCrossLine { 1, 10, 20, 1, 0x0000FF, 1 } };
    CCrossLineDlg dlg(host);
    EXPECT_EQ(Child<QListWidget>(dlg, "list")->item(1)->text(), QStringLiteral("Crossline 1"));
    EXPECT_EQ(Child<QLineEdit>(dlg, "realX")->text(), QStringLiteral("80.0000"));
    EXPECT_EQ(Child<QLineEdit>(dlg, "realY")->text(), QStringLiteral("200.0000"));
    auto* type = Child<QComboBox>(dlg, "type");
    EXPECT_FALSE(type->isEnabled()); // size 5 draws solid
    EXPECT_EQ(type->currentIndex(), 0);

    Child<QListWidget>(dlg, "list")->setCurrentRow(1);
    EXPECT_TRUE(type->isEnabled());
    EXPECT_EQ(type->currentIndex(), 1);
    Child<QLineEdit>(dlg, "y")->setText("7");
    EXPECT_EQ(manager.lines[1].y, 7);
    EXPECT_EQ(Child<QLineEdit>(dlg, "realY")->text(), QStringLiteral("3.5000"));

    Child<QSpinBox>(dlg, "size")->setValue(4);
    EXPECT_EQ(manager.lines[1].size, 4);
    EXPECT_FALSE(type->isEnabled());
    EXPECT_EQ(manager.lines[1].type, 1); // only the display changes
    Child<QSpinBox>(dlg, "size")->setValue(25);
    EXPECT_EQ(manager.lines[1].size, 20);

    Child<CColorButton>(dlg, "color")->SetChooser([](const QColor&, QWidget*) {
        return std::optional<QColor>(QColor(0, 0, 255));
    });
    QTest::mouseClick(Child<CColorButton>(dlg, "color"), Qt::LeftButton);
    EXPECT_EQ(manager.lines[1].colour, 0xFF0000u);
    EXPECT_EQ(manager.lines[0].colour, 0x00FF00u);
}

TEST_F(DialogFixture, HiddenLineIsSavedButNotDrawn)
{
    manager.lines = { CCrossLine { 1, 10, 20, 0, 0x0000FF, 1 } };
    {
        CCrossLineDlg dlg(host);
        QTest::mouseClick(Child<QCheckBox>(dlg, "showLine"), Qt::LeftButton);
        EXPECT_FALSE(Child<QCheckBox>(dlg, "showLine")->isChecked());
    }
    ASSERT_EQ(manager.lines[0].shown, 0);

    QTemporaryDir dir;
    const QString path = dir.filePath("Setting.ini");
    CIniFile ini(path);
    CCrossLine::SaveAll(ini, manager.lines);
    ASSERT_TRUE(ini.Save());
    CIniFile reread(path);
    EXPECT_EQ(CCrossLine::LoadAll(reread), manager.lines);

    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        COverlayPainter::DrawCrossLines(painter, manager.lines, {}, 40, 40);
    }
    EXPECT_EQ(image.pixelColor(10, 5), QColor(Qt::black));
}

TEST(CrossLineStore, CountFirstAndStaleEntriesLeftAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Setting.ini");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[CROSSLINE]\nCount=0\nPos_x_0=5\n");
    }
    CIniFile ini(path);
    EXPECT_TRUE(CCrossLine::LoadAll(ini).empty());
    EXPECT_TRUE(CCrossLine::LoadAll(CIniFile(dir.filePath("missing.ini"))).empty());

    CIniFile fresh(dir.filePath("fresh.ini"));
    std::vector<CCrossLine> three(3);
    three[2].x = 77;
    CCrossLine::SaveAll(fresh, three);
    ASSERT_TRUE(fresh.Save());
    CIniFile shorter(dir.filePath("fresh.ini"));
    CCrossLine::SaveAll(shorter, std::vector<CCrossLine>(2));
    ASSERT_TRUE(shorter.Save());

    QFile file(dir.filePath("fresh.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_LT(text.indexOf("Count=2"), text.indexOf("Type_0"));
    EXPECT_TRUE(text.contains("Pos_x_2=77"));
    EXPECT_EQ(CCrossLine::LoadAll(CIniFile(dir.filePath("fresh.ini"))).size(), 2u);
}

TEST_F(DialogFixture, ReturnInAFieldAppliesItAndEveryFieldIsLabelled)
{
    manager.lines = { CCrossLine() };
    CCrossLineDlg dlg(host);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    for (const char* field : { "x", "y" }) {
        auto* edit = Child<QLineEdit>(dlg, field);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, "123");
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(manager.lines.size(), 1u) << field << ": Return added a cross line";
        EXPECT_TRUE(dlg.isVisible());
    }
    EXPECT_EQ(manager.lines[0].x, 123);
    EXPECT_EQ(manager.lines[0].y, 123);
    const std::pair<const char*, const char*> labels[] = { { "xLabel", "X (pixels)" },
        { "realXLabel", "X (mm)" }, { "yLabel", "Y (pixels)" }, { "realYLabel", "Y (mm)" } };
    for (const auto& [name, text] : labels)
        EXPECT_EQ(Child<QLabel>(dlg, name)->text(), QString::fromLatin1(text));
    EXPECT_EQ(Child<QLabel>(dlg, "realXLabel")->buddy(), Child<QLineEdit>(dlg, "realX"));
}

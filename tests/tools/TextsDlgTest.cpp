#include "tools/InputDlg.h"
#include "tools/ManagerTextsHost.h"
#include "tools/TextsManagerDlg.h"
#include "RecordingMessages.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
class CFakeTexts
{
public:
    QStringList Texts() const { return texts; }
    void SetText(int index, const QString& text)
    {
        if (index >= 0 && index < texts.size())
            texts[index] = text;
    }
    void DeleteText(int index) { texts.removeAt(index); }
    void DeleteAllTexts() { texts.clear(); }
    void InvalidateAll() { ++invalidations; }

    QStringList texts;
    int invalidations = 0;
};

struct TextsFixture : testing::Test
{
    CFakeTexts manager;
    CManagerTextsHost<CFakeTexts> host { manager };
    CRecordingMessages messages;
    std::optional<QString> typed;

    void Script(CTextsManagerDlg& dlg)
    {
        dlg.SetAskText([this](const QString&, QWidget*) { return typed; });
    }
    // How often the text was said, each time under its caption.
    int Said(const QString& text, const QString& caption) const
    {
        int times = 0;
        for (const CUserMessage& message : messages.All()) {
            if (message.text != text)
                continue;
            EXPECT_EQ(message.caption, caption);
            ++times;
        }
        return times;
    }
    int Hints() const
    {
        return Said(QStringLiteral("Please select one item first."), QStringLiteral("Hint"));
    }
    int Confirms() const
    {
        return Said(QStringLiteral("Are you going to delete all text annotations?"),
                QStringLiteral("Warnning"));
    }
    static QTreeWidget* List(QWidget& dlg) { return dlg.findChild<QTreeWidget*>("list"); }
    static void Click(QWidget& dlg, const char* name)
    {
        QTest::mouseClick(dlg.findChild<QPushButton*>(name), Qt::LeftButton);
    }
};
} // namespace

TEST_F(TextsFixture, DeleteWithoutSelectionAsksAndCancelKeepsAll)
{
    manager.texts = { "a", "b", "c" };
    CTextsManagerDlg dlg(host);
    Script(dlg);
    ASSERT_EQ(List(dlg)->topLevelItemCount(), 3);
    EXPECT_EQ(List(dlg)->topLevelItem(2)->text(0), QStringLiteral("3"));
    Click(dlg, "delete");
    EXPECT_EQ(Confirms(), 1);
    EXPECT_EQ(manager.texts.size(), 3);
    EXPECT_EQ(List(dlg)->topLevelItemCount(), 3);
    EXPECT_EQ(manager.invalidations, 0);

    messages.AnswerYes(true);
    Click(dlg, "delete");
    EXPECT_TRUE(manager.texts.isEmpty());
    EXPECT_EQ(List(dlg)->topLevelItemCount(), 0);
    Click(dlg, "delete"); // empty list: nothing, not even a question
    EXPECT_EQ(Confirms(), 2);
}

TEST_F(TextsFixture, DeleteWithARowRemovesItAndKeepsTheOtherNumbers)
{
    manager.texts = { "a", "b", "c" };
    CTextsManagerDlg dlg(host);
    Script(dlg);
    List(dlg)->topLevelItem(1)->setSelected(true);
    Click(dlg, "delete");
    EXPECT_EQ(Confirms(), 0);
    EXPECT_EQ(manager.texts, (QStringList { "a", "c" }));
    ASSERT_EQ(List(dlg)->topLevelItemCount(), 2);
    EXPECT_EQ(List(dlg)->topLevelItem(1)->text(0), QStringLiteral("3"));
    EXPECT_EQ(List(dlg)->topLevelItem(1)->text(1), QStringLiteral("c"));
    EXPECT_EQ(manager.invalidations, 1);

    CTextsManagerDlg reopened(host);
    EXPECT_EQ(List(reopened)->topLevelItem(1)->text(0), QStringLiteral("2"));
}

TEST_F(TextsFixture, ModifyNeedsASelectionAndCancelChangesNothing)
{
    manager.texts = { "a", "b" };
    CTextsManagerDlg dlg(host);
    Script(dlg);
    Click(dlg, "modify");
    EXPECT_EQ(Hints(), 1);

    List(dlg)->topLevelItem(0)->setSelected(true);
    typed.reset();
    Click(dlg, "modify");
    EXPECT_EQ(manager.texts, (QStringList { "a", "b" }));
    EXPECT_EQ(List(dlg)->topLevelItem(0)->text(1), QStringLiteral("a"));
    EXPECT_EQ(manager.invalidations, 0);

    typed = QStringLiteral("new");
    Click(dlg, "modify");
    EXPECT_EQ(manager.texts, (QStringList { "new", "b" }));
    EXPECT_EQ(List(dlg)->topLevelItem(0)->text(1), QStringLiteral("new"));
    EXPECT_EQ(manager.invalidations, 1);
}

TEST_F(TextsFixture, ModifyKeepsTheNumberColumnInView)
{
    manager.texts = { "a", "b", "c" };
    CTextsManagerDlg dlg(host); // with the real Input dialog: its closing moves the focus
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTreeWidget* list = List(dlg);
    ASSERT_GT(list->header()->length(), list->viewport()->width()) << "the list scrolls across";

    // Picked by a click on the text, as a user does.
    const QRect row = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
            QPoint(list->columnViewportPosition(1) + 100, row.center().y()));
    ASSERT_TRUE(list->topLevelItem(1)->isSelected());
    const QString typed = QStringLiteral("a longer text, typed into the Input dialog");
    bool answered = false;
    QTimer::singleShot(0, [&] {
        QWidget* input = QApplication::activeModalWidget();
        ASSERT_NE(input, nullptr);
        auto* edit = input->findChild<QPlainTextEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setPlainText(typed);
        QTest::keyClick(edit, Qt::Key_Return);
        answered = true;
    });
    Click(dlg, "modify");
    ASSERT_TRUE(answered);
    QTest::qWait(100); // the focus comes back to the list
    EXPECT_EQ(manager.texts[1], typed);
    EXPECT_EQ(list->topLevelItem(1)->text(1), typed);
    EXPECT_EQ(list->horizontalScrollBar()->value(), 0) << "the No. column stays in view";

    // Moving down with the keys still follows the current row.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(list->topLevelItem(2)->isSelected());
    EXPECT_EQ(list->horizontalScrollBar()->value(), 0);
}

TEST(InputDialog, EscapeIsIgnoredAndEnterAcceptsInsideTheEdit)
{
    CInputDlg dlg(QStringLiteral("hello"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Input "));
    dlg.show();
    auto* edit = dlg.findChild<QPlainTextEdit*>("text");
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    QTest::keyClicks(edit, " world");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Text(), QStringLiteral("hello world"));
    EXPECT_FALSE(edit->toPlainText().contains('\n'));
}

TEST(InputDialog, CancelAndTheCloseBoxEmptyTheText)
{
    CInputDlg dlg(QStringLiteral("keep"));
    dlg.show();
    QTest::mouseClick(dlg.findChild<QPushButton*>("cancel"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(dlg.Text().isEmpty());

    CInputDlg closed(QStringLiteral("keep"));
    closed.show();
    closed.close();
    EXPECT_TRUE(closed.Text().isEmpty());
}

TEST(InputDialog, TakesNoHundredAndFirstCharacter)
{
    CInputDlg dlg;
    dlg.show();
    auto* edit = dlg.findChild<QPlainTextEdit*>("text");
    QTest::keyClicks(edit, QString(101, QLatin1Char('x')));
    EXPECT_EQ(edit->toPlainText().size(), 100);

    // A paste in the middle keeps the text around it.
    edit->setPlainText(QString(50, QLatin1Char('a')) + QString(40, QLatin1Char('b')));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(50);
    edit->setTextCursor(cursor);
    edit->insertPlainText(QString(30, QLatin1Char('p')));
    EXPECT_EQ(edit->toPlainText(), QString(50, 'a') + QString(10, 'p') + QString(40, 'b'));
    dlg.accept();
    EXPECT_EQ(dlg.Text().size(), 100);
}

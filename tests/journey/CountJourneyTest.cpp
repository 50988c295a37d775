#include "JourneyFixture.h"

#include "count/CountDlg.h"

#include <QMenu>
#include <QTableWidget>

namespace {

// Chooses the window menu's "Count objects..." entry.
void ChooseCount()
{
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu)
        return;
    for (QAction* action : menu->actions()) {
        if (action->text().contains(QStringLiteral("Count objects"))) {
            action->trigger();
            return;
        }
    }
    menu->close();
}

} // namespace

// The live picture is frozen and counted: the dialog shows the frame with its objects.
TEST_F(Journey, CountObjectsOnTheLivePicture)
{
    ASSERT_TRUE(PictureFlows());
    CModalWatcher watcher;
    bool counted = false;
    size_t objects = 0;
    int rows = -1;
    QString summary;
    watcher.OnDialog([&](QWidget* modal) {
        auto* dialog = qobject_cast<CCountDlg*>(modal);
        if (!dialog)
            return;
        counted = true;
        dialog->CountNow();
        objects = dialog->Result().particles.size();
        rows = dialog->findChild<QTableWidget*>(QStringLiteral("countTable"))->rowCount();
        summary = dialog->SummaryText();
        dialog->reject();
    });
    QTimer::singleShot(300, ChooseCount);
    RightClick(m_window.get(), QPoint(4, 4));
    ASSERT_TRUE(QTest::qWaitFor([&] { return counted; }, kWaitMs));
    EXPECT_GT(objects, 0u) << summary.toStdString();
    EXPECT_EQ(rows, int(objects));
    EXPECT_NE(summary, QStringLiteral("There is no picture to count."));
    EXPECT_TRUE(watcher.TakeMessages().isEmpty());
    // The next report carries the count, until the picture changes.
    EXPECT_EQ(m_window->CountSummary(), QStringList { summary });
    ClickButton(CSidePanel::Video);
    ClickButton(CSidePanel::Video);
    EXPECT_TRUE(m_window->CountSummary().isEmpty());
}

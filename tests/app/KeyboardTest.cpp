#include "app/CommandTable.h"
#include "app/PanelButton.h"
#include "app/PictureCalibration.h"
#include "app/SidePanel.h"
#include "app/TavoMeasureDlg.h"
#include "MainWindowFixture.h"
#include "app/WindowCommands.h"
#include "calibration/CalibrationDlg.h"
#include "calibration/CalibrationTable.h"
#include "image/ImagePainter.h"
#include "image/xImage.h"
#include "measure/MeasureCanvas.h"
#include "measure/MeasureShape.h"
#include "measure/ResultListCtrl.h"
#include "measure/ShapeManager.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QMessageBox>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>

using T = CCommandTable;

TEST(ShortcutTable, OneRowPerCommandAndNoKeyTwice)
{
    QSet<QString> keys;
    for (int i = 0; i < T::CommandCount; ++i) {
        const T::CEntry& entry = T::Entries()[i];
        ASSERT_EQ(entry.command, i) << "entries in the order of the commands";
        for (const QKeySequence& key : entry.keys) {
            EXPECT_FALSE(keys.contains(key.toString())) << key.toString().toStdString();
            keys.insert(key.toString());
        }
        if (T::InList(entry.command))
            EXPECT_TRUE(T::ListHtml().contains(T::Description(entry.command).toHtmlEscaped()));
    }
    EXPECT_EQ(T::WithKey(QStringLiteral("Draw line"), T::Line), QStringLiteral("Draw line (L)"));
    EXPECT_TRUE(T::ListHtml().contains(QStringLiteral("Ctrl+Shift+Z, Ctrl+Y")));
}

TEST(ShortcutTable, ListedInChineseToo)
{
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(":/i18n/keys_zh_CN.qm")));
    QCoreApplication::installTranslator(&translator);
    const QString list = T::ListHtml();
    const QString undo = T::Description(T::Undo);
    const QString arrows = T::KeyText(T::MoveLeft);
    QCoreApplication::removeTranslator(&translator);
    EXPECT_EQ(undo, QStringLiteral("撤销对绘图的上一次修改"));
    EXPECT_NE(arrows, QStringLiteral("Arrow keys"));
    for (const T::CEntry& entry : T::Entries()) {
        if (T::InList(entry.command))
            EXPECT_FALSE(list.contains(QLatin1String(entry.description))) << entry.description;
    }
}

namespace {

class Keyboard : public CMainWindowFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(Open({ .active = true }));
        m_window->General().m_strImagePath = Path("pictures");
    }
    CMeasureCanvas& Canvas() const { return *m_window->Canvas(); }
    CShapeManager& Manager() const { return Canvas().Manager(); }
    CSidePanel& Panel() const { return *m_window->SidePanel(); }
    int Rows() const { return m_window->ResultList()->topLevelItemCount(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_window.get(),
                key, modifiers);
    }
    void DragOnPicture(QPoint from, QPoint to)
    {
        QTest::mousePress(&Canvas(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&Canvas(), to);
        QTest::mouseRelease(&Canvas(), Qt::LeftButton, {}, to);
    }
    void ClickOnPicture(QPoint at) { QTest::mouseClick(&Canvas(), Qt::LeftButton, {}, at); }
    // A line from the keyboard's tool key, then back in select mode.
    void DrawLineByKeys(QPoint from, QPoint to)
    {
        Key(Qt::Key_L);
        ASSERT_EQ(Manager().ToolMode(), LineTool);
        DragOnPicture(from, to);
        ASSERT_EQ(Manager().ToolMode(), SelectMode) << "the line tool ends with its release";
    }
    QString ShownPicture(const QString& name, QColor colour)
    {
        QImage picture(320, 240, QImage::Format_RGB888);
        picture.fill(colour);
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(picture.save(path, "BMP"));
        return path;
    }
};

} // namespace

TEST_F(Keyboard, EachToolKeyChoosesItsToolAndEscapeEndsIt)
{
    const std::pair<Qt::Key, int> tools[] = {
        { Qt::Key_L, LineTool },
        { Qt::Key_A, Angle3Tool },
        { Qt::Key_F, Angle4Tool },
        { Qt::Key_C, CircleTool },
        { Qt::Key_D, DistanceTool },
        { Qt::Key_V, VerticalLinesTool },
        { Qt::Key_R, AreaTool },
        { Qt::Key_T, TextTool },
    };
    for (const auto& [key, mode] : tools) {
        SCOPED_TRACE(mode);
        Key(key);
        EXPECT_EQ(Manager().ToolMode(), mode);
        Key(Qt::Key_Escape);
        EXPECT_EQ(Manager().ToolMode(), SelectMode);
        EXPECT_TRUE(m_window->isVisible()) << "Escape never closes the window";
    }

    // A circle half drawn is dropped, the panel's mark goes.
    Key(Qt::Key_C);
    ClickOnPicture({ 100, 100 });
    ClickOnPicture({ 120, 120 });
    ASSERT_EQ(Manager().ShapeCount(), 1);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Manager().ShapeCount(), 0);
    EXPECT_FALSE(Panel().ButtonAt(CSidePanel::Circle)->IsActive());
}

TEST_F(Keyboard, UndoAndRedoFollowTheResultsList)
{
    EXPECT_FALSE(Manager().CanUndo()) << "a new session starts with an empty history";
    DrawLineByKeys({ 100, 100 }, { 300, 100 });
    DrawLineByKeys({ 100, 200 }, { 300, 250 });
    ASSERT_EQ(Rows(), 2);

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rows(), 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rows(), 0);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Rows(), 1);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(Manager().ShapeAt(1)->Point(1), Manager().WindowToImage({ 300, 250 }));

    // Undo while a polygon is half drawn drops it and nothing else.
    Key(Qt::Key_R);
    ClickOnPicture({ 400, 300 });
    ClickOnPicture({ 450, 300 });
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Manager().ShapeCount(), 3) << "nothing to redo: the polygon stays";
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Manager().ShapeCount(), 2);
    EXPECT_EQ(Manager().ToolMode(), SelectMode);
    EXPECT_FALSE(Panel().ButtonAt(CSidePanel::Area)->IsActive());

    // Clear from the panel is one step.
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Yes)->click();
    });
    Panel().ButtonAt(CSidePanel::Clear)->click();
    ASSERT_EQ(Rows(), 0);
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rows(), 2);
}

TEST_F(Keyboard, DeleteAndArrowsActOnTheSelectedShape)
{
    DrawLineByKeys({ 100, 100 }, { 300, 100 });
    CShapeManager& m = Manager();
    const QPoint end = m.ShapeAt(0)->Point(0);
    ClickOnPicture({ 200, 100 }); // the label gives the line and the picture the focus
    ASSERT_EQ(QApplication::focusWidget(), &Canvas());
    ASSERT_TRUE(m.HasSelection());

    Key(Qt::Key_Right);
    EXPECT_EQ(m.ShapeAt(0)->Point(0), end + QPoint(1, 0));
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(m.ShapeAt(0)->Point(0), end + QPoint(1, 10));
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    Key(Qt::Key_Left);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down);
    EXPECT_EQ(m.ShapeAt(0)->Point(0), end);
    Key(Qt::Key_Down);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m.ShapeAt(0)->Point(0), end) << "a run of arrow keys is one step";

    Key(Qt::Key_Delete);
    EXPECT_EQ(m.ShapeCount(), 0);
    EXPECT_EQ(Rows(), 0);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Rows(), 1);

    // The list keeps its own arrow keys.
    m_window->ResultList()->setFocus();
    Key(Qt::Key_Right);
    EXPECT_EQ(m.ShapeAt(0)->Point(0), end);
}

TEST_F(Keyboard, CopyPutsThePictureOnTheClipboard)
{
    ASSERT_TRUE(m_window->OpenStillPicture(ShownPicture(QStringLiteral("grey.bmp"), Qt::gray)));
    m_window->General().m_nDisp = 1;
    m_window->SizeCanvas();
    DrawLineByKeys({ 20, 120 }, { 300, 120 });
    QApplication::clipboard()->clear();

    m_window->SetMeasure(false);
    Key(Qt::Key_C, Qt::ControlModifier);
    const QImage plain = QApplication::clipboard()->image();
    ASSERT_EQ(plain.size(), QSize(320, 240));
    EXPECT_EQ(plain.pixelColor(100, 120), QColor(Qt::gray));

    m_window->SetMeasure(true);
    Key(Qt::Key_C, Qt::ControlModifier);
    const QImage measured = QApplication::clipboard()->image();
    ASSERT_EQ(measured.size(), QSize(320, 240));
    EXPECT_NE(measured.pixelColor(100, 120), QColor(Qt::gray)) << "the line is burnt in";
    EXPECT_EQ(measured.pixelColor(100, 60), QColor(Qt::gray));
    EXPECT_EQ(m_window->CurrentFrame().Width(), 320u) << "the picture itself stays clean";
}

TEST_F(Keyboard, SaveVideoAndZoomKeys)
{
    QComboBox* scale = Panel().ScaleCombo();
    scale->setCurrentIndex(0);
    Panel().OnScaleChanged(0);
    Key(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(m_window->DisplayScale(), 1);
    Key(Qt::Key_Equal, Qt::ControlModifier);
    Key(Qt::Key_Equal, Qt::ControlModifier);
    Key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(m_window->DisplayScale(), 3) << "X 3 is the largest";
    EXPECT_EQ(scale->currentIndex(), 3);
    Key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(m_window->DisplayScale(), 2);
    Key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(m_window->DisplayScale(), 0);

    Key(Qt::Key_P);
    EXPECT_TRUE(m_window->StillMode());
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(QDir(m_window->General().m_strImagePath).entryList(QDir::Files).size(), 1);
    Key(Qt::Key_P);
    EXPECT_FALSE(m_window->StillMode());

    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            opened = QString::fromLatin1(dialog->metaObject()->className());
            dialog->close();
        }
    });
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(opened, QStringLiteral("QFileDialog"));
}

TEST_F(Keyboard, TooltipsAndTheAboutMenuNameTheKeys)
{
    EXPECT_TRUE(Panel().ButtonAt(CSidePanel::Line)->toolTip().endsWith(QStringLiteral("(L)")));
    EXPECT_TRUE(Panel().ButtonAt(CSidePanel::Save)->toolTip().contains(QStringLiteral("Ctrl+S")));
    EXPECT_TRUE(Panel().ButtonAt(CSidePanel::Video)->toolTip().endsWith(QStringLiteral("(P)")));
    EXPECT_TRUE(Panel().ScaleCombo()->toolTip().contains(QStringLiteral("Ctrl+0")));

    QStringList entries;
    QTimer::singleShot(0, [&entries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            entries << action->text();
        menu->actions().value(1)->trigger();
        menu->close();
    });
    QContextMenuEvent event(
            QContextMenuEvent::Mouse, QPoint(4, 4), m_window->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(m_window.get(), &event);
    ASSERT_EQ(entries.size(), 8); // and two separators
    EXPECT_EQ(entries[1], QStringLiteral("&Keyboard shortcuts..."));
    EXPECT_EQ(entries[3], QStringLiteral("&Directed three-point angles (0 to 360 degrees)"));
    EXPECT_EQ(entries[5], QStringLiteral("&Report..."));
    EXPECT_EQ(entries[6], QStringLiteral("&Count objects..."));
    EXPECT_EQ(entries[7], QStringLiteral("&Snap to edges"));
    auto* list = m_window->findChild<QMessageBox*>(QStringLiteral("shortcutList"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->text().contains(QStringLiteral("Undo the last change of the drawing")));
    EXPECT_EQ(list->icon(), QMessageBox::NoIcon) << "a list, not a note";
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Keyboard shortcuts"));
    list->close();
}

TEST_F(Keyboard, DirectedAnglesAreAskedForInTheWindowMenu)
{
    CShapeManager& manager = m_window->Canvas()->Manager();
    for (const bool expected : { true, false }) {
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* action : menu->actions())
                if (action->objectName() == QStringLiteral("directedAngles"))
                    action->trigger();
            menu->close();
        });
        QContextMenuEvent event(
                QContextMenuEvent::Mouse, QPoint(4, 4), m_window->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(m_window.get(), &event);
        EXPECT_EQ(manager.DirectedAngles(), expected);
    }
}

TEST_F(Keyboard, UndoingACalibrationPutsTheSlotInUseBack)
{
    // Two slots, switched and then edited the way the Calibration dialog does it.
    auto slot = [](double length) {
        CCalibrationSlot s;
        s.unit = 1;
        s.xLength = s.yLength = length;
        s.left = s.top = 100;
        s.right = s.bottom = 300;
        s.ApplyScaleRule();
        return s;
    };
    CCalibrationTable& table = m_window->Calibration();
    table.SetSlot(0, slot(1.0));
    table.SetSlot(1, slot(2.0));
    table.SetCurrentIndex(0);
    Manager().SetCalibration(table.GetCurSlot());
    DrawLineByKeys({ 100, 100 }, { 300, 100 });
    const QString first = m_window->ResultList()->topLevelItem(0)->text(CResultListCtrl::ColResult);

    table.SetCurrentIndex(1);
    Manager().SetCalibration(table.GetCurSlot());
    table.SetCurSlot(slot(4.0));
    Manager().SetCalibration(table.GetCurSlot());

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(table.CurrentIndex(), 1);
    EXPECT_EQ(table.GetSlot(1).xLength, 2.0) << "the edit of the slot is undone";
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(table.CurrentIndex(), 0) << "the switch of slots is undone";
    EXPECT_EQ(table.GetSlot(1).xLength, 2.0) << "and the other slot keeps its values";
    EXPECT_EQ(m_window->ResultList()->topLevelItem(0)->text(CResultListCtrl::ColResult), first);
    Key(Qt::Key_Y, Qt::ControlModifier);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(table.CurrentIndex(), 1);
    EXPECT_EQ(table.GetSlot(1).xLength, 4.0);
}

TEST_F(Keyboard, UndoingAPicturesOwnScaleLeavesTheSlotsAlone)
{
    CCalibrationTable& table = m_window->Calibration();
    CCalibrationSlot slot;
    slot.unit = 1;
    slot.xLength = slot.yLength = 1.0;
    slot.left = slot.top = 100;
    slot.right = slot.bottom = 300;
    slot.ApplyScaleRule();
    table.SetSlot(0, slot);
    table.SetCurrentIndex(0);
    Manager().SetCalibration(slot);
    Manager().ResetHistory();

    CxImage picture;
    QImage pixels(320, 240, QImage::Format_RGB888);
    pixels.fill(Qt::gray);
    ASSERT_TRUE(CImagePainter::FromQImage(pixels, picture));
    CPictureScale scale;
    scale.unit = QStringLiteral("mm");
    scale.xPerPixel = scale.yPerPixel = 0.05;
    picture.SetPictureScale(scale);
    const QString path = m_dir.filePath(QStringLiteral("scaled.png"));
    ASSERT_TRUE(picture.SaveFile(path, CXIMAGE_FORMAT_PNG));
    ASSERT_TRUE(m_window->OpenStillPicture(path));
    ASSERT_TRUE(m_window->PictureCalibration().FromFile());

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(m_window->PictureCalibration().FromFile());
    // The slot, as it measures on a picture of this size.
    EXPECT_EQ(Manager().ScaleX(), table.GetSlot(0).xPerPixel);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(m_window->PictureCalibration().FromFile());
    EXPECT_EQ(Manager().ScaleX(), 0.05);
    EXPECT_TRUE(SameCalibration(table.StoredSlot(0), slot)) << "the picture's scale is in no slot";
    EXPECT_FALSE(Manager().CanRedo());
}

TEST_F(Keyboard, AnOpenCalibrationDialogShowsWhatUndoLeft)
{
    CCalibrationDlg* dialog = m_window->CalibrationDlg();
    dialog->ShowCalibration();
    auto* editX = dialog->findChild<QLineEdit*>(QStringLiteral("editX"));
    auto* status = dialog->findChild<QLineEdit*>(QStringLiteral("scaleStatus"));
    ASSERT_TRUE(editX && status);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnReset")), Qt::LeftButton);
    editX->selectAll();
    QTest::keyClicks(editX, QStringLiteral("1000"));
    ASSERT_EQ(status->text(), "X: 5.0000um/pixel  Y: 2.0000um/pixel");

    // Every keystroke stored the slot; the typed length is one step all the same.
    m_window->WindowCommands().UndoDrawing();
    EXPECT_EQ(m_window->Calibration().GetCurSlot().xLength, 400.0);
    EXPECT_EQ(editX->text(), "400");
    EXPECT_EQ(status->text(), "X: 2.0000um/pixel  Y: 2.0000um/pixel");
    EXPECT_TRUE(Manager().CanRedo()) << "showing the slot is no new step";
    dialog->reject();
}

TEST_F(Keyboard, EachButtonRowNamesOneKeyThatPressesIt)
{
    QSet<int> seen;
    for (int id = 0; id < CSidePanel::ButtonCount; ++id) {
        const auto button = static_cast<CSidePanel::Button>(id);
        if (T::Entry(button).keys.isEmpty())
            continue;
        SCOPED_TRACE(id);
        seen.insert(button);
        EXPECT_EQ(T::Entry(button).scope, T::Scope::Window);
        EXPECT_TRUE(Panel().ButtonAt(button)->toolTip().endsWith(
                QStringLiteral("(%1)").arg(T::KeyText(button))));
    }
    EXPECT_EQ(seen.size(), 11);
    // A disabled command's key does nothing, and its button is disabled with it.
    const int before = Manager().ToolMode();
    m_window->Commands().Action(T::Line)->setEnabled(false);
    EXPECT_FALSE(Panel().ButtonAt(CSidePanel::Line)->isEnabled());
    Key(Qt::Key_L);
    EXPECT_EQ(Manager().ToolMode(), before);
    EXPECT_NE(before, LineTool);
}

TEST_F(Keyboard, ButtonsKeysAndTheMenuShareTheTablesActions)
{
    CCommandTable& table = m_window->Commands();
    for (int i = 0; i < T::CommandCount; ++i) {
        const auto command = T::Command(i);
        SCOPED_TRACE(i);
        QWidget* holder = T::Entry(command).scope == T::Scope::Picture
                ? static_cast<QWidget*>(&Canvas())
                : static_cast<QWidget*>(m_window.get());
        EXPECT_TRUE(holder->actions().contains(table.Action(command))) << "its keys work";
    }

    // The menu shows the table's actions, disabled as the table says.
    table.Action(T::ShortcutList)->setEnabled(false);
    QList<QAction*> shown;
    QList<bool> separators; // read while the menu, which owns its separators, is open
    QTimer::singleShot(0, [&shown, &separators] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shown = menu->actions();
            for (QAction* action : shown)
                separators << action->isSeparator();
            menu->close();
        }
    });
    QContextMenuEvent event(
            QContextMenuEvent::Mouse, QPoint(4, 4), m_window->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(m_window.get(), &event);
    ASSERT_EQ(shown.size(), 8);
    EXPECT_EQ(shown[5], table.Action(T::Report));
    EXPECT_EQ(shown[6], table.Action(T::Count));
    EXPECT_EQ(shown[7], table.Action(T::SnapToEdges));
    EXPECT_EQ(shown[0], table.Action(T::About));
    EXPECT_EQ(shown[1], table.Action(T::ShortcutList));
    EXPECT_EQ(separators, QList<bool>({ false, false, true, false, true, false, false, false }));
    EXPECT_FALSE(shown[1]->isEnabled());
    EXPECT_EQ(table.Action(T::About)->shortcut(), QKeySequence(Qt::Key_F1));

    // A disabled F1 opens nothing; the list, opened again, lists every row with a key.
    table.Action(T::About)->setEnabled(false);
    Key(Qt::Key_F1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    table.Action(T::ShortcutList)->setEnabled(true);
    table.Trigger(T::ShortcutList);
    auto* list = m_window->findChild<QMessageBox*>(QStringLiteral("shortcutList"));
    ASSERT_NE(list, nullptr);
    for (const T::CEntry& entry : T::Entries()) {
        if (T::InList(entry.command))
            EXPECT_TRUE(list->text().contains(T::Description(entry.command).toHtmlEscaped()))
                    << entry.command;
    }
    EXPECT_TRUE(list->text().contains(QStringLiteral("F1")));
    list->close();
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));

    // Snapshot goes the way of "Save": nothing while "Save" is disabled.
    Key(Qt::Key_P);
    ASSERT_TRUE(m_window->StillMode());
    table.Action(T::Save)->setEnabled(false);
    Key(Qt::Key_F12);
    EXPECT_FALSE(QDir(m_window->General().m_strImagePath).exists());
    table.Action(T::Save)->setEnabled(true);
    Key(Qt::Key_F12);
    EXPECT_EQ(QDir(m_window->General().m_strImagePath).entryList(QDir::Files).size(), 1);
}

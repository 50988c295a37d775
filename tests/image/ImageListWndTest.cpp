#include "image/ImageListItem.h"
#include "image/ImageListOwner.h"
#include "image/ImageListWnd.h"
#include "image/ThumbViewDlg.h"
#include "image/ThumbnailCache.h"
#include "RecordingMessages.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

namespace {

void WritePicture(
        const QDir& dir, const QString& name, QSize size, QColor colour, const char* format)
{
    QImage picture(size, QImage::Format_RGB888);
    picture.fill(colour);
    ASSERT_TRUE(picture.save(dir.filePath(name), format));
}

void WriteJunk(const QDir& dir, const QString& name)
{
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("junk");
}

bool WaitForThumbnails(const CImageListWnd& list)
{
    return QTest::qWaitFor([&list] { return list.PendingThumbnails() == 0; }, 10000);
}

QStringList ActionTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << action->text();
    return texts;
}

class FakeOwner : public CImageListOwner
{
public:
    void DisplayImage(const QString& path) override { displayed << path; }
    void RemoveFusionImage(int index) override { removed.push_back(index); }

    QStringList displayed;
    std::vector<int> removed;
};

class ImageList : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_tmp.isValid()); }

    QTemporaryDir m_tmp;
    QDir m_dir { m_tmp.path() };
};

} // namespace

TEST_F(ImageList, FolderListsEveryPictureFormatWithThumbnailsOnWhite)
{
    WritePicture(m_dir, QStringLiteral("a.BMP"), { 100, 50 }, Qt::red, "BMP");
    WritePicture(m_dir, QStringLiteral("b.jpg"), { 640, 480 }, Qt::blue, "JPG");
    WritePicture(m_dir, QStringLiteral("c.jpeg"), { 64, 48 }, Qt::blue, "JPG");
    WritePicture(m_dir, QStringLiteral("d.png"), { 64, 48 }, Qt::blue, "PNG");
    WriteJunk(m_dir, QStringLiteral("e.jpg"));

    CImageListWnd list;
    list.resize(800, 145);
    list.show();
    QSignalSpy ready(&list, &CImageListWnd::thumbnailsReady);
    list.SetFolder(m_tmp.path() + QLatin1Char('/'));

    ASSERT_EQ(list.Count(), 5) << "names and items are there at once";
    EXPECT_EQ(list.Item(0)->Name(), QStringLiteral("a.BMP"));
    EXPECT_EQ(list.Item(1)->Name(), QStringLiteral("b.jpg"));
    EXPECT_EQ(list.Item(3)->Name(), QStringLiteral("d.png"));
    EXPECT_EQ(list.Item(4)->Name(), QStringLiteral("e.jpg"));
    EXPECT_EQ(list.Entries()[4].index, 4);
    EXPECT_EQ(list.Item(1)->FullPath(), m_dir.filePath(QStringLiteral("b.jpg")));
    EXPECT_EQ(list.InnerCanvas()->size(), QSize(710, 130));
    EXPECT_EQ(list.Item(4)->geometry(), QRect(570, 10, 130, 110));

    ASSERT_TRUE(WaitForThumbnails(list));
    EXPECT_GE(ready.count(), 1);
    const QImage small = list.Item(0)->Thumbnail();
    ASSERT_EQ(small.size(), QSize(240, 180));
    EXPECT_EQ(small.pixelColor(0, 0), QColor(Qt::white)) << "a small picture sits centred";
    EXPECT_EQ(small.pixelColor(120, 90), QColor(Qt::red));
    const QImage big = list.Item(1)->Thumbnail();
    ASSERT_EQ(big.size(), QSize(240, 180));
    EXPECT_GT(big.pixelColor(2, 2).blue(), 240);
    EXPECT_LT(big.pixelColor(2, 2).red(), 16);
    EXPECT_GT(list.Item(3)->Thumbnail().pixelColor(120, 90).blue(), 240) << "PNG too";
    EXPECT_TRUE(list.Item(4)->Thumbnail().isNull()) << "undecodable keeps an empty thumbnail";

    const QImage blank = list.Item(4)->Render();
    EXPECT_EQ(blank.pixelColor(65, 40), QColor(Qt::white));
    const QImage painted = list.Item(1)->Render();
    EXPECT_EQ(painted.pixelColor(0, 0), QColor(Qt::white)) << "white frame";
    EXPECT_EQ(painted.pixelColor(129, 50), QColor(Qt::white));
    EXPECT_GT(painted.pixelColor(65, 40).blue(), 200);

    const QImage shot = list.grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(99, 125, 165)) << "list background";
}

TEST_F(ImageList, GridAndRowInnerSizes)
{
    for (int i = 0; i < 5; ++i)
        WriteJunk(m_dir, QStringLiteral("%1.jpg").arg(i));
    CImageListWnd grid;
    grid.SetSingleRow(false);
    grid.resize(300, 400);
    grid.show();
    grid.SetFolder(m_tmp.path());
    EXPECT_EQ(grid.InnerCanvas()->size(), QSize(290, 370));
    EXPECT_EQ(grid.Item(4)->pos(), QPoint(10, 250));
    EXPECT_FALSE(grid.verticalScrollBar()->isVisible());

    CImageListWnd row;
    row.resize(300, 145);
    row.show();
    for (int i = 0; i < 4; ++i)
        row.AddFileIn(QStringLiteral("%1.jpg").arg(i), m_tmp.path());
    row.UpdateScrollSize();
    EXPECT_EQ(row.InnerCanvas()->size(), QSize(570, 130));
    EXPECT_EQ(row.HorizontalAxis().Maximum(), 270);
    EXPECT_FALSE(row.VerticalAxis().HasRange());
}

TEST_F(ImageList, CaptionsShowTheWholeNameWithItsExtension)
{
    const QString stamped = QStringLiteral("20240515093008.bmp");
    const QString second = QStringLiteral("20240515093008_12.jpg");
    const QString longName =
            QStringLiteral("a picture from another program with a very long name.jpg");
    CImageListWnd list;
    list.resize(800, 145);
    for (const QString& name : { stamped, second, longName, QStringLiteral("a.jpg") })
        list.AddFileIn(name, m_tmp.path());
    ASSERT_EQ(list.Count(), 4);

    for (int i = 0; i < list.Count(); ++i) {
        const CImageListItem* item = list.Item(i);
        ASSERT_EQ(item->width(), 130);
        const int room = item->width() - 4; // inside the white frame
        EXPECT_LE(QFontMetrics(item->CaptionFont()).horizontalAdvance(item->CaptionText()), room)
                << item->Name().toStdString();
    }
    EXPECT_EQ(list.Item(0)->CaptionText(), stamped) << "a time-stamped name fits whole";
    EXPECT_EQ(list.Item(1)->CaptionText(), second);
    EXPECT_TRUE(list.Item(2)->CaptionText().endsWith(QStringLiteral(".jpg")))
            << "a name too long for any size keeps its extension";
    EXPECT_TRUE(list.Item(2)->CaptionText().startsWith(QStringLiteral("a pic")));
    EXPECT_EQ(list.Item(3)->CaptionFont().pixelSize(), 12) << "short names keep the full size";

    CImageListWnd merge;
    merge.SetItemSize(233, 175);
    merge.AddFileIn(second, m_tmp.path());
    EXPECT_EQ(merge.Item(0)->CaptionFont().pixelSize(), 12) << "wide items need no shrinking";
}

TEST_F(ImageList, AddRemoveAndIndexOfName)
{
    CImageListWnd list;
    list.SetFolderPath(m_tmp.path());
    EXPECT_EQ(list.IndexOfName(QStringLiteral("x.jpg")), -1);
    list.AddFile(QStringLiteral("y.jpg"));
    list.AddFile(QStringLiteral("x.jpg"));
    list.AddFileIn(QStringLiteral("x.jpg"), m_tmp.path() + QStringLiteral("/other"));
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Entries()[2].index, 2);
    EXPECT_EQ(list.IndexOfName(QStringLiteral("x.jpg")), 1) << "the first of two";

    list.ForgetFile(QStringLiteral("x.jpg"));
    EXPECT_EQ(list.Count(), 1);
    list.AddFile(QStringLiteral("z.jpg"));
    EXPECT_EQ(list.Entries().back().index, 1) << "last index + 1";
    list.Clear();
    list.AddFile(QStringLiteral("z.jpg"));
    EXPECT_EQ(list.Entries().back().index, 0);
    list.SetFolder(QString());
    EXPECT_EQ(list.Count(), 1) << "an empty folder is ignored";
}

TEST_F(ImageList, WheelScrollsLineStepsVertically)
{
    CImageListWnd list;
    list.SetSingleRow(false);
    list.resize(300, 200);
    list.show();
    list.SetFolderPath(m_tmp.path());
    for (int i = 0; i < 20; ++i)
        list.AddFile(QStringLiteral("%1.jpg").arg(i));
    list.UpdateScrollSize();
    ASSERT_TRUE(list.VerticalAxis().HasRange());

    const auto wheel = [&list](int delta) {
        QWheelEvent event(QPointF(50, 50), list.mapToGlobal(QPointF(50, 50)), QPoint(),
                QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list.viewport(), &event);
        return list.verticalScrollBar()->value();
    };
    list.SetWheelScrollLines(3);
    EXPECT_EQ(wheel(-120), 60);
    EXPECT_EQ(wheel(-240), 180);
    EXPECT_EQ(wheel(120), 120);
    list.SetWheelScrollLines(1);
    EXPECT_EQ(wheel(-120), 180);
    EXPECT_EQ(wheel(-360), 240);
    EXPECT_EQ(list.InnerCanvas()->y(), -240) << "content follows";

    list.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(list.VerticalAxis().Position(), 180) << "bar commands move 60-pixel lines";
    list.UpdateScrollSize();
    EXPECT_EQ(list.verticalScrollBar()->value(), 0) << "back to the origin";
}

TEST_F(ImageList, RemoveMovesFileToTrash)
{
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    const QString dataHome = m_dir.filePath(QStringLiteral("data"));
    ASSERT_TRUE(m_dir.mkpath(dataHome));
    qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit());

    WritePicture(m_dir, QStringLiteral("a.jpg"), { 32, 24 }, Qt::green, "JPG");
    WritePicture(m_dir, QStringLiteral("b.bmp"), { 32, 24 }, Qt::green, "BMP");
    CImageListWnd list;
    list.resize(400, 145);
    list.SetFolder(m_tmp.path());
    QSignalSpy removed(&list, &CImageListWnd::fileRemoved);
    ASSERT_EQ(list.Count(), 2);
    list.Remove(0);

    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("a.jpg"))));
    EXPECT_TRUE(QFile::exists(dataHome + QStringLiteral("/Trash/files/a.jpg")));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item(0)->Name(), QStringLiteral("b.bmp"));
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed[0][0].toString(), m_dir.filePath(QStringLiteral("a.jpg")));

    EXPECT_TRUE(list.RemoveFile(QStringLiteral("missing.jpg"))) << "nothing listed, nothing kept";
    if (oldDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldDataHome);
}

// A first run on a fresh account: neither ~/.local/share nor $XDG_DATA_HOME exists yet.
TEST_F(ImageList, RemoveReachesTheTrashWithoutADataFolderAndLeavesTheWorkingFolderAlone)
{
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    const QString oldWorking = QDir::currentPath();
    const QString home = m_dir.filePath(QStringLiteral("home"));
    const QString working = m_dir.filePath(QStringLiteral("working"));
    ASSERT_TRUE(m_dir.mkpath(home));
    ASSERT_TRUE(m_dir.mkpath(working));
    ASSERT_TRUE(QDir::setCurrent(working));
    qputenv("HOME", home.toLocal8Bit());

    WritePicture(m_dir, QStringLiteral("a.jpg"), { 32, 24 }, Qt::green, "JPG");
    WritePicture(m_dir, QStringLiteral("b.jpg"), { 32, 24 }, Qt::green, "JPG");
    CImageListWnd list;
    list.SetFolder(m_tmp.path());
    CRecordingMessages messages;
    ASSERT_EQ(list.Count(), 2);

    // The data folder as $XDG_DATA_HOME names it...
    const QString dataHome = home + QStringLiteral("/data");
    qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit());
    list.Remove(0);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("a.jpg"))));
    EXPECT_TRUE(QFile::exists(dataHome + QStringLiteral("/Trash/files/a.jpg")));
    EXPECT_TRUE(QFile::exists(dataHome + QStringLiteral("/Trash/info/a.jpg.trashinfo")));

    // ... and the default one under the home folder.
    qunsetenv("XDG_DATA_HOME");
    list.Remove(0);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("b.jpg"))));
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/.local/share/Trash/files/b.jpg")));

    EXPECT_TRUE(QDir(working).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            << "no files/ or info/ in the working folder";
    EXPECT_TRUE(messages.All().empty());
    EXPECT_EQ(list.Count(), 0);

    QDir::setCurrent(oldWorking);
    qputenv("HOME", oldHome);
    if (oldDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldDataHome);
}

TEST_F(ImageList, RemoveSaysWhyAFileStaysOnDisk)
{
    // A folder the user may not change: the file can be neither trashed nor deleted.
    if (::geteuid() == 0)
        GTEST_SKIP() << "the folder's rights do not hold for root";
    const QString locked = m_dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(m_dir.mkpath(locked));
    WritePicture(QDir(locked), QStringLiteral("c.jpg"), { 32, 24 }, Qt::green, "JPG");
    CImageListWnd list;
    list.SetFolder(locked);
    CRecordingMessages messages;
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    list.Remove(0);
    QFile::setPermissions(
            locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(list.Count(), 0) << "the item goes even so";
    EXPECT_TRUE(QFile::exists(QDir(locked).filePath(QStringLiteral("c.jpg"))));
    ASSERT_EQ(messages.All().size(), 1u);
    EXPECT_TRUE(messages.Last().contains(QStringLiteral("c.jpg")));
    EXPECT_EQ(messages.All()[0].caption, QStringLiteral("Remove"));
}

TEST_F(ImageList, MergeModeKeepsOwnerSetInStep)
{
    const QString other = m_dir.filePath(QStringLiteral("other"));
    ASSERT_TRUE(m_dir.mkdir(QStringLiteral("other")));
    CImageListWnd list;
    FakeOwner owner;
    list.SetOwner(&owner);
    list.SetItemSize(233, 175);
    list.SetFolderPath(m_tmp.path());
    list.AddFile(QStringLiteral("a.jpg"));
    list.AddFile(QStringLiteral("b.jpg"));
    list.AddFileIn(QStringLiteral("a.jpg"), other);

    std::unique_ptr<QMenu> menu(list.CreateItemMenu(1, nullptr));
    EXPECT_EQ(menu->objectName(), QStringLiteral("ADVTHUMB"));
    EXPECT_EQ(ActionTexts(*menu),
            (QStringList { QStringLiteral("Display"), QStringLiteral("Remove") }));

    QTest::mouseDClick(list.Item(1), Qt::LeftButton);
    EXPECT_EQ(owner.displayed, QStringList { m_dir.filePath(QStringLiteral("b.jpg")) });

    list.Remove(2);
    EXPECT_EQ(owner.removed, (std::vector<int> { 2, 0 })) << "each removed item, from the back";
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item(0)->Name(), QStringLiteral("b.jpg"));
}

TEST_F(ImageList, OpenFromStripAndThumbView)
{
    WritePicture(m_dir, QStringLiteral("a.jpg"), { 32, 24 }, Qt::green, "JPG");
    CImageListWnd list;
    list.resize(400, 145);
    list.show();
    list.SetFolder(m_tmp.path());
    QSignalSpy opened(&list, &CImageListWnd::openRequested);
    std::unique_ptr<QMenu> menu(list.CreateItemMenu(0, nullptr));
    EXPECT_EQ(menu->objectName(), QStringLiteral("ThumbMenu"));
    EXPECT_EQ(ActionTexts(*menu),
            (QStringList { QStringLiteral("Open"), QStringLiteral("Open Folder"),
                    QStringLiteral("Remove") }));
    menu->actions().at(0)->trigger();
    QTest::mouseDClick(list.Item(0), Qt::LeftButton);
    ASSERT_EQ(opened.count(), 2);
    EXPECT_EQ(opened[0][0].toString(), m_dir.filePath(QStringLiteral("a.jpg")));
    EXPECT_FALSE(opened[0][1].toBool()) << "menu Open keeps the zoom";
    EXPECT_TRUE(opened[1][1].toBool()) << "double-click re-applies the zoom";

    CThumbViewDlg dialog(m_tmp.path());
    EXPECT_FALSE(dialog.List()->SingleRow());
    EXPECT_EQ(dialog.List()->Count(), 1);
    QSignalSpy forwarded(&dialog, &CThumbViewDlg::openRequested);
    dialog.show();
    dialog.List()->Open(0, false);
    EXPECT_EQ(forwarded.count(), 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible()) << "opening closes the grid";
}

TEST_F(ImageList, RescanAndCloseWhileDecodingIsClean)
{
    for (int i = 0; i < 40; ++i)
        WritePicture(m_dir, QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0')), { 800, 600 },
                QColor(i * 6, 0, 0), "JPG");
    auto list = std::make_unique<CImageListWnd>();
    list->resize(600, 145);
    list->show();
    list->SetFolder(m_tmp.path());
    list->SetFolder(m_tmp.path());
    QTest::qWait(20);
    list->RefreshThumbnail(QStringLiteral("05.jpg"));
    list->SetFolder(m_tmp.path());
    ASSERT_EQ(list->Count(), 40);
    ASSERT_TRUE(WaitForThumbnails(*list));
    for (int i = 0; i < list->Count(); ++i)
        EXPECT_EQ(list->Item(i)->Thumbnail().size(), QSize(240, 180)) << i;

    list->SetFolder(m_tmp.path());
    list.reset(); // workers are mid-folder: stop and join
    QTest::qWait(10);
}

TEST_F(ImageList, RefreshAndReopenUseTheFileAsItIsNow)
{
    WritePicture(m_dir, QStringLiteral("a.bmp"), { 120, 90 }, Qt::red, "BMP");
    CImageListWnd strip;
    strip.resize(400, 145);
    strip.SetFolder(m_tmp.path());
    ASSERT_TRUE(WaitForThumbnails(strip));
    EXPECT_EQ(strip.Item(0)->Thumbnail().pixelColor(120, 90), QColor(Qt::red));

    CThumbViewDlg reopened(m_tmp.path());
    EXPECT_EQ(reopened.List()->PendingThumbnails(), 0) << "already decoded in this run";
    EXPECT_EQ(reopened.List()->Item(0)->Thumbnail().pixelColor(120, 90), QColor(Qt::red));

    WritePicture(m_dir, QStringLiteral("a.bmp"), { 160, 120 }, Qt::green, "BMP");
    strip.RefreshThumbnail(QStringLiteral("a.bmp"));
    ASSERT_TRUE(WaitForThumbnails(strip));
    EXPECT_EQ(strip.Item(0)->Thumbnail().pixelColor(120, 90), QColor(Qt::green));
    CThumbViewDlg afterSave(m_tmp.path());
    ASSERT_TRUE(WaitForThumbnails(*afterSave.List()));
    EXPECT_EQ(afterSave.List()->Item(0)->Thumbnail().pixelColor(120, 90), QColor(Qt::green));
}

// However large the folder, the items hold the pictures near the view within the budget and
// the cache stays within its own; scrolling moves the held ones along.
TEST_F(ImageList, ThumbnailMemoryStaysWithinTheBudget)
{
    const int held = CImageListWnd::HeldThumbnailLimit();
    const int count = held * 2 + 40;
    for (int i = 0; i < count; ++i)
        WritePicture(m_dir, QStringLiteral("%1.bmp").arg(i, 4, 10, QLatin1Char('0')), { 4, 3 },
                QColor(i % 256, 0, 0), "BMP");
    CImageListWnd list;
    list.resize(800, 145);
    list.show();
    list.SetFolder(m_tmp.path());
    ASSERT_EQ(list.Count(), count);
    ASSERT_TRUE(WaitForThumbnails(list));
    const qint64 perPicture = list.Item(0)->Thumbnail().sizeInBytes();
    ASSERT_GT(perPicture, 0);
    EXPECT_LE(list.HeldThumbnailBytes(), held * perPicture);
    EXPECT_TRUE(list.Item(count - 1)->Thumbnail().isNull());

    list.horizontalScrollBar()->setValue(list.horizontalScrollBar()->maximum());
    ASSERT_TRUE(WaitForThumbnails(list));
    EXPECT_FALSE(list.Item(count - 1)->Thumbnail().isNull()) << "the end, now in view";
    EXPECT_TRUE(list.Item(0)->Thumbnail().isNull()) << "the start let go";
    EXPECT_LE(list.HeldThumbnailBytes(), held * perPicture);
    EXPECT_LE(CThumbnailCache::Instance().Bytes(), CThumbnailCache::kBudgetBytes);

    // Back at the start the pictures come again, from the cache or the files.
    list.horizontalScrollBar()->setValue(0);
    ASSERT_TRUE(WaitForThumbnails(list));
    EXPECT_EQ(list.Item(0)->Thumbnail().pixelColor(120, 90), QColor(0, 0, 0));
    EXPECT_EQ(list.Item(1)->Thumbnail().pixelColor(120, 90), QColor(1, 0, 0));
}

// "Open Folder" where nothing can show a folder says so, for a missing xdg-open and for one
// that finds no program.
TEST_F(ImageList, OpenFolderWithoutAFileManagerSaysSo)
{
    WritePicture(m_dir, QStringLiteral("a.bmp"), { 4, 3 }, Qt::red, "BMP");
    CImageListWnd list;
    list.SetFolder(m_tmp.path());
    CRecordingMessages messages;
    const QByteArray path = qgetenv("PATH");
    const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    QTemporaryDir bin;
    qputenv("PATH", bin.path().toUtf8());
    auto openFolder = [&list] {
        std::unique_ptr<QMenu> menu(list.CreateItemMenu(0, &list));
        for (QAction* action : menu->actions())
            if (action->text() == QStringLiteral("Open Folder"))
                action->trigger();
    };
    openFolder();
    EXPECT_TRUE(QTest::qWaitFor([&] { return messages.All().size() == 1; }, 10000));

    QFile opener(QDir(bin.path()).filePath(QStringLiteral("xdg-open")));
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nexit 3\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    openFolder();
    EXPECT_TRUE(QTest::qWaitFor([&] { return messages.All().size() == 2; }, 10000));
    qputenv("PATH", path);
    if (!bus.isEmpty())
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
    ASSERT_EQ(messages.All().size(), 2u);
    EXPECT_EQ(messages.All()[0].caption, QStringLiteral("Open Folder"));
    const QStringList texts = messages.Texts();
    EXPECT_TRUE(texts[0].contains(m_dir.absolutePath())) << texts[0].toStdString();
    EXPECT_TRUE(texts[0].contains("xdg-open was found")) << texts[0].toStdString();
    EXPECT_TRUE(texts[1].contains("xdg-open ended with 3")) << texts[1].toStdString();
}

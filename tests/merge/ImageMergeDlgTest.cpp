#include "MergeTestImages.h"
#include "RecordingMessages.h"

#include "image/ImageListItem.h"
#include "image/ImageListWnd.h"
#include "imgproc/FusionRunner.h"
#include "merge/ImageMergeDlg.h"
#include "merge/MergeView.h"
#include "video/FrameSource.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QIcon>
#include <QDir>
#include <QSignalSpy>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <atomic>
#include <deque>
#include <utility>

namespace {

// The fusion runs as a job: start it and wait for its end, as the user waits for the
// progress dialog to close.
bool FuseAndWait(CImageMergeDlg& dlg)
{
    QSignalSpy finished(&dlg, &CImageMergeDlg::fusionFinished);
    if (!dlg.OnFuse())
        return false;
    EXPECT_TRUE(dlg.Fusing());
    if (!finished.wait(30000))
        return false;
    return !dlg.Fusing() && finished.at(0).at(0).toInt() == static_cast<int>(FusionStatus::Done);
}

// A main window stand-in: a current frame, a folder, a live/still flag and a record of what
// the dialog asked for.
class MergeFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.filePath(QStringLiteral("images"));
        QDir().mkpath(m_folder);
        m_frame = TexturePicture(64, 48, 1);
    }

    CMergeHooks Hooks()
    {
        CMergeHooks hooks;
        hooks.stillMode = [this] { return m_still; };
        hooks.toggleVideo = [this] {
            m_still = !m_still;
            ++m_toggles;
        };
        hooks.captureToFrame = [this] {
            ++m_captures;
            m_frame = TexturePicture(64, 48, 100 + m_captures);
        };
        hooks.currentFrame = [this]() -> CxImage& { return m_frame; };
        hooks.imageFolder = [this] { return m_folder; };
        hooks.saveBmp = [this] { return m_bmp; };
        hooks.addToMainList = [this](const QString& name) { m_mainList << name; };
        hooks.zoomChoice = [] { return 0; };
        hooks.setZoomChoice = [this](int zoom) { m_zoom = zoom; };
        hooks.chooseImageFiles = [this](QWidget*) {
            ++m_fileDialogs;
            if (!m_chosenAtOnce.isEmpty())
                return std::exchange(m_chosenAtOnce, {});
            const QString path = NextChosen(m_chosen);
            return path.isEmpty() ? QStringList() : QStringList { path };
        };
        return hooks;
    }

    QString SavedPicture(const QString& name, int width, int height, uint64_t seed = 7)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(SavePicture(TexturePicture(width, height, seed), path));
        return path;
    }

    int FilesIn(const QString& folder) const
    {
        return static_cast<int>(QDir(folder).entryList(QDir::Files).size());
    }

    QTemporaryDir m_dir;
    QString m_folder;
    CxImage m_frame;
    bool m_still = false;
    bool m_bmp = true;
    int m_toggles = 0;
    int m_captures = 0;
    int m_zoom = -1;
    int m_fileDialogs = 0;
    QStringList m_mainList;
    CRecordingMessages m_messages;
    std::deque<QString> m_chosen;
    QStringList m_chosenAtOnce; // one dialog, several files
};

TEST_F(MergeFixture, MergeDialog_StartsEmptyInDirectMergeWithTheToolbar)
{
    CImageMergeDlg dlg(Hooks());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Image Merge"));
    EXPECT_EQ(dlg.FusionCount(), 0);
    EXPECT_EQ(dlg.ImageList()->Count(), 0);
    EXPECT_EQ(dlg.ModeIndex(), CImageMergeDlg::DirectMerge);
    EXPECT_EQ(dlg.ImageList()->ItemSize(), QSize(233, 175));
    EXPECT_EQ(dlg.ImageList()->Owner(), &dlg);

    // Eight positions: six buttons and the two combos at positions 4 and 8; "Capture while
    // focusing" comes after them.
    const auto actions = dlg.ToolBar()->actions();
    ASSERT_EQ(actions.size(), 9);
    EXPECT_EQ(dlg.ToolBar()->widgetForAction(actions[8])->objectName(), "focusCapture");
    EXPECT_TRUE(qobject_cast<QComboBox*>(dlg.ToolBar()->widgetForAction(actions[3])));
    EXPECT_TRUE(qobject_cast<QComboBox*>(dlg.ToolBar()->widgetForAction(actions[7])));
    auto* zoom = qobject_cast<QComboBox*>(dlg.ToolBar()->widgetForAction(actions[3]));
    EXPECT_EQ(zoom->itemText(0), QStringLiteral("Fit in"));
    EXPECT_EQ(zoom->count(), 4);
    auto* mode = qobject_cast<QComboBox*>(dlg.ToolBar()->widgetForAction(actions[7]));
    EXPECT_EQ(mode->itemText(0), QStringLiteral("Adjusted Merge"));
    EXPECT_EQ(mode->itemText(1), QStringLiteral("Direct Merge"));
    EXPECT_EQ(mode->itemText(2), QStringLiteral("Aligned Merge"));
    EXPECT_EQ(mode->count(), 3);
}

TEST_F(MergeFixture, MergeDialog_LayoutFollowsTheClientSize)
{
    const auto layout = CImageMergeDlg::ComputeLayout(QSize(1200, 800));
    EXPECT_EQ(layout.view, QRect(10, 70, 1180, 510));
    EXPECT_EQ(layout.list, QRect(10, 590, 903, 200));
    EXPECT_EQ(layout.result, QRect(923, 590, 267, 200));
    EXPECT_EQ(layout.video, QRect(10, 590, 267, 200));
}

TEST_F(MergeFixture, MergeDialog_ListCaptionsAndModeTextsAreWhole)
{
    CImageMergeDlg dlg(Hooks());
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    // More pictures than the list is wide, so its horizontal bar shows.
    for (int i = 0; i < 8; ++i)
        m_chosen.push_back(SavedPicture(QStringLiteral("2024051509300%1.bmp").arg(i), 64, 48));
    for (int i = 0; i < 8; ++i)
        dlg.OnOpen();
    CImageListWnd* list = dlg.ImageList();
    ASSERT_EQ(list->Count(), 8);
    QApplication::processEvents();
    ASSERT_TRUE(list->horizontalScrollBar()->isVisible());

    const CImageListItem* item = list->Item(0);
    const int captionHeight = QFontMetrics(item->CaptionFont()).height();
    const QRect caption(item->mapTo(list->viewport(), QPoint(0, item->height() - captionHeight)),
            QSize(item->width(), captionHeight));
    EXPECT_TRUE(list->viewport()->rect().contains(caption))
            << "caption " << caption.y() << ".." << caption.bottom() << " in a viewport "
            << list->viewport()->height() << " high";
    EXPECT_EQ(list->verticalScrollBar()->maximum(), 0) << "nothing to scroll to vertically";

    QRect viewFrame, listFrame;
    for (const QGroupBox* frame : dlg.findChildren<QGroupBox*>()) {
        if (frame->title() == QStringLiteral("...."))
            viewFrame = frame->geometry();
        else if (frame->title() == QStringLiteral("List"))
            listFrame = frame->geometry();
    }
    EXPECT_EQ(listFrame.bottom(), dlg.height() - 11) << "the bottom frames grow upwards";
    EXPECT_LT(viewFrame.bottom(), listFrame.top()) << "the big view makes room";
    const auto taller = CImageMergeDlg::ComputeLayout(QSize(1200, 800), 230);
    EXPECT_EQ(taller.view, QRect(10, 70, 1180, 480));
    EXPECT_EQ(taller.list, QRect(10, 560, 903, 230));
    EXPECT_EQ(taller.result, QRect(923, 560, 267, 230));

    for (QComboBox* combo : dlg.ToolBar()->findChildren<QComboBox*>()) {
        EXPECT_GE(combo->width(), 80);
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = false;
        const int room = combo->style()
                                 ->subControlRect(QStyle::CC_ComboBox, &option,
                                         QStyle::SC_ComboBoxEditField, combo)
                                 .width();
        for (int i = 0; i < combo->count(); ++i)
            EXPECT_LE(combo->fontMetrics().horizontalAdvance(combo->itemText(i)), room)
                    << combo->itemText(i).toStdString();
    }
}

TEST_F(MergeFixture, MergeDialog_ZoomSizes)
{
    EXPECT_EQ(CImageMergeDlg::ZoomSize(0, QSize(1280, 1024), QSize(1000, 500)), QSize(625, 500));
    EXPECT_EQ(CImageMergeDlg::ZoomSize(0, QSize(1280, 1024), QSize(1000, 2000)), QSize(1000, 800));
    EXPECT_EQ(CImageMergeDlg::ZoomSize(2, QSize(640, 480), QSize(100, 100)), QSize(1280, 960));
    EXPECT_EQ(CImageMergeDlg::ZoomSize(0, QSize(0, 0), QSize(100, 100)), QSize());

    // Still: the current frame's size; the choice goes back to the main window.
    m_still = true;
    m_frame = TexturePicture(1280, 1024, 3);
    CImageMergeDlg dlg(Hooks());
    dlg.ApplyZoom(1);
    EXPECT_EQ(dlg.BigView()->size(), QSize(1280, 1024));
    EXPECT_EQ(m_zoom, 1);
}

TEST_F(MergeFixture, MergeDialog_CaptureSavesAddsAndStopsSilentlyAtTwenty)
{
    CImageMergeDlg dlg(Hooks());
    for (int i = 0; i < 21; ++i)
        dlg.OnCapture();
    EXPECT_EQ(m_captures, 21); // the 21st still refreshes the current frame
    EXPECT_EQ(dlg.FusionCount(), 20);
    EXPECT_EQ(dlg.ImageList()->Count(), 20);
    EXPECT_EQ(m_mainList.size(), 20);
    EXPECT_EQ(FilesIn(m_folder), 20);
    EXPECT_TRUE(m_messages.All().empty());
    EXPECT_TRUE(m_mainList.front().endsWith(QStringLiteral(".bmp")));

    // Opening a 21st shows the limit before any file dialog.
    dlg.OnOpen();
    ASSERT_EQ(m_messages.All().size(), 1u);
    EXPECT_EQ(m_messages.All()[0].text,
            QStringLiteral("Only support 20 images, please remove one image from list and try "
                           "once again."));
    EXPECT_EQ(m_fileDialogs, 0);

    // Removing through the list drops the matching picture.
    dlg.RemoveFusionImage(0);
    EXPECT_EQ(dlg.FusionCount(), 19);
}

TEST_F(MergeFixture, MergeDialog_CaptureRefusedWhileStillAndReportedWhenUnwritable)
{
    m_still = true;
    CImageMergeDlg dlg(Hooks());
    dlg.OnCapture();
    ASSERT_EQ(m_messages.All().size(), 1u);
    EXPECT_EQ(m_messages.All()[0].text, QStringLiteral("Please preview video first!"));
    EXPECT_EQ(m_captures, 0);

    m_still = false;
    m_bmp = false;
    QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_folder = m_dir.filePath(QStringLiteral("blocker/sub")); // a file stands in the way
    dlg.OnCapture();
    ASSERT_EQ(m_messages.All().size(), 2u);
    EXPECT_TRUE(m_messages.All()[1].text.contains(QStringLiteral("blocker")));
    EXPECT_EQ(dlg.FusionCount(), 0);
    EXPECT_EQ(dlg.ImageList()->Count(), 0);
    EXPECT_TRUE(m_mainList.isEmpty());
}

// A checkerboard whose sharpness grows with the square of its contrast.
CxImage Checker(int contrast)
{
    cv::Mat board(48, 64, CV_8UC3);
    for (int y = 0; y < board.rows; ++y)
        for (int x = 0; x < board.cols; ++x)
            board.at<cv::Vec3b>(y, x) = cv::Vec3b::all(
                    static_cast<uchar>(128 + ((x / 4 + y / 4) % 2 ? contrast : -contrast) / 2));
    CxImage image;
    image.CreateFromBuffer(board.data, 64, 48, 24, static_cast<uint32_t>(board.step), true);
    return image;
}

TEST_F(MergeFixture, MergeDialog_CaptureWhileFocusingTakesAFramePerSharpnessStepUntilFull)
{
    // The knob turned: the same focus three times, a clear change, a slight one, another clear one.
    const std::vector<int> focus { 40, 40, 40, 60, 62, 90 };
    CMergeHooks hooks = Hooks();
    hooks.captureToFrame = [&] {
        m_frame = Checker(focus[std::min<size_t>(m_captures++, focus.size() - 1)]);
    };
    CImageMergeDlg dlg(hooks);
    auto* button = dlg.findChild<QToolButton*>(QStringLiteral("focusCapture"));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->toolTip(), QStringLiteral("Capture while focusing"));
    button->click();
    ASSERT_TRUE(dlg.CapturingWhileFocusing());
    EXPECT_TRUE(button->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(m_captures > static_cast<int>(focus.size()), 5000);
    EXPECT_EQ(dlg.FusionCount(), 3);
    EXPECT_EQ(FilesIn(m_folder), 3);
    button->click();
    EXPECT_FALSE(dlg.CapturingWhileFocusing());

    // With 18 taken, the bracket fills the last two places and ends by itself.
    m_captures = 0;
    hooks.captureToFrame = [&] { m_frame = Checker(10 + (m_captures++ % 12) * 20); };
    CImageMergeDlg full(hooks);
    for (int i = 0; i < 18; ++i)
        full.OnCapture();
    full.SetCaptureWhileFocusing(true);
    QTRY_VERIFY_WITH_TIMEOUT(!full.CapturingWhileFocusing(), 5000);
    EXPECT_EQ(full.FusionCount(), 20);
    EXPECT_TRUE(m_messages.All().empty());
    full.SetCaptureWhileFocusing(true);
    ASSERT_EQ(m_messages.All().size(), 1u);
    EXPECT_FALSE(full.CapturingWhileFocusing());

    m_still = true;
    dlg.SetCaptureWhileFocusing(true);
    EXPECT_EQ(m_messages.All().back().text, QStringLiteral("Please preview video first!"));
    EXPECT_FALSE(dlg.CapturingWhileFocusing());
}

TEST_F(MergeFixture, MergeDialog_OpenAddsDecodablePicturesOnly)
{
    const QString good = SavedPicture(QStringLiteral("good.bmp"), 64, 48);
    const QString bad = m_dir.filePath(QStringLiteral("broken.jpg"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xD8 not really a JPEG");
    file.close();

    CImageMergeDlg dlg(Hooks());
    m_chosen = { good, bad };
    dlg.OnOpen();
    dlg.OnOpen();
    dlg.OnOpen(); // cancelled
    EXPECT_EQ(dlg.FusionCount(), 1);
    EXPECT_EQ(dlg.ImageList()->Count(), 1);
    EXPECT_EQ(dlg.ImageList()->Entries().front().name, QStringLiteral("good.bmp"));
    ASSERT_EQ(m_messages.All().size(), 1u);
    EXPECT_TRUE(m_messages.All()[0].text.contains(QStringLiteral("broken.jpg")));
    EXPECT_TRUE(m_mainList.isEmpty()); // opened files are not the program's snapshots
}

TEST_F(MergeFixture, MergeDialog_OpenLoadsEveryChosenFileUpToTheFreePlaces)
{
    CImageMergeDlg dlg(Hooks());
    for (int i = 0; i < 17; ++i)
        dlg.OnCapture();
    for (int i = 0; i < 5; ++i)
        m_chosenAtOnce << SavedPicture(QStringLiteral("p%1.bmp").arg(i), 64, 48, 30 + i);
    dlg.OnOpen();
    EXPECT_EQ(m_fileDialogs, 1);
    EXPECT_EQ(dlg.FusionCount(), 20);
    ASSERT_EQ(dlg.ImageList()->Count(), 20);
    EXPECT_EQ(dlg.ImageList()->Entries().back().name, QStringLiteral("p2.bmp"));
    ASSERT_EQ(m_messages.All().size(), 1u);
    EXPECT_TRUE(
            m_messages.All()[0].text.contains(QStringLiteral("2 chosen file(s) were not added")))
            << m_messages.All()[0].text.toStdString();
}

TEST_F(MergeFixture, MergeDialog_FuseRefusesTooFewAndMixedSizesInBothModes)
{
    CImageMergeDlg dlg(Hooks());
    m_chosen = { SavedPicture(QStringLiteral("a.bmp"), 640, 480) };
    dlg.OnOpen();
    EXPECT_FALSE(dlg.OnFuse());
    ASSERT_EQ(m_messages.All().size(), 1u);
    EXPECT_EQ(m_messages.All()[0].text, QStringLiteral("Need 2 images to do the fusion function."));

    m_chosen = { SavedPicture(QStringLiteral("b.bmp"), 641, 480) };
    dlg.OnOpen();
    for (int mode : { CImageMergeDlg::AdjustedMerge, CImageMergeDlg::DirectMerge,
                 CImageMergeDlg::AlignedMerge }) {
        m_messages.Clear();
        dlg.SetModeIndex(mode);
        EXPECT_FALSE(dlg.OnFuse());
        ASSERT_EQ(m_messages.All().size(), 1u);
        EXPECT_EQ(m_messages.All()[0].text,
                QStringLiteral("b.bmp is 641 x 480, but a.bmp is 640 x 480: every image must "
                               "have the same size."));
        EXPECT_FALSE(dlg.Result().HasPixels());
    }
}

TEST_F(MergeFixture, MergeDialog_SaveDoesNothingBeforeAFusionThenSavesTheResult)
{
    CImageMergeDlg dlg(Hooks());
    dlg.OnSave();
    ASSERT_EQ(m_messages.All().size(), 1u);
    EXPECT_TRUE(m_messages.All()[0].text.contains(QStringLiteral("no merged picture")));
    EXPECT_TRUE(m_mainList.isEmpty());
    EXPECT_EQ(FilesIn(m_folder), 0);
    m_messages.Clear();

    const QString a = SavedPicture(QStringLiteral("a.bmp"), 96, 72, 5);
    m_chosen = { a, a };
    dlg.OnOpen();
    dlg.OnOpen();
    ASSERT_TRUE(FuseAndWait(dlg));
    ASSERT_TRUE(dlg.Result().HasPixels());
    EXPECT_EQ(dlg.Result().Width(), 96u);
    // Two identical pictures: the first one's colours everywhere.
    const CxImage& first = dlg.FusionImage(0);
    for (uint32_t y = 0; y < 72; ++y)
        ASSERT_EQ(std::memcmp(first.RowBits(y), dlg.Result().RowBits(y), 96 * 3), 0);

    m_bmp = false;
    dlg.OnSave();
    ASSERT_EQ(m_messages.All().size(), 1u);
    EXPECT_EQ(m_messages.All()[0].caption, QStringLiteral("Image saved successfully"));
    ASSERT_EQ(m_mainList.size(), 1);
    EXPECT_TRUE(m_mainList[0].endsWith(QStringLiteral(".jpg")));
    const QString path = m_folder + QLatin1Char('/') + m_mainList[0];
    EXPECT_EQ(m_messages.All()[0].text, QStringLiteral("File path: %1").arg(path));
    CxImage saved;
    EXPECT_TRUE(saved.LoadFile(path));
}

TEST_F(MergeFixture, MergeDialog_ResultDoubleClickShowsItStillOnTheBigView)
{
    CImageMergeDlg dlg(Hooks());
    const QString a = SavedPicture(QStringLiteral("a.bmp"), 80, 60, 9);
    m_chosen = { a, a };
    dlg.OnOpen();
    dlg.OnOpen();
    ASSERT_TRUE(FuseAndWait(dlg));
    dlg.OnResultDoubleClicked();
    EXPECT_TRUE(m_still);
    EXPECT_EQ(m_toggles, 1);
    EXPECT_EQ(m_frame.Width(), 80u);
    EXPECT_EQ(std::memcmp(m_frame.RowBits(0), dlg.Result().RowBits(0), 80 * 3), 0);
    EXPECT_TRUE(dlg.BigView()->Still());

    // "Start video" goes back to live.
    dlg.OnStartVideo();
    EXPECT_FALSE(m_still);
    EXPECT_FALSE(dlg.BigView()->Still());
}

TEST_F(MergeFixture, MergeDialog_AlignedMergeLinesUpAMovedPicture)
{
    // The second picture shows the first's content 6 pixels to the right; the sharpest of the
    // two aligned is the first one wherever both are alike.
    const QString a = SavedPicture(QStringLiteral("a.bmp"), 320, 240, 11);
    const QString b = m_dir.filePath(QStringLiteral("b.bmp"));
    ASSERT_TRUE(SavePicture(TexturePicture(320, 240, 11, 6), b));

    CImageMergeDlg dlg(Hooks());
    dlg.SetModeIndex(CImageMergeDlg::AlignedMerge);
    EXPECT_EQ(dlg.ModeIndex(), CImageMergeDlg::AlignedMerge);
    m_chosen = { a, b };
    dlg.OnOpen();
    dlg.OnOpen();
    ASSERT_TRUE(FuseAndWait(dlg));
    ASSERT_TRUE(dlg.Result().HasPixels());
    const CxImage& first = dlg.FusionImage(0);
    int64_t off = 0;
    for (uint32_t y = 0; y < 240; ++y)
        for (uint32_t i = 0; i < 320 * 3; ++i)
            off += std::abs(first.RowBits(y)[i] - dlg.Result().RowBits(y)[i]) > 8;
    EXPECT_LT(off, 320 * 240 * 3 / 100);
    EXPECT_TRUE(m_messages.All().empty());
}

TEST_F(MergeFixture, MergeDialog_SearchCentreCarriesOverBetweenRuns)
{
    const QString a = SavedPicture(QStringLiteral("a.bmp"), 320, 240, 11);
    const QString b = m_dir.filePath(QStringLiteral("b.bmp"));
    ASSERT_TRUE(SavePicture(TexturePicture(320, 240, 11, 6), b));

    CImageMergeDlg dlg(Hooks());
    dlg.SetModeIndex(CImageMergeDlg::AdjustedMerge);
    m_chosen = { a, b };
    dlg.OnOpen();
    dlg.OnOpen();
    ASSERT_TRUE(FuseAndWait(dlg));
    const CSearchCentre centre = dlg.SearchCentre();
    EXPECT_EQ(centre.cx, 6);
    EXPECT_EQ(centre.cy, 0);
    // The next run of the same dialog starts there and ends there again.
    ASSERT_TRUE(FuseAndWait(dlg));
    EXPECT_EQ(dlg.SearchCentre().cx, 6);
}

TEST_F(MergeFixture, MergeDialog_FusionRunsWhileTheDialogKeepsItsEventsAndCancelKeepsTheResult)
{
    const QString a = SavedPicture(QStringLiteral("a.bmp"), 640, 480, 3);
    CImageMergeDlg dlg(Hooks());
    dlg.SetModeIndex(CImageMergeDlg::AdjustedMerge);
    m_chosen = { a, a, a, a, a, a };
    for (int i = 0; i < 6; ++i)
        dlg.OnOpen();
    ASSERT_TRUE(FuseAndWait(dlg));
    const CxImage before = dlg.Result();

    QSignalSpy finished(&dlg, &CImageMergeDlg::fusionFinished);
    ASSERT_TRUE(dlg.OnFuse());
    EXPECT_FALSE(dlg.OnFuse()) << "one run at a time";
    dlg.CancelFusion();
    ASSERT_TRUE(finished.wait(30000));
    const int status = finished.at(0).at(0).toInt();
    EXPECT_TRUE(status == static_cast<int>(FusionStatus::Cancelled)
            || status == static_cast<int>(FusionStatus::Done));
    EXPECT_FALSE(dlg.Fusing());
    ASSERT_TRUE(dlg.Result().HasPixels());
    EXPECT_EQ(dlg.Result().Width(), before.Width());
}

TEST(FusionRunner_Cancel, CancelledRunKeepsNothingAndLeavesTheCentre)
{
    std::vector<CxImage> images;
    for (int i = 0; i < 4; ++i)
        images.push_back(TexturePicture(200, 150, 20 + i));
    std::vector<CImageView> views;
    for (const CxImage& image : images) {
        views.push_back({ static_cast<int>(image.Width()), static_cast<int>(image.Height()),
                image.Stride(), image.RowBits(0) });
    }

    CFusionRunner runner;
    std::atomic<int> steps { 0 };
    std::atomic<int> finished { -1 };
    ASSERT_TRUE(runner.Start(
            views, FusionMode::Adjusted, { 3, -2 },
            [&](const CFusionProgress&) {
                if (steps++ == 0)
                    runner.Cancel();
            },
            [&](FusionStatus status) { finished = static_cast<int>(status); }));
    runner.Wait();
    EXPECT_EQ(runner.Status(), FusionStatus::Cancelled);
    EXPECT_EQ(finished.load(), static_cast<int>(FusionStatus::Cancelled));
    EXPECT_TRUE(runner.TakeResult().bits.empty());
    EXPECT_EQ(runner.Centre().cx, 3);
    EXPECT_EQ(runner.Centre().cy, -2);

    ASSERT_TRUE(runner.Start(views, FusionMode::Direct, {}, {}, {}));
    runner.Wait();
    EXPECT_EQ(runner.Status(), FusionStatus::Done);
    EXPECT_EQ(runner.TakeResult().width, 200);
}

} // namespace

namespace {

// A camera that always holds one flat frame.
class FlatSource : public IFrameSource
{
public:
    int32_t GetCaptureSize(int& width, int& height) override
    {
        width = 64;
        height = 48;
        return 0;
    }
    int32_t CaptureToBuf(int32_t* byteCount, uint8_t* buffer) override
    {
        const int32_t size = 64 * 3 * 48;
        if (!buffer) {
            *byteCount = size;
            return 0;
        }
        if (*byteCount < size)
            return -1;
        for (int32_t i = 0; i < size; i += 3) {
            buffer[i] = 200; // blue
            buffer[i + 1] = 40;
            buffer[i + 2] = 10;
        }
        return 0;
    }
};

TEST_F(MergeFixture, MergeDialog_LiveViewShowsTheCameraThroughItsOwnPump)
{
    FlatSource source;
    CMergeHooks hooks = Hooks();
    hooks.frameSource = [&source]() -> IFrameSource* { return &source; };
    hooks.captureSize = [] { return QSize(64, 48); };
    CImageMergeDlg dlg(std::move(hooks));
    dlg.resize(800, 600);
    dlg.LayOut();
    dlg.ApplyZoom(1);
    ASSERT_EQ(dlg.BigView()->size(), QSize(64, 48));
    EXPECT_FALSE(dlg.BigView()->Still());

    QColor seen;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        seen = dlg.BigView()->grab().toImage().pixelColor(32, 24);
        if (seen == QColor(10, 40, 200))
            break;
    }
    EXPECT_EQ(seen, QColor(10, 40, 200));
}

TEST(MergeIcons, EveryToolbarIconDraws)
{
    for (const char* name : { "merge-video", "merge-capture", "merge-open", "merge-fuse",
                 "merge-save", "merge-close", "merge-focus-capture" }) {
        const QIcon icon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
        const QImage image = icon.pixmap(48, 48).toImage();
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_GT(image.pixelColor(24, 24).alpha() + image.pixelColor(12, 24).alpha(), 0) << name;
    }
}

} // namespace

TEST_F(MergeFixture, MergeDialog_AdjustedMergeOfAStillPatternSuggestsAlignedMerge)
{
    const QString bars = m_dir.filePath(QStringLiteral("bars.bmp"));
    ASSERT_TRUE(SavePicture(ColourBars(640, 480), bars));
    CImageMergeDlg dlg(Hooks());
    m_chosenAtOnce = { bars, bars };
    dlg.OnOpen();
    dlg.SetModeIndex(CImageMergeDlg::DirectMerge);
    ASSERT_TRUE(FuseAndWait(dlg));
    EXPECT_TRUE(m_messages.All().empty());

    dlg.SetModeIndex(CImageMergeDlg::AdjustedMerge);
    ASSERT_TRUE(FuseAndWait(dlg));
    EXPECT_TRUE(dlg.Result().HasPixels()) << "the result is still shown";
    ASSERT_EQ(m_messages.All().size(), 1u);
    EXPECT_EQ(m_messages.All()[0].caption, QStringLiteral("Unlikely alignment"));
    EXPECT_TRUE(m_messages.All()[0].text.contains(QStringLiteral("Aligned Merge")))
            << m_messages.All()[0].text.toStdString();
}

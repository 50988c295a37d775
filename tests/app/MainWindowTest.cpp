#include "app/MainLayout.h"
#include "app/PanelButton.h"
#include "app/SidePanel.h"
#include "app/TavoMeasureDlg.h"
#include "MainWindowFixture.h"
#include "calibration/CalibrationDlg.h"
#include "capture/CaptureStatus.h"
#include "capture/TavoGraphDll.h"
#include "image/xImage.h"
#include "merge/ImageMergeDlg.h"
#include "measure/MeasureCanvas.h"
#include "app/PictureCalibration.h"
#include "measure/ShapeManager.h"
#include "video/FramePump.h"
#include "video/WhiteBalanceDlg.h"
#include "RecordingMessages.h"
#include "ToolDrivers.h"

#include <QApplication>
#include <QCheckBox>
#include <QSlider>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QToolBar>
#include <QToolButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

TEST(MainLayout_Compute, PanelAndStripShown)
{
    const CMainLayout l = CMainLayout::Compute(1280, 800, true, true, 40);
    EXPECT_EQ(l.panelHost, QRect(13, 13, 252, 761));
    EXPECT_EQ(l.thumbHost, QRect(278, 642, 989, 145));
    EXPECT_EQ(l.videoHost, QRect(278, 13, 989, 616));
    EXPECT_EQ(l.hidePanelButton, QPoint(263, 0));
    EXPECT_EQ(l.hideStripButton, QPoint(263, 760));
}

TEST(MainLayout_Compute, BothHiddenFillsWithMargins)
{
    const CMainLayout l = CMainLayout::Compute(1280, 800, false, false, 40);
    EXPECT_EQ(l.videoHost, QRect(13, 13, 1254, 774));
    EXPECT_EQ(l.showPanelButton, QPoint(0, 0));
    EXPECT_EQ(l.showStripButton, QPoint(0, 760));
}

TEST(DisplaySize_Compute, FitKeepsAspect)
{
    const CDisplaySize heightLimited = CDisplaySize::Compute(0, { 1000, 600 }, { 640, 480 });
    EXPECT_EQ(QSize(heightLimited.width, heightLimited.height), QSize(800, 600));
    EXPECT_FLOAT_EQ(heightLimited.zoom, 1.25f);
    const CDisplaySize widthLimited = CDisplaySize::Compute(0, { 1000, 900 }, { 640, 480 });
    EXPECT_EQ(QSize(widthLimited.width, widthLimited.height), QSize(1000, 750));
    EXPECT_FLOAT_EQ(widthLimited.zoom, 1.5625f);
}

TEST(DisplaySize_Compute, IntegerScales)
{
    for (int scale = 1; scale <= 3; ++scale) {
        const CDisplaySize d = CDisplaySize::Compute(scale, { 100, 100 }, { 640, 480 });
        EXPECT_EQ(QSize(d.width, d.height), QSize(640 * scale, 480 * scale));
        EXPECT_FLOAT_EQ(d.zoom, static_cast<float>(scale));
    }
    EXPECT_EQ(CDisplaySize::Compute(0, { 100, 100 }, { 0, 0 }).width, 0) << "no source, no size";
}

namespace {

class MainWindow : public CMainWindowFixture
{
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(Open({})); }
    QToolButton* Button(const char* name) const
    {
        return m_window->findChild<QToolButton*>(QLatin1String(name));
    }
    CSidePanel& Panel() const { return *m_window->SidePanel(); }
};

} // namespace

TEST_F(MainWindow, TogglesMoveTheAreas)
{
    EXPECT_EQ(m_window->VideoHost()->geometry().x(), 278);
    EXPECT_TRUE(Button("hidePanelButton")->isVisible());
    EXPECT_FALSE(Button("showPanelButton")->isVisible());

    QTest::mouseClick(Button("hidePanelButton"), Qt::LeftButton);
    QTest::mouseClick(Button("hideStripButton"), Qt::LeftButton);
    EXPECT_FALSE(m_window->PanelHost()->isVisible());
    EXPECT_FALSE(m_window->ThumbHost()->isVisible());
    EXPECT_EQ(m_window->VideoHost()->geometry(), QRect(13, 13, 1254, 774));
    EXPECT_EQ(Button("showPanelButton")->pos(), QPoint(0, 0));
    EXPECT_EQ(Button("showStripButton")->pos().x(), 0);
    EXPECT_EQ(Button("showStripButton")->geometry().bottom(), 799);

    QTest::mouseClick(Button("showPanelButton"), Qt::LeftButton);
    QTest::mouseClick(Button("showStripButton"), Qt::LeftButton);
    EXPECT_TRUE(m_window->General().m_bHasLeft);
    EXPECT_TRUE(m_window->General().m_bHasBottom);
    EXPECT_EQ(m_window->ThumbHost()->geometry(), QRect(278, 642, 989, 145));
}

TEST_F(MainWindow, ReturnAndEscapeDoNotClose)
{
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(MainWindow, FitScaleFollowsTheVideoHost)
{
    m_window->General().m_nDisp = 0;
    m_window->SizeCanvas();
    const QSize host = m_window->VideoHost()->size();
    const QSize display = m_window->DisplaySize();
    EXPECT_TRUE(display.width() == host.width() || display.height() == host.height());
    EXPECT_NEAR(static_cast<double>(display.width()) / display.height(), 640.0 / 480.0, 0.01);
}

TEST_F(MainWindow, ResultsListReachesTheBottomOfThePanelHost)
{
    EXPECT_EQ(Panel().ResultsList()->geometry(),
            QRect(0, CSidePanel::kResultsTop, 249,
                    m_window->height() - 39 - CSidePanel::kResultsTop));
    m_window->resize(1280, 900);
    EXPECT_EQ(Panel().ResultsList()->height(), 900 - 39 - CSidePanel::kResultsTop);
}

namespace {

// The main window's state as a listener of liveStateChanged finds it.
struct SwitchSeen
{
    bool live;
    StillEntry how;
    bool still;
    bool canvasStill;
    uint32_t frameWidth; // the current frame image
    bool graphBuilt;
    bool currentFileEmpty;
};

void PrintTo(const SwitchSeen& s, std::ostream* os)
{
    *os << (s.live ? "live" : "still") << " by "
        << (s.how == StillEntry::VideoButton ? "button" : "picture") << ": still=" << s.still
        << " canvasStill=" << s.canvasStill << " frameWidth=" << s.frameWidth
        << " graphBuilt=" << s.graphBuilt << " currentFileEmpty=" << s.currentFileEmpty;
}

class LiveAndStill : public MainWindow
{
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        ASSERT_TRUE(WaitForFrames(2)) << "no frame from the Test Pattern camera";
        QObject::connect(m_window.get(), &CTavoMeasureDlg::liveStateChanged,
                [this](bool live, StillEntry how) {
                    int32_t bytes = 0;
                    m_seen.push_back({ live, how, m_window->StillMode(),
                            m_window->Canvas()->StillMode(), m_window->CurrentFrame().Width(),
                            m_window->Graph().CaptureToBuf(&bytes, nullptr) != TavoStatus::Pointer,
                            m_window->CurrentFile().isEmpty() });
                });
    }

    // Answers the modal dialog that opens next, from inside its event loop.
    void OnModal(std::function<void(QWidget*)> handler)
    {
        auto* timer = new QTimer(m_window.get());
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [timer, handler = std::move(handler)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            timer->stop();
            timer->deleteLater();
            handler(modal);
        });
        timer->start();
    }

    std::vector<SwitchSeen> m_seen;
};

using testing::ElementsAre;
using testing::FieldsAre;

} // namespace

TEST_F(LiveAndStill, VideoButtonKeepsTheLastFrameThenTearsTheGraphDown)
{
    Panel().ButtonAt(CSidePanel::Line)->click();
    Panel().ButtonAt(CSidePanel::Video)->click();
    // A frame can only be taken while the graph exists: the picture came first.
    EXPECT_THAT(m_seen,
            ElementsAre(FieldsAre(false, StillEntry::VideoButton, true, true, 640u, false, true)));
    EXPECT_EQ(m_window->CurrentFrame().Height(), 480u);
    EXPECT_EQ(m_window->Canvas()->ToolMode(), SelectMode) << "the switch cancels the tool";
    EXPECT_FALSE(Panel().ButtonAt(CSidePanel::Line)->IsActive());
    EXPECT_EQ(Panel().ButtonAt(CSidePanel::Video)->text(), QStringLiteral("Still"));

    m_seen.clear();
    m_window->SetCurrentFile(QStringLiteral("picture.bmp"));
    Panel().ButtonAt(CSidePanel::Video)->click();
    EXPECT_THAT(m_seen,
            ElementsAre(FieldsAre(true, StillEntry::VideoButton, false, false, 640u, true, true)));
    EXPECT_EQ(m_window->Canvas()->size(), m_window->DisplaySize());
    EXPECT_TRUE(FramesFlow()) << "the pump serves live video again";
    EXPECT_TRUE(Panel().ResolutionCombo()->isEnabled());
    EXPECT_TRUE(Panel().ValLabel()->isEnabled());
}

TEST_F(LiveAndStill, OpeningAPictureWhileLiveTakesNoFrame)
{
    CxImage picture;
    ASSERT_TRUE(picture.Create(320, 240, 24, CXIMAGE_FORMAT_BMP));
    const QString file = m_dir.filePath(QStringLiteral("picture.bmp"));
    ASSERT_TRUE(picture.SaveFile(file, CXIMAGE_FORMAT_BMP));
    Panel().ButtonAt(CSidePanel::Circle)->click();

    ASSERT_TRUE(m_window->OpenStillPicture(file));
    EXPECT_THAT(m_seen,
            ElementsAre(FieldsAre(false, StillEntry::OpeningPicture, true, true, 0u, false, true)));
    EXPECT_EQ(m_window->CurrentFrame().Width(), 320u);
    EXPECT_EQ(m_window->CurrentFile(), file);
    EXPECT_EQ(m_window->Canvas()->ToolMode(), SelectMode);
    EXPECT_FALSE(Panel().ResolutionCombo()->isEnabled());
    EXPECT_TRUE(Panel().ButtonAt(CSidePanel::AHE)->isEnabled());
    EXPECT_TRUE(Panel().ValLabel()->isEnabled());

    m_seen.clear();
    ASSERT_TRUE(m_window->OpenStillPicture(file));
    EXPECT_TRUE(m_seen.empty()) << "already still: no second switch";
}

TEST_F(LiveAndStill, MergeGivesBackTheDisplayValues)
{
    m_window->ApplyDisplayScale(2);
    m_window->Canvas()->SetScrollOrigin(QPoint(-40, -30));
    const QSize display = m_window->DisplaySize();
    Panel().ButtonAt(CSidePanel::Line)->click();
    bool dialogOpened = false;
    OnModal([&](QWidget* modal) {
        dialogOpened = qobject_cast<CImageMergeDlg*>(modal) != nullptr;
        // What the dialog's zoom choice does.
        m_window->General().m_nDisp = 0;
        m_window->Canvas()->SetScrollOrigin(QPoint());
        static_cast<QDialog*>(modal)->reject();
    });
    Panel().ButtonAt(CSidePanel::Merge)->click();

    EXPECT_TRUE(dialogOpened);
    EXPECT_EQ(m_window->General().m_nDisp, 2);
    EXPECT_EQ(m_window->Canvas()->ScrollOrigin(), QPoint(-40, -30));
    EXPECT_EQ(m_window->DisplaySize(), display);
    EXPECT_EQ(m_window->Canvas()->ToolMode(), LineTool) << "Merge keeps the tool";
    EXPECT_TRUE(m_seen.empty());
    EXPECT_TRUE(FramesFlow()) << "the pump resumes";
}

// The dialog edits the settings in place: each change reaches the live view while it is open,
// though no frame paints the canvas to carry it.
TEST_F(LiveAndStill, WhiteBalanceChangesReachTheLiveViewWhileTheDialogIsOpen)
{
    CFrameFilterSettings seen;
    OnModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<CWhiteBalanceDlg*>(modal);
        ASSERT_TRUE(dialog);
        dialog->EnableCheck()->click();
        dialog->RedSlider()->setValue(CWhiteBalanceDlg::kMiddle + 9);
        seen = m_window->Pump()->State().filters;
        dialog->reject();
    });
    Panel().ButtonAt(CSidePanel::WB)->click();
    EXPECT_TRUE(seen.whiteBalance);
    EXPECT_EQ(seen.redGain, 9);
}

TEST_F(LiveAndStill, MergeUndoesASwitchMadeInTheDialog)
{
    OnModal([&](QWidget* modal) {
        // The dialog's own "Video" command.
        m_window->SwitchToStill(StillEntry::VideoButton);
        static_cast<QDialog*>(modal)->reject();
    });
    Panel().ButtonAt(CSidePanel::Merge)->click();

    EXPECT_THAT(m_seen,
            ElementsAre(FieldsAre(false, StillEntry::VideoButton, true, true, 640u, false, true),
                    FieldsAre(true, StillEntry::VideoButton, false, false, 0u, true, true)))
            << "the frame from before the dialog is back";
    EXPECT_FALSE(m_window->StillMode());
    EXPECT_EQ(Panel().ButtonAt(CSidePanel::Video)->text(), QStringLiteral("Video"));
    EXPECT_TRUE(FramesFlow());
}

// A TIFF saved calibrated (by ImageJ or by us) opens measured in its own scale, says so, and
// leaves the slots alone; going live again measures in the slot in use. A picture larger than
// the view opens at "Fit In".
TEST_F(LiveAndStill, CalibratedPictureMeasuresInItsOwnScaleAndBigPicturesFit)
{
    CxImage picture;
    ASSERT_TRUE(picture.Create(4000, 3000, 24, CXIMAGE_FORMAT_BMP));
    CPictureScale scale;
    scale.unit = QStringLiteral("mm");
    scale.xPerPixel = scale.yPerPixel = 0.5;
    picture.SetPictureScale(scale);
    const QString file = m_dir.filePath(QStringLiteral("calibrated.tif"));
    ASSERT_TRUE(picture.SaveFile(file, CXIMAGE_FORMAT_TIF));
    m_window->ApplyDisplayScale(1);

    ASSERT_TRUE(m_window->OpenStillPicture(file));
    EXPECT_EQ(m_window->General().m_nDisp, 0) << "the whole picture is seen first";
    EXPECT_EQ(Panel().ScaleCombo()->currentIndex(), 0);
    EXPECT_EQ(Panel().CalibrationStatus()->toolTip(), "Scale from file: 0.5 mm/pixel");
    EXPECT_FALSE(Panel().StoreCalibrationButton()->isHidden());

    // At X 1 a 100-pixel line measures 50 mm.
    m_window->ApplyDisplayScale(1);
    CShapeManager& manager = m_window->Canvas()->Manager();
    UseTool(manager, LineTool);
    manager.OnLButtonDown(10, 10);
    manager.OnMouseMove(110, 10);
    manager.OnLButtonUp(110, 10);
    const std::vector<CResultRow> rows = manager.ResultRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].unit, "mm");
    EXPECT_DOUBLE_EQ(manager.GetCalibration().xPerPixel, 0.5);
    EXPECT_TRUE(rows[0].result.startsWith("50")) << rows[0].result.toStdString();

    Panel().ButtonAt(CSidePanel::Video)->click();
    EXPECT_FALSE(m_window->PictureCalibration().FromFile());
    EXPECT_TRUE(Panel().CalibrationStatus()->toolTip().startsWith("Scale of calibration 0"));
    EXPECT_TRUE(Panel().StoreCalibrationButton()->isHidden());
}

// A picture without a scale of its own, at twice the camera's size, is measured in the slot in
// use converted to its size; live again, the slot measures as it was made.
TEST_F(LiveAndStill, PictureOfAnotherSizeMeasuresInTheConvertedSlot)
{
    const QSize camera = m_window->CaptureSize();
    ASSERT_FALSE(camera.isEmpty());
    CCalibrationSlot slot;
    slot.unit = 0;
    slot.xLength = slot.yLength = 400.0;
    slot.left = slot.top = 100;
    slot.right = slot.bottom = 300;
    slot.ApplyScaleRule();
    m_window->CalibrationDlg()->hide();
    m_window->Calibration().SetCurSlot(slot);
    m_window->PictureCalibration().UseSlot(m_window->Calibration().GetCurSlot());
    ASSERT_EQ(m_window->Calibration().MadeAt(0), camera);
    CShapeManager& manager = m_window->Canvas()->Manager();
    manager.ResetHistory();

    CxImage picture;
    ASSERT_TRUE(picture.Create(
            uint32_t(camera.width() * 2), uint32_t(camera.height() * 2), 24, CXIMAGE_FORMAT_BMP));
    const QString file = m_dir.filePath(QStringLiteral("big.bmp"));
    ASSERT_TRUE(picture.SaveFile(file, CXIMAGE_FORMAT_BMP));
    ASSERT_TRUE(m_window->OpenStillPicture(file));
    EXPECT_DOUBLE_EQ(manager.GetCalibration().xPerPixel, 1.0);
    EXPECT_EQ(Panel().CalibrationStatus()->toolTip(),
            QStringLiteral("Scale of calibration 0: 1 um/pixel, scaled from %1 X %2")
                    .arg(camera.width())
                    .arg(camera.height()));
    EXPECT_FALSE(manager.CanUndo()) << "a new size is no step of the drawing";

    Panel().ButtonAt(CSidePanel::Video)->click();
    EXPECT_DOUBLE_EQ(manager.GetCalibration().xPerPixel, 2.0);
    EXPECT_EQ(Panel().CalibrationStatus()->toolTip(), "Scale of calibration 0: 2 um/pixel");
    EXPECT_EQ(m_window->Calibration().StoredSlot(0), slot);
}

TEST(MergeDialogText, ModesAndMessagesInChinese)
{
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(":/i18n/merge_zh_CN.qm")));
    QCoreApplication::installTranslator(&translator);
    CRecordingMessages recorder;
    CMergeHooks hooks;
    CImageMergeDlg dlg(hooks);
    QStringList modes;
    for (QComboBox* combo : dlg.ToolBar()->findChildren<QComboBox*>())
        if (combo->count() == 3)
            for (int i = 0; i < 3; ++i)
                modes << combo->itemText(i);
    dlg.OnFuse();
    dlg.OnSave();
    const QString saved = QCoreApplication::translate("CImageMergeDlg", "File path: %1");
    QCoreApplication::removeTranslator(&translator);
    EXPECT_EQ(modes, QStringList({ "调整合成", "直接合成", "对齐合成" }));
    const QStringList messages = recorder.Texts();
    EXPECT_EQ(messages.value(0), QStringLiteral("至少需要 2 张图像才能融合。"));
    EXPECT_EQ(messages.value(1), QStringLiteral("还没有可保存的合成图像：请先融合图像。"));
    EXPECT_EQ(saved, QStringLiteral("文件路径：%1"));
}

// A window made while no service is installed shows its messages as boxes over itself, for its
// lifetime; one made under a recorder leaves the recorder in force.
TEST(MainWindowMessages, TheWindowShowsBoxesOnlyWhenNothingElseListens)
{
    QTemporaryDir dir;
    ASSERT_FALSE(UserMessagesInstalled());
    {
        CTavoMeasureDlg window(dir.filePath(QStringLiteral("Setting.ini")));
        EXPECT_TRUE(UserMessagesInstalled());
        UserMessages().Inform({ .text = QStringLiteral("note"), .name = QStringLiteral("note") });
        auto* box = window.findChild<QMessageBox*>(QStringLiteral("note"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), window.windowTitle());
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        box->close();
    }
    EXPECT_FALSE(UserMessagesInstalled());

    CRecordingMessages recorder;
    CTavoMeasureDlg window(dir.filePath(QStringLiteral("Setting.ini")));
    UserMessages().Inform({ .text = QStringLiteral("recorded") });
    EXPECT_EQ(recorder.Texts(), QStringList { QStringLiteral("recorded") });
    EXPECT_TRUE(window.findChildren<QMessageBox*>().isEmpty());
}

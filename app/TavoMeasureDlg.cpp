#include "app/TavoMeasureDlg.h"

#include "base/IniFile.h"
#include "base/ToolModes.h"
#include "app/CommandTable.h"
#include "app/EdgeFinders.h"
#include "count/CountCommand.h"
#include "app/MainLayout.h"
#include "app/PictureCalibration.h"
#include "app/ColorSettingDlg.h"
#include "app/LiveAidsController.h"
#include "app/LiveController.h"
#include "app/MessageBoxes.h"
#include "app/PanelButton.h"
#include "app/PictureController.h"
#include "app/SaveSettingDlg.h"
#include "app/ReportCommand.h"
#include "app/RulerCommand.h"
#include "app/SidePanel.h"
#include "app/SnapshotSaver.h"
#include "app/WheelGuard.h"
#include "app/WindowCommands.h"
#include "base/Trace.h"
#include "calibration/CalibrationDlg.h"
#include "calibration/CalibrationStatus.h"
#include "capture/TavoGraphDll.h"
#include "image/ImagePainter.h"
#include "image/ImageListWnd.h"
#include "image/ThumbViewDlg.h"
#include "merge/ImageMergeDlg.h"
#include "measure/CrossLineDlg.h"
#include "measure/DrawingHistory.h"
#include "measure/ManagerCrossLineHost.h"
#include "measure/MeasureCanvas.h"
#include "measure/PictureRescale.h"
#include "measure/ResultListCtrl.h"
#include "measure/ShapeManager.h"
#include "tools/ImageCompareDlg.h"
#include "count/CountDlg.h"
#include "tools/InputDlg.h"
#include "tools/ManagerTextsHost.h"
#include "tools/TextsManagerDlg.h"
#include "video/FramePump.h"
#include "video/GraphFrameSource.h"
#include "video/CameraSession.h"
#include "video/LiveAids.h"
#include "video/RecordingFeed.h"
#include "video/DeviceSettingDlg.h"
#include "video/WhiteBalanceDlg.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>
#include <iostream>

namespace {
const QColor kDialogBackground(243, 247, 246);
const QColor kStaticBackground(218, 218, 218);
constexpr QSize kToggleButtonSize(14, 40);

QFrame* MakeHost(QWidget* parent, const QString& objectName)
{
    auto* host = new QFrame(parent);
    host->setObjectName(objectName);
    host->setAutoFillBackground(true);
    QPalette palette = host->palette();
    palette.setColor(QPalette::Window, kStaticBackground);
    host->setPalette(palette);
    return host;
}
} // namespace

CTavoMeasureDlg::CTavoMeasureDlg(const QString& settingsPath, QWidget* parent)
    : QWidget(parent), m_settingsPath(settingsPath), m_graph(std::make_unique<CTavoGraphDll>()),
      m_camera(std::make_unique<CCameraSession>(*m_graph))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Kalvex Light"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kalvex.svg")));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kDialogBackground);
    setPalette(palette);
    setMinimumSize(640, 400);

    m_videoHost = MakeHost(this, QStringLiteral("videoHost"));
    m_panelHost = MakeHost(this, QStringLiteral("panelHost"));
    m_thumbHost = MakeHost(this, QStringLiteral("thumbHost"));
    m_btnHidePanel = MakeToggleButton(QStringLiteral("hidePanelButton"),
            QStringLiteral(":/icons/panel-hide.svg"), tr("Hide the side panel"));
    m_btnShowPanel = MakeToggleButton(QStringLiteral("showPanelButton"),
            QStringLiteral(":/icons/panel-show.svg"), tr("Show the side panel"));
    m_btnShowStrip = MakeToggleButton(QStringLiteral("showStripButton"),
            QStringLiteral(":/icons/strip-show.svg"), tr("Show the thumbnails"));
    m_btnHideStrip = MakeToggleButton(QStringLiteral("hideStripButton"),
            QStringLiteral(":/icons/strip-hide.svg"), tr("Hide the thumbnails"));
    connect(m_btnHidePanel, &QToolButton::clicked, this, &CTavoMeasureDlg::OnHidePanel);
    connect(m_btnShowPanel, &QToolButton::clicked, this, &CTavoMeasureDlg::OnShowPanel);
    connect(m_btnShowStrip, &QToolButton::clicked, this, &CTavoMeasureDlg::OnShowStrip);
    connect(m_btnHideStrip, &QToolButton::clicked, this, &CTavoMeasureDlg::OnHideStrip);

    // The canvas reads the cross lines before the window's own settings are read.
    m_canvas = new CMeasureCanvas(m_settingsPath, m_videoHost);
    m_canvas->setObjectName(QStringLiteral("measureCanvas"));
    m_canvas->hide();
    LoadSettings();
    if (!UserMessagesInstalled())
        m_messageBoxes = std::make_unique<CMessageBoxes>(this);
    CPictureController::CContext picture {
        .general = m_general,
        .calibration = m_calibration,
        .graph = *m_graph,
        .canvas = *m_canvas,
        .videoHost = *m_videoHost,
        .still = [this] { return StillMode(); },
        .enterStill = [this] { m_live->StillForPicture(); },
    };
    m_picture = std::make_unique<CPictureController>(std::move(picture));
}

CTavoMeasureDlg::~CTavoMeasureDlg()
{
    QString error;
    if (!SaveSettings(error))
        ReportSettingsFailure(error);
}

QToolButton* CTavoMeasureDlg::MakeToggleButton(
        const QString& objectName, const QString& icon, const QString& toolTip)
{
    auto* button = new QToolButton(this);
    button->setObjectName(objectName);
    button->setIcon(QIcon(icon));
    button->setIconSize(kToggleButtonSize);
    button->setFixedSize(kToggleButtonSize);
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

void CTavoMeasureDlg::LoadSettings()
{
    const CIniFile ini(m_settingsPath);
    m_general.Load(ini, CGeneralSettings::DefaultDocumentsFolder());
    m_nBinarizeThreshold = m_general.m_nBinThreshold;
    m_colorSetting.Load(ini);
    m_calibration.Load(ini);
    m_camera->Load(ini);
    m_settingsProblem = ini.CanSave() ? QString() : ini.LastError();
}

void CTavoMeasureDlg::TellSettingsProblem()
{
    if (m_settingsProblem.isEmpty())
        return;
    // Said at the start, when the user can still fix it, not first at the exit.
    UserMessages().Inform(
            { .text = tr("The settings cannot be saved to\n%1\n\n%2\n\nChanges "
                         "made now are lost when Kalvex closes.")
                              .arg(QDir::toNativeSeparators(m_settingsPath), m_settingsProblem),
                    .name = QStringLiteral("settingsProblemMessage"),
                    .warning = true });
}

bool CTavoMeasureDlg::SaveSettings(QString& error)
{
    CIniFile ini(m_settingsPath);
    m_general.m_nBinThreshold = m_nBinarizeThreshold;
    m_general.Save(ini);
    m_colorSetting.Save(ini);
    m_calibration.Save(ini);
    m_camera->Save(ini);
    // One write for everything: a failed write leaves the old file, and no second writer
    // comes after it.
    m_canvas->HandOverCrossLines(ini);
    if (ini.Save())
        return true;
    error = ini.LastError();
    return false;
}

void CTavoMeasureDlg::ReportSettingsFailure(const QString& error) const
{
    const QString text = tr("The settings could not be written to\n%1\n\n%2")
                                 .arg(QDir::toNativeSeparators(m_settingsPath), error);
    qCWarning(lcTrace) << "settings not written:" << m_settingsPath << error;
    if (m_settingsFailureSink)
        m_settingsFailureSink(text);
    else if (m_closedByUser && !m_closedBySignal)
        QMessageBox::warning(nullptr, windowTitle(), text);
    else
        std::cerr << "kalvex: " << text.toLocal8Bit().constData() << std::endl;
}

void CTavoMeasureDlg::CloseOnSignal()
{
    m_closedBySignal = true;
    close();
}

void CTavoMeasureDlg::Initialise(bool showWindow)
{
    m_canvas->Create(m_colorSetting, m_calibration.GetCurSlot());
    m_canvas->SetTextInputHook([this] { return CInputDlg::Ask(m_canvas); });
    m_canvas->setGeometry(QRect(QPoint(), m_picture->DisplaySize()));
    m_canvas->show();
    CLiveController::CContext live {
        .graph = *m_graph,
        .camera = *m_camera,
        .general = m_general,
        .canvas = *m_canvas,
        .videoHost = *m_videoHost,
        .picture = *m_picture,
        .filters = [this] { return FilterSettings(); },
        .cancelTool = [this] { CancelTool(); },
    };
    m_live = std::make_unique<CLiveController>(std::move(live));
    connect(m_live.get(), &CLiveController::liveStateChanged, this,
            &CTavoMeasureDlg::liveStateChanged);
    m_live->OpenCamera();
    RecalLayOut();
    if (showWindow) {
        // The size un-maximising returns to: most of the screen, placed by its frame's corner
        // so the title bar stays on the screen. Without a window manager nobody maximises
        // us, and this is the size the window keeps.
        if (const QScreen* screen = this->screen()) {
            const QRect available = screen->availableGeometry();
            resize(available.size() * 0.9);
            move(available.topLeft() + QPoint(available.width() / 20, available.height() / 20));
        }
        showMaximized();
    }
    SizeCanvas();

    // A window shorter than the panel scrolls it, so every control stays reachable.
    auto* panelScroll = new QScrollArea(m_panelHost);
    panelScroll->setObjectName(QStringLiteral("panelScroll"));
    panelScroll->setFrameShape(QFrame::NoFrame);
    panelScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panelScroll->setWidgetResizable(true);
    m_commands = new CCommandTable(this);
    m_sidePanel = new CSidePanel(*this, *m_commands);
    panelScroll->setWidget(m_sidePanel);
    CWheelGuard::Guard(m_sidePanel);
    auto* panelLayout = new QVBoxLayout(m_panelHost);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(panelScroll);
    m_sidePanel->show();
    connect(this, &CTavoMeasureDlg::liveStateChanged, m_sidePanel, &CSidePanel::OnLiveStateChanged);
    connect(m_picture.get(), &CPictureController::calibrationStatusChanged, m_sidePanel,
            &CSidePanel::SetCalibrationStatus);
    connect(m_picture.get(), &CPictureController::displayScaleChosen, m_sidePanel,
            &CSidePanel::ShowDisplayScale);
    m_picture->StartFollowingSize();
    CreateCalibrationDialog();
    CreateResultList();
    WirePanel();
    m_sidePanel->Initialise();
    m_picture->FollowPictureSize();
    ShowCalibrationStatus();

    m_thumbnails = new CImageListWnd(m_thumbHost);
    m_thumbnails->setObjectName(QStringLiteral("thumbnailList"));
    m_thumbnails->SetSingleRow(true);
    m_thumbnails->SetFolder(m_general.m_strImagePath);
    m_thumbnails->setGeometry(m_thumbHost->rect());
    m_thumbnails->show();
    WireThumbnails();
    CreateSnapshotSaver();
    WireShortcuts();
    WireEdgeSnapping();
    m_live->WatchCamera();
    connect(m_live.get(), &CLiveController::snapshotPressed, this,
            [this] { m_sidePanel->ButtonAt(CSidePanel::Save)->click(); });
    connect(m_live.get(), &CLiveController::cameraChanged, m_sidePanel,
            &CSidePanel::FillResolutionCombo);
    m_sidePanel->Hooks().chooseVideoFormat = [this](const QString& key) {
        m_live->ChooseVideoFormat(key);
    };
    CLiveAidsController::CContext aids {
        .graph = *m_graph,
        .general = m_general,
        .pump = m_live->Pump(),
        .canvas = *m_canvas,
        .videoHost = *m_videoHost,
        .saver = *m_saver,
        .commands = *m_commands,
        .still = [this] { return StillMode(); },
        .setLiveStack = [this](bool on) { m_live->SetLiveStack(on); },
        .liveStack = [this] { return m_live->LiveStack(); },
    };
    m_liveAids = std::make_unique<CLiveAidsController>(std::move(aids));
    connect(this, &CTavoMeasureDlg::liveStateChanged, m_liveAids.get(),
            [this](bool live, StillEntry) { m_liveAids->OnLiveStateChanged(live); });
    RecalLayOut();
    TellSettingsProblem();
}

void CTavoMeasureDlg::FiltersChanged()
{
    if (m_live)
        m_live->PushPumpState();
}

CFrameFilterSettings CTavoMeasureDlg::FilterSettings() const
{
    CFrameFilterSettings filters;
    filters.whiteBalance = m_general.m_bEnableWB;
    filters.redGain = m_general.m_nWBRed;
    filters.blueGain = m_general.m_nWBBlue;
    filters.equalize = m_bEqualize;
    filters.binarize = m_bBinarize;
    filters.threshold = m_nBinarizeThreshold;
    return filters;
}

void CTavoMeasureDlg::ShowCalibrationStatus()
{
    m_picture->ShowCalibrationStatus();
}

void CTavoMeasureDlg::CreateCalibrationDialog()
{
    CCalibrationDlg::CHooks hooks;
    CShapeManager& manager = m_canvas->Manager();
    hooks.applyCalibration = [this](const CCalibrationSlot& slot) {
        m_picture->Calibration().UseSlot(slot);
    };
    hooks.enableCalibrationMode = [&manager](bool on) { manager.EnableCalibrationRuler(on); };
    hooks.referenceLength = [&manager](double& pixels, QPoint& centre, int& kind) {
        return manager.ReferenceLength(pixels, centre, kind);
    };
    hooks.referenceLine = [&manager](QLineF& ends) {
        double pixels = 0.0;
        QPoint centre;
        int kind = 0;
        QLine line;
        const bool ok = manager.ReferenceLength(pixels, centre, kind, &line) && kind == KindLine;
        ends = QLineF(line);
        return ok;
    };
    hooks.readRuler = [](const CCalibrationDlg::CFrame& frame, const QLineF* along) {
        return CRulerCommand::ReadFrame(frame.bits, frame.width, frame.height, along);
    };
    hooks.repaintCanvas = [this] { m_canvas->update(); };
    hooks.cancelTool = [this] { CancelTool(); };
    hooks.captureFrame = [this](CCalibrationDlg::CFrame& frame) {
        if (!StillMode() && !CaptureToFrame())
            return false;
        const CxImage& image = m_picture->Frame();
        if (!image.HasPixels() || image.Bpp() != 24)
            return false;
        frame.width = static_cast<int>(image.Width());
        frame.height = static_cast<int>(image.Height());
        frame.bits.assign(image.Dib() + image.Header().biSize + image.NumColors() * 4,
                image.Dib() + image.DibSize());
        return true;
    };
    m_calibrationDlg = new CCalibrationDlg(m_calibration, std::move(hooks), this);
    m_calibrationDlg->hide();
    connect(m_canvas, &CMeasureCanvas::calibrationMoved, m_calibrationDlg,
            &CCalibrationDlg::OnCalibrationMoved);
    connect(m_calibrationDlg, &CCalibrationDlg::slotRenamed, this,
            &CTavoMeasureDlg::ShowCalibrationStatus);
    connect(m_picture.get(), &CPictureController::slotStored, m_calibrationDlg,
            &CCalibrationDlg::RedisplaySlot);
    connect(m_picture.get(), &CPictureController::slotsRescaled, m_calibrationDlg, [this] {
        if (m_calibrationDlg->isVisible())
            m_calibrationDlg->RedisplaySlot();
    });
}

void CTavoMeasureDlg::CreateResultList()
{
    m_resultList = new CResultListCtrl(m_sidePanel);
    m_resultList->setObjectName(QStringLiteral("resultList"));
    CShapeManager& manager = m_canvas->Manager();
    CResultListCtrl::CHooks hooks;
    hooks.resultRows = [this] { return m_canvas->RefreshResults(); };
    hooks.removeByRowId = [&manager](uint32_t id) { manager.RemoveByRowId(id); };
    hooks.removeAll = [&manager] { manager.RemoveAll(); };
    hooks.highlightByRowId = [&manager](uint32_t id, bool on) { manager.HighlightByRowId(id, on); };
    hooks.selectByRowId = [&manager](uint32_t id) { manager.SelectByRowId(id); };
    hooks.rowSelected = [&manager](uint32_t id) { return manager.RowSelected(id); };
    hooks.cancelTool = [this] { m_sidePanel->CancelTool(); };
    hooks.invalidateCanvas = [this] { m_canvas->update(); };
    hooks.measureFolder = [this] { return m_general.m_strMeasurePath; };
    hooks.scaleLine = [this] { return m_picture->Calibration().CsvLine(); };
    m_resultList->SetHooks(std::move(hooks));
    m_sidePanel->SetResultsList(m_resultList);
    connect(m_canvas, &CMeasureCanvas::resultsChanged, m_resultList, &CResultListCtrl::Refill);
    connect(m_picture.get(), &CPictureController::resultsChanged, m_resultList,
            &CResultListCtrl::Refill);
    connect(m_calibrationDlg, &CCalibrationDlg::calibrationApplied, m_resultList,
            &CResultListCtrl::Refill);
}

void CTavoMeasureDlg::WirePanel()
{
    CPanelHooks& h = m_sidePanel->Hooks();
    CMeasureCanvas* canvas = m_canvas;
    CTavoGraphDll* graph = m_graph.get();
    CShapeManager& manager = m_canvas->Manager();
    h.toolMode = [canvas] { return canvas->ToolMode(); };
    h.chooseTool = [canvas](int mode, ToolFactory make) {
        return canvas->Tools().Choose(mode, make);
    };
    h.cancelTool = [canvas] { canvas->Tools().Cancel(); };
    h.videoSizeEntries = [graph](std::vector<CResolutionEntry>& entries, int& chosen) {
        return graph->GetVideoSizeEntries(entries, &chosen);
    };
    connect(m_canvas, &CMeasureCanvas::toolEnded, m_sidePanel,
            [this] { m_sidePanel->OnToolEnded(); });

    // The commands of the other windows; the panel binds its own.
    using C = CCommandTable;
    CCommandTable& c = *m_commands;
    c.Bind(C::VideoSetting, [this] { m_live->RunVideoPropertyPages(); });
    c.Bind(C::DeviceSetting, [this] {
        QString identity;
        m_graph->GetCurCapDeviceIdentity(identity);
        m_camera->RememberControls();
        CDeviceSettingDlg dialog(*m_graph, m_general.m_strDeviceName, m_general.m_nVideoWidth,
                m_general.m_nVideoHeight, this);
        dialog.SetRefillHook([this] { m_sidePanel->FillResolutionCombo(); });
        dialog.exec();
        m_live->AfterDeviceSetting(identity);
    });
    c.Bind(C::Save, [this] { m_saver->Save(); });
    c.Bind(C::SaveAs, [this] { m_saver->SaveAs(); });
    c.Bind(C::SaveSetting, [this] {
        CSaveSettingDlg dialog(m_general.m_strImagePath, m_general.SaveFormat(), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        m_general.m_strImagePath = dialog.ImageFolder();
        m_general.SetSaveFormat(dialog.Format());
        m_thumbnails->SetFolder(m_general.m_strImagePath);
        m_thumbnails->RecreateItemWindows();
        m_thumbnails->Layout();
        m_thumbnails->UpdateScrollSize();
    });
    c.Bind(C::ImgCmp, [this] {
        CImageCompareDlg::Hooks compare;
        compare.captureToFrame = [this] { CaptureToFrame(); };
        compare.currentFrame = [this]() -> const CxImage& { return m_picture->Frame(); };
        compare.imageFolder = [this] { return m_general.m_strImagePath; };
        CImageCompareDlg dialog(std::move(compare), this);
        dialog.exec();
    });
    c.Bind(C::Clear, [this, &manager] {
        const CShapeManager::CStepScope oneStep(manager);
        m_resultList->OnClear();
    });
    c.Bind(C::SaveCsv, [this] { m_resultList->OnSaveCsv(); });
    c.Bind(C::CAL, [this] { m_calibrationDlg->ShowCalibration(); });
    c.Bind(C::StoreCalibration, [this] { m_picture->StoreFileCalibration(this); });
    c.Bind(C::Color, [this, &manager] {
        CColorSettingDlg dialog(
                m_colorSetting,
                [this, &manager](const CColorSetting& settings) {
                    m_colorSetting = settings;
                    manager.ApplyColourSettings(settings);
                    m_canvas->update();
                },
                this);
        dialog.exec();
    });
    c.Bind(C::CrossLine, [this, &manager] {
        CManagerCrossLineHost<CShapeManager> host(manager);
        CCrossLineDlg dialog(host, this);
        dialog.exec();
    });
    c.Bind(C::AnotationDB, [this, &manager] {
        CManagerTextsHost<CShapeManager> host(manager);
        CTextsManagerDlg dialog(host, this);
        dialog.exec();
    });
    c.Bind(C::Thumb, [this] {
        CThumbViewDlg dialog(m_general.m_strImagePath, this);
        connect(&dialog, &CThumbViewDlg::openRequested, this,
                [this](const QString& path, bool) { OpenPictureFromList(path); });
        connect(&dialog, &CThumbViewDlg::fileRemoved, this, [this](const QString& path) {
            m_thumbnails->ForgetFile(QFileInfo(path).fileName());
        });
        dialog.exec();
    });
    c.Bind(C::About, [this] { OnAbout(); });
}

void CTavoMeasureDlg::WireShortcuts()
{
    CWindowCommands::CContext context {
        .window = *this,
        .canvas = *m_canvas,
        .panel = *m_sidePanel,
        .results = *m_resultList,
        .calibrationDlg = *m_calibrationDlg,
        .calibration = m_calibration,
        .pictureCalibration = m_picture->Calibration(),
        .stillMode = [this] { return StillMode(); },
        .measure = [this] { return m_general.m_bMeasure; },
        .captureToFrame = [this] { return CaptureToFrame(); },
        .currentFrame = [this]() -> CxImage& { return m_picture->Frame(); },
        .cancelTool = [this] { CancelTool(); },
        .showCalibrationStatus = [this] { ShowCalibrationStatus(); },
    };
    m_windowCommands = new CWindowCommands(std::move(context), *m_commands);

    CReportCommand::CContext report {
        .window = *this,
        .general = m_general,
        .picture = [this] { return m_windowCommands->CurrentPicture(true); },
        .fill =
                [this](CReportContent& content) {
                    content.rows = m_resultList->Cells();
                    content.scaleLine = m_picture->Calibration().CsvLine();
                    if (!m_picture->Calibration().FromFile())
                        content.slotName = m_calibration.SlotName(m_calibration.CurrentIndex());
                    content.countSummary = m_picture->CountSummary();
                },
    };
    auto* reportCommand = new CReportCommand(std::move(report), this);
    m_commands->Bind(
            CCommandTable::Report, [reportCommand] { reportCommand->Run(); }, this);
    m_commands->Bind(
            CCommandTable::Count,
            [this] {
                // The live video is paused first: the count is of the picture it leaves.
                if (!StillMode())
                    SwitchToStill(StillEntry::VideoButton);
                CCountDlg dialog(m_picture->Frame(), m_picture->Calibration().Active(),
                        m_picture->Calibration().CsvLine(), m_general.m_strImagePath, this);
                dialog.exec();
                // Shown over the picture and told by the next report, until the picture changes.
                m_picture->ShowCount(dialog.Result(), dialog.SummaryText());
            },
            this);
}

void CTavoMeasureDlg::WireEdgeSnapping()
{
    // Edges are found on what the user sees: the filtered live frame or the still picture.
    m_edgeFinders = std::make_unique<CEdgeFinders>([this](cv::Mat& grey, bool& live) {
        live = !StillMode();
        if (live && !CaptureToFrame())
            return false;
        const CxImage& frame = m_picture->Frame();
        if (!frame.HasPixels())
            return false;
        grey = CCountCommand::PlaneOf(frame, CParticleCounter::Channel::Luminance);
        return true;
    });
    CEdgeFinders* finders = m_edgeFinders.get();
    CShapeManager& manager = m_canvas->Manager();
    manager.SetEdgeFinders([finders](QPointF p, double r) { return finders->Point(p, r); },
            [finders](QPointF& c, double& r) { return finders->Circle(c, r); });
    QAction* snap = m_commands->Action(CCommandTable::SnapToEdges);
    connect(snap, &QAction::toggled, this, [this, &manager](bool on) {
        m_general.m_bSnapToEdges = on;
        manager.SetSnapToEdges(on);
    });
    snap->setChecked(m_general.m_bSnapToEdges);
    manager.SetSnapToEdges(m_general.m_bSnapToEdges);
    connect(this, &CTavoMeasureDlg::liveStateChanged, this, [finders] { finders->Forget(); });
    connect(m_picture.get(), &CPictureController::frameShown, this,
            [finders] { finders->Forget(); });
}

void CTavoMeasureDlg::RunMerge()
{
    m_canvas->SuspendPump();
    const bool wasStill = StillMode();
    QThread::msleep(100);

    // The merge dialog's own view borrows the display values.
    const QSize displaySize = DisplaySize();
    const QPoint origin = m_canvas->ScrollOrigin();
    const int displayScale = m_general.m_nDisp;
    m_picture->Spare() = m_picture->Frame();

    RunMergeDialog();

    m_picture->SetDisplaySize(displaySize);
    m_canvas->SetScrollOrigin(origin);
    m_general.m_nDisp = displayScale;
    m_picture->Frame() = m_picture->Spare();
    if (StillMode())
        ShowCurrentFrame();
    m_graph->SetParentWindow(m_canvas);
    m_canvas->ResumePump();
    m_canvas->update();
    if (StillMode() != wasStill)
        ToggleLive();
}

void CTavoMeasureDlg::RunMergeDialog()
{
    CMergeHooks m;
    m.stillMode = [this] { return StillMode(); };
    m.toggleVideo = [this] { ToggleLive(); };
    m.captureToFrame = [this] { CaptureToFrame(); };
    m.currentFrame = [this]() -> CxImage& { return m_picture->Frame(); };
    m.frameChanged = [this] { m_picture->FrameReplaced(); };
    m.imageFolder = [this] { return m_general.m_strImagePath; };
    m.saveBmp = [this] { return m_general.m_bBMP; };
    m.saveFormat = [this] { return m_general.SaveFormat(); };
    m.addToMainList = [this](const QString& name) {
        m_thumbnails->AddFile(name);
        m_thumbnails->UpdateScrollSize();
    };
    m.frameSource = [this]() -> IFrameSource* { return m_live->FrameSource(); };
    m.captureSize = [this] { return CaptureSize(); };
    m.zoomChoice = [this] { return m_general.m_nDisp; };
    m.setZoomChoice = [this](int zoom) {
        m_general.m_nDisp = zoom;
        m_canvas->SetScrollOrigin(QPoint());
    };
    CImageMergeDlg dialog(std::move(m), this);
    dialog.exec();
}

void CTavoMeasureDlg::WireThumbnails()
{
    connect(m_thumbnails, &CImageListWnd::openRequested, this,
            [this](const QString& path, bool) { OpenPictureFromList(path); });
}

void CTavoMeasureDlg::CreateSnapshotSaver()
{
    CSnapshotContext context {
        .frame = m_picture->Frame(),
        .settings = m_general,
        .stillMode = [this] { return StillMode(); },
        .currentFile = [this] { return m_picture->CurrentFile(); },
        .captureToFrame = [this] { CaptureToFrame(); },
        .manager = &m_canvas->Manager(),
        .pictureScale = [this] { return m_picture->Calibration().ActiveScale(); },
        .addItem =
                [this](const QString& name) {
                    m_thumbnails->AddFile(name);
                    m_thumbnails->UpdateScrollSize();
                },
        .refreshItem = [this](const QString& name) { m_thumbnails->RefreshThumbnail(name); },
        .hasItem = [this](const QString& name) { return m_thumbnails->IndexOfName(name) >= 0; },
        .relayout = [this] { m_thumbnails->Layout(); },
        .frameChanged = [this] { ShowCurrentFrame(); },
        .parent = this,
        .clock = {},
    };
    m_saver = std::make_unique<CSnapshotSaver>(std::move(context));
}

void CTavoMeasureDlg::RecalLayOut()
{
    qCDebug(lcTrace) << "CTavoMeasureDlg::RecalLayOut";
    const CMainLayout l = CMainLayout::Compute(width(), height(), m_general.m_bHasLeft,
            m_general.m_bHasBottom, m_btnHidePanel->height());
    m_panelHost->setGeometry(l.panelHost);
    m_panelHost->setVisible(l.panelVisible);
    m_thumbHost->setGeometry(l.thumbHost);
    m_thumbHost->setVisible(l.thumbVisible);
    if (m_thumbnails && l.thumbVisible)
        m_thumbnails->setGeometry(m_thumbHost->rect());
    m_videoHost->setGeometry(l.videoHost);
    m_videoHost->show();
    m_btnHidePanel->move(l.hidePanelButton);
    m_btnHidePanel->setVisible(l.panelVisible);
    m_btnShowPanel->move(l.showPanelButton);
    m_btnShowPanel->setVisible(!l.panelVisible);
    m_btnHideStrip->move(l.hideStripButton);
    m_btnHideStrip->setVisible(l.thumbVisible);
    m_btnShowStrip->move(l.showStripButton);
    m_btnShowStrip->setVisible(!l.thumbVisible);
    for (QToolButton* button : { m_btnHidePanel, m_btnShowPanel, m_btnHideStrip, m_btnShowStrip })
        button->raise();
}

bool CTavoMeasureDlg::StillMode() const
{
    return m_live && m_live->Still();
}

void CTavoMeasureDlg::SwitchToLive()
{
    m_live->SwitchToLive();
}

void CTavoMeasureDlg::SwitchToStill(StillEntry how)
{
    m_live->SwitchToStill(how);
}

void CTavoMeasureDlg::ToggleLive()
{
    m_live->ToggleLive();
}

void CTavoMeasureDlg::Pause()
{
    m_live->Pause();
}

bool CTavoMeasureDlg::CaptureToFrame()
{
    return m_live->CaptureToFrame();
}

void CTavoMeasureDlg::RestartVideo()
{
    m_live->RestartVideo();
}

void CTavoMeasureDlg::ApplyDisplayScale(int scale)
{
    m_live->ApplyDisplayScale(scale);
}

QSize CTavoMeasureDlg::CaptureSize() const
{
    return m_live->CaptureSize();
}

void CTavoMeasureDlg::ChangeCaptureSize(QSize size, int displayScale)
{
    m_live->ChangeCaptureSize(size, displayScale);
}

bool CTavoMeasureDlg::CameraDisconnected() const
{
    return m_live && m_live->CameraDisconnected();
}

CFramePump* CTavoMeasureDlg::Pump() const
{
    return m_live ? &m_live->Pump() : nullptr;
}

void CTavoMeasureDlg::SizeCanvas()
{
    m_picture->SizeCanvas();
}

void CTavoMeasureDlg::ShowCurrentFrame()
{
    m_picture->ShowCurrentFrame();
}

bool CTavoMeasureDlg::OpenStillPicture(const QString& path)
{
    return m_picture->OpenFromDisk(path);
}

void CTavoMeasureDlg::OpenPictureFromList(const QString& path)
{
    m_picture->OpenFromList(path);
}

CxImage& CTavoMeasureDlg::CurrentFrame()
{
    return m_picture->Frame();
}

CPictureCalibration& CTavoMeasureDlg::PictureCalibration() const
{
    return m_picture->Calibration();
}

QSize CTavoMeasureDlg::DisplaySize() const
{
    return m_picture->DisplaySize();
}

float CTavoMeasureDlg::DisplayZoom() const
{
    return m_picture->Zoom();
}

const QString& CTavoMeasureDlg::CurrentFile() const
{
    return m_picture->CurrentFile();
}

void CTavoMeasureDlg::SetCurrentFile(const QString& file)
{
    m_picture->SetCurrentFile(file);
}

const QStringList& CTavoMeasureDlg::CountSummary() const
{
    return m_picture->CountSummary();
}

bool CTavoMeasureDlg::CountShown() const
{
    return m_picture->CountShown();
}

CLiveAidsPanel* CTavoMeasureDlg::LiveAidsPanel() const
{
    return m_liveAids ? m_liveAids->Panel() : nullptr;
}

CLiveAids& CTavoMeasureDlg::LiveAids() const
{
    return m_liveAids->LiveAids();
}

const CRecordingFeed* CTavoMeasureDlg::RecordingFeed() const
{
    return m_liveAids ? m_liveAids->RecordingFeed() : nullptr;
}

void CTavoMeasureDlg::CancelTool()
{
    if (m_sidePanel)
        m_sidePanel->CancelTool();
}

void CTavoMeasureDlg::ApplyToggle()
{
    RecalLayOut();
    SizeCanvas();
    RestartVideo();
}

void CTavoMeasureDlg::OnHidePanel()
{
    m_general.m_bHasLeft = false;
    ApplyToggle();
}

void CTavoMeasureDlg::OnShowPanel()
{
    m_general.m_bHasLeft = true;
    ApplyToggle();
}

void CTavoMeasureDlg::OnHideStrip()
{
    m_general.m_bHasBottom = false;
    ApplyToggle();
}

void CTavoMeasureDlg::OnShowStrip()
{
    m_general.m_bHasBottom = true;
    ApplyToggle();
}

void CTavoMeasureDlg::OnWakeUp()
{
    qCDebug(lcTrace) << "wake-up from a second start";
    showMaximized();
    raise();
    activateWindow();
    // A note: a second wake-up or a SIGTERM must not wait behind it.
    UserMessages().Inform({ .text = tr("Already having one instance running!") });
}

void CTavoMeasureDlg::OnOpenRequested(const QString& path)
{
    qCDebug(lcTrace) << "open from a second start:" << path;
    if (isMinimized())
        showMaximized();
    raise();
    activateWindow();
    OpenStillPicture(path);
}

void CTavoMeasureDlg::OnAbout()
{
    QMessageBox::about(this, tr("About Kalvex"),
            tr("<b>Kalvex Light</b> %1<br>Live picture, measurement and focus "
               "stacking for USB microscopes.")
                    .arg(QStringLiteral(KALVEX_VERSION)));
}

void CTavoMeasureDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (width() > 0 && height() > 0) {
        m_canvas->update();
        RecalLayOut();
    }
}

void CTavoMeasureDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        setFocus();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CTavoMeasureDlg::contextMenuEvent(QContextMenuEvent* event)
{
    // Only the bare background: a right press on a control that has no menu of its own
    // must not open this one.
    const QWidget* under = childAt(event->pos());
    if (under && under != m_videoHost && under != m_panelHost && under != m_thumbHost) {
        event->ignore();
        return;
    }
    m_windowCommands->ExecMenu(event->globalPos());
}

void CTavoMeasureDlg::closeEvent(QCloseEvent* event)
{
    m_closedByUser = !m_closedBySignal;
    // The frame pump stops before anything it reads goes away.
    if (m_live)
        m_live->Stop();
    event->accept();
}

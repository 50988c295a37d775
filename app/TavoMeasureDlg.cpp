#include "app/TavoMeasureDlg.h"

#include "base/IniFile.h"
#include "app/CommandTable.h"
#include "app/MainLayout.h"
#include "app/PictureCalibration.h"
#include "app/ColorSettingDlg.h"
#include "app/SaveSettingDlg.h"
#include "app/ReportCommand.h"
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
    const int scale = m_general.m_nDisp == 0 ? 1 : m_general.m_nDisp;
    m_nDisplayWidth = m_general.m_nVideoWidth * scale;
    m_nDisplayHeight = m_general.m_nVideoHeight * scale;
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
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(),
            tr("The settings cannot be saved to\n%1\n\n%2\n\nChanges made now are lost when "
               "Kalvex closes.")
                    .arg(QDir::toNativeSeparators(m_settingsPath), m_settingsProblem),
            QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("settingsProblemMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
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
    m_canvas->setGeometry(0, 0, m_nDisplayWidth, m_nDisplayHeight);
    m_canvas->show();
    StartFramePump();
    OpenCamera();
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
    CreatePictureCalibration();
    CreateCalibrationDialog();
    CreateResultList();
    WirePanel();
    m_sidePanel->Initialise();
    FollowPictureSize();
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
    WireCamera();
    CreateLiveAids();
    RecalLayOut();
    TellSettingsProblem();
}

void CTavoMeasureDlg::StartFramePump()
{
    m_frameSource = std::make_unique<CGraphFrameSource>(*m_graph);
    m_pump = std::make_unique<CFramePump>();
    m_pump->SetSource(m_frameSource.get());
    CMeasureCanvas* canvas = m_canvas;
    m_pump->SetOverlayPainter([canvas](QPainter& painter, const CPumpState& state) {
        canvas->Manager().DrawOnFrame(
                painter, state.displayWidth, state.displayHeight, -state.originX, -state.originY);
    });
    // An idle live view is redrawn only for a new camera frame or a change of the drawing.
    m_pump->SetChangeProbe([canvas] { return canvas->Manager().ChangeCount(); });
    m_pump->SetPresentNotifier([canvas] {
        QMetaObject::invokeMethod(canvas, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    });
    CFramePump* pump = m_pump.get();
    m_canvas->SetLivePainter([pump](QPainter& painter) {
        pump->PaintView([&painter](const QImage& view) {
            if (!view.isNull())
                painter.drawImage(0, 0, view);
        });
    });
    m_canvas->SetPumpHooks(
            [this] {
                PushPumpState();
                m_pump->Restart();
            },
            [pump] { pump->SuspendPump(); }, [pump] { pump->ResumePump(); });
    // The pump reads the window's state once per frame; a copy is handed over at frame pace.
    m_pumpStateTimer = new QTimer(this);
    m_pumpStateTimer->setInterval(15);
    connect(m_pumpStateTimer, &QTimer::timeout, this, &CTavoMeasureDlg::PushPumpState);
    m_pumpStateTimer->start();
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

void CTavoMeasureDlg::PushPumpState()
{
    if (!m_pump)
        return;
    CPumpState state;
    state.still = m_bStill;
    state.captureWidth = m_general.m_nVideoWidth;
    state.captureHeight = m_general.m_nVideoHeight;
    state.displayWidth = m_nDisplayWidth;
    state.displayHeight = m_nDisplayHeight;
    const QPoint origin = m_canvas->ScrollOrigin();
    state.originX = origin.x();
    state.originY = origin.y();
    state.displayScale = m_general.m_nDisp;
    const QSize host = m_videoHost->size();
    const bool fit = m_general.m_nDisp == 0;
    state.viewWidth = fit ? m_nDisplayWidth : std::min(m_nDisplayWidth, host.width());
    state.viewHeight = fit ? m_nDisplayHeight : std::min(m_nDisplayHeight, host.height());
    state.parentWidth = host.width();
    state.parentHeight = host.height();
    state.filters = FilterSettings();
    m_pump->SetState(state);
}

void CTavoMeasureDlg::CreatePictureCalibration()
{
    m_pictureCalibration = std::make_unique<CPictureCalibration>(
            m_calibration, [this](const CCalibrationSlot& slot) {
                m_canvas->Manager().SetCalibration(slot);
                // Rows and labels show the new scale at once, as after a slot change.
                if (m_resultList)
                    m_resultList->Refill();
                m_canvas->update();
                ShowCalibrationStatus();
            });
}

void CTavoMeasureDlg::ShowCalibrationStatus()
{
    if (m_sidePanel && m_pictureCalibration)
        m_sidePanel->SetCalibrationStatus(
                m_pictureCalibration->StatusText(), m_pictureCalibration->FromFile());
}

void CTavoMeasureDlg::StoreFileCalibration()
{
    QStringList slotNames;
    for (int i = 0; i < CCalibrationTable::kSlotCount; ++i)
        slotNames << CCalibrationStatus::SlotTitle(i, m_calibration.SlotName(i));
    bool ok = false;
    const QString chosen = QInputDialog::getItem(this, tr("Store the picture's scale"),
            tr("The scale this picture carries (%1) goes into:")
                    .arg(CCalibrationStatus::PixelSizeText(m_pictureCalibration->Active())),
            slotNames, m_calibration.CurrentIndex(), false, &ok);
    if (!ok)
        return;
    m_pictureCalibration->StoreInSlot(int(slotNames.indexOf(chosen)));
    m_calibrationDlg->RedisplaySlot();
}

void CTavoMeasureDlg::CreateCalibrationDialog()
{
    CCalibrationDlg::CHooks hooks;
    CShapeManager& manager = m_canvas->Manager();
    hooks.applyCalibration = [this](const CCalibrationSlot& slot) {
        m_pictureCalibration->UseSlot(slot);
    };
    hooks.enableCalibrationMode = [&manager](bool on) { manager.EnableCalibrationRuler(on); };
    hooks.referenceLength = [&manager](double& pixels, QPoint& centre, int& kind) {
        return manager.ReferenceLength(pixels, centre, kind);
    };
    hooks.repaintCanvas = [this] { m_canvas->update(); };
    hooks.cancelTool = [this] { CancelTool(); };
    hooks.captureFrame = [this](CCalibrationDlg::CFrame& frame) {
        if (!m_bStill && !CaptureToFrame())
            return false;
        if (!m_frameImage.HasPixels() || m_frameImage.Bpp() != 24)
            return false;
        frame.width = static_cast<int>(m_frameImage.Width());
        frame.height = static_cast<int>(m_frameImage.Height());
        frame.bits.assign(
                m_frameImage.Dib() + m_frameImage.Header().biSize + m_frameImage.NumColors() * 4,
                m_frameImage.Dib() + m_frameImage.DibSize());
        return true;
    };
    m_calibrationDlg = new CCalibrationDlg(m_calibration, std::move(hooks), this);
    m_calibrationDlg->hide();
    connect(m_canvas, &CMeasureCanvas::calibrationMoved, m_calibrationDlg,
            &CCalibrationDlg::OnCalibrationMoved);
    connect(m_calibrationDlg, &CCalibrationDlg::slotRenamed, this,
            &CTavoMeasureDlg::ShowCalibrationStatus);
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
    hooks.scaleLine = [this] { return m_pictureCalibration->CsvLine(); };
    m_resultList->SetHooks(std::move(hooks));
    m_sidePanel->SetResultsList(m_resultList);
    connect(m_canvas, &CMeasureCanvas::resultsChanged, m_resultList, &CResultListCtrl::Refill);
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
    h.fillVideoSizeCombo = [graph](QComboBox* combo) { return graph->InitVideoSizeCombo(combo); };
    connect(m_canvas, &CMeasureCanvas::toolEnded, m_sidePanel,
            [this] { m_sidePanel->OnToolEnded(); });

    // The commands of the other windows; the panel binds its own.
    using C = CCommandTable;
    CCommandTable& c = *m_commands;
    c.Bind(C::VideoSetting, [this] { RunVideoPropertyPages(); });
    c.Bind(C::DeviceSetting, [this] {
        QString identity;
        m_graph->GetCurCapDeviceIdentity(identity);
        m_camera->RememberControls();
        CDeviceSettingDlg dialog(*m_graph, m_general.m_strDeviceName, m_general.m_nVideoWidth,
                m_general.m_nVideoHeight, this);
        dialog.SetRefillHook([this] { m_sidePanel->FillResolutionCombo(); });
        dialog.exec();
        AfterDeviceSetting(identity);
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
        compare.currentFrame = [this]() -> const CxImage& { return m_frameImage; };
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
    c.Bind(C::StoreCalibration, [this] { StoreFileCalibration(); });
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
        .pictureCalibration = *m_pictureCalibration,
        .stillMode = [this] { return m_bStill; },
        .measure = [this] { return m_general.m_bMeasure; },
        .captureToFrame = [this] { return CaptureToFrame(); },
        .currentFrame = [this]() -> CxImage& { return m_frameImage; },
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
                    content.scaleLine = m_pictureCalibration->CsvLine();
                    if (!m_pictureCalibration->FromFile())
                        content.slotName = m_calibration.SlotName(m_calibration.CurrentIndex());
                    content.countSummary = m_shownCount.Summary();
                },
    };
    auto* reportCommand = new CReportCommand(std::move(report), this);
    m_commands->Bind(
            CCommandTable::Report, [reportCommand] { reportCommand->Run(); }, this);
    m_shownCount.SetLayerHook([this](CShownCount::Layer layer) {
        m_canvas->Manager().Renderer().SetExtraLayer(std::move(layer));
    });
    // The live video is paused first: the count is of the picture it leaves on the canvas.
    m_commands->Bind(
            CCommandTable::Count,
            [this] {
                if (!m_bStill)
                    SwitchToStill(StillEntry::VideoButton);
                CCountDlg dialog(m_frameImage, m_pictureCalibration->Active(),
                        m_pictureCalibration->CsvLine(), m_general.m_strImagePath, this);
                dialog.exec();
                // Shown over the picture and told by the next report, until the picture changes.
                m_shownCount.Show(dialog.Result(), dialog.SummaryText());
            },
            this);
}

void CTavoMeasureDlg::RunMerge()
{
    m_canvas->SuspendPump();
    const bool wasStill = m_bStill;
    QThread::msleep(100);

    // The merge dialog's own view borrows the display values.
    const QSize displaySize = DisplaySize();
    const QPoint origin = m_canvas->ScrollOrigin();
    const int displayScale = m_general.m_nDisp;
    m_spareImage = m_frameImage;

    RunMergeDialog();

    m_nDisplayWidth = displaySize.width();
    m_nDisplayHeight = displaySize.height();
    m_canvas->SetScrollOrigin(origin);
    m_general.m_nDisp = displayScale;
    m_frameImage = m_spareImage;
    if (m_bStill)
        ShowCurrentFrame();
    m_graph->SetParentWindow(m_canvas);
    m_canvas->ResumePump();
    m_canvas->update();
    if (m_bStill != wasStill)
        ToggleLive();
}

void CTavoMeasureDlg::RunMergeDialog()
{
    CMergeHooks m;
    m.stillMode = [this] { return m_bStill; };
    m.toggleVideo = [this] { ToggleLive(); };
    m.captureToFrame = [this] { CaptureToFrame(); };
    m.currentFrame = [this]() -> CxImage& { return m_frameImage; };
    m.frameChanged = [this] {
        m_stillSize = QSize(
                static_cast<int>(m_frameImage.Width()), static_cast<int>(m_frameImage.Height()));
    };
    m.imageFolder = [this] { return m_general.m_strImagePath; };
    m.saveBmp = [this] { return m_general.m_bBMP; };
    m.saveFormat = [this] { return m_general.SaveFormat(); };
    m.addToMainList = [this](const QString& name) {
        m_thumbnails->AddFile(name);
        m_thumbnails->UpdateScrollSize();
    };
    m.frameSource = [this]() -> IFrameSource* { return m_frameSource.get(); };
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
        .frame = m_frameImage,
        .settings = m_general,
        .stillMode = [this] { return m_bStill; },
        .currentFile = [this] { return m_strCurrentFile; },
        .captureToFrame = [this] { CaptureToFrame(); },
        .manager = &m_canvas->Manager(),
        .pictureScale = [this] { return m_pictureCalibration->ActiveScale(); },
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

void CTavoMeasureDlg::OpenPictureFromList(const QString& path)
{
    // Strip pictures live in the image folder: the name alone stays the current file.
    OpenPicture(path, QFileInfo(path).fileName());
}

bool CTavoMeasureDlg::OpenPicture(const QString& path, const QString& currentFile)
{
    CxImage picture;
    if (!picture.LoadFile(path, CXIMAGE_FORMAT_BMP)) {
        ShowPictureError(path, picture.LastError());
        return false;
    }
    if (m_bStill)
        SetStillMode(true);
    else
        SwitchToStill(StillEntry::OpeningPicture);
    m_frameImage = std::move(picture);
    m_shownCount.Forget();
    m_strCurrentFile = currentFile;
    FitBigPicture();
    ShowCurrentFrame();
    // A picture that carries its scale is measured in it.
    m_pictureCalibration->PictureOpened(m_frameImage.PictureScale());
    return true;
}

void CTavoMeasureDlg::FitBigPicture()
{
    // The whole of a picture bigger than the view is seen first.
    const QSize view = m_videoHost->size();
    const int zoom = std::max(1, m_general.m_nDisp);
    if (m_general.m_nDisp == 0 || view.isEmpty())
        return;
    if (int64_t(m_frameImage.Width()) * zoom <= view.width()
            && int64_t(m_frameImage.Height()) * zoom <= view.height())
        return;
    m_sidePanel->ShowDisplayScale(0);
    m_general.m_nDisp = 0;
}

void CTavoMeasureDlg::ShowPictureError(const QString& path, const QString& reason)
{
    QMessageBox::warning(this, windowTitle(),
            tr("The picture %1 cannot be opened:\n%2").arg(QDir::toNativeSeparators(path), reason));
}

void CTavoMeasureDlg::OpenCamera()
{
    CTavoGraphDll& graph = *m_graph;
    if (graph.InitGraph() < 0)
        return;
    if (!SelectCamera())
        return;
    // The camera's own settings go to it before it streams.
    m_camera->CameraOpened();
    graph.MakeGraph();
    QString name;
    // A start with the microscope unplugged must not forget which one the user chose.
    if (graph.GetCurCapDeviceName(name) >= 0 && !name.isEmpty())
        m_general.m_strDeviceName = name;
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

QSize CTavoMeasureDlg::SourceSize() const
{
    if (m_bStill && m_stillSize.isValid())
        return m_stillSize;
    const QSize stored(m_general.m_nVideoWidth, m_general.m_nVideoHeight);
    if (m_general.m_nDisp != 0)
        return stored;
    int w = 0;
    int h = 0;
    // Without a camera the stored size stands in, so the canvas keeps a shape.
    if (m_graph->GetCaptureSize(w, h) >= 0 && w > 0 && h > 0)
        return { w, h };
    return stored;
}

void CTavoMeasureDlg::SizeCanvas()
{
    const CDisplaySize d =
            CDisplaySize::Compute(m_general.m_nDisp, m_videoHost->size(), SourceSize());
    m_nDisplayWidth = d.width;
    m_nDisplayHeight = d.height;
    m_fZoom = d.zoom;
    m_canvas->setGeometry(0, 0, d.width, d.height);
    m_canvas->SetZoom(d.zoom, m_general.m_nDisp);
    m_canvas->show();
    FollowPictureSize();
}

QSize CTavoMeasureDlg::MeasuredSize() const
{
    if (m_bStill)
        return m_stillSize;
    int width = 0;
    int height = 0;
    if (m_graph->GetCaptureSize(width, height) >= 0 && width > 0 && height > 0)
        return { width, height };
    return { m_general.m_nVideoWidth, m_general.m_nVideoHeight };
}

void CTavoMeasureDlg::FollowPictureSize()
{
    if (!m_pictureCalibration)
        return;
    const QSize size = MeasuredSize();
    if (size.isEmpty() || size == m_calibration.CaptureSize())
        return;
    std::array<CCalibrationSlot, CCalibrationTable::kSlotCount> before;
    for (int i = 0; i < CCalibrationTable::kSlotCount; ++i)
        before[i] = m_calibration.GetSlot(i);
    const QSize sizeBefore = m_calibration.CaptureSize();
    const bool first = sizeBefore.isEmpty();
    // Another Resolution of the camera is the same view in other pixels: the drawing stays
    // over what it was drawn on. An opened picture is another picture.
    if (!m_bStill && m_bSizeWasLive && !first)
        FollowLiveResize(CPictureRescale::Between(sizeBefore, size));
    m_bSizeWasLive = !m_bStill;
    m_calibration.SetCaptureSize(size);
    // Slots from an older settings file were made at the size the program starts at, as far
    // as anybody knows: the camera's size kept in the settings.
    if (first && !m_bStill)
        m_calibration.AdoptCaptureSize();
    const CCalibrationSlot now = m_calibration.GetCurSlot();
    if (!m_pictureCalibration->FromFile()
            && !SameCalibration(now, before[size_t(m_calibration.CurrentIndex())])) {
        // Not a step of the drawing: the same slot, measured at the new size, and so is every
        // slot the history holds.
        m_canvas->Manager().ConvertCalibration(now, [this, &before](const CCalibrationSlot& s) {
            for (int i = 0; i < CCalibrationTable::kSlotCount; ++i) {
                if (SameCalibration(s, before[size_t(i)]))
                    return m_calibration.GetSlot(i);
            }
            return s;
        });
        if (m_resultList)
            m_resultList->Refill();
        m_canvas->update();
    }
    if (m_calibrationDlg && m_calibrationDlg->isVisible())
        m_calibrationDlg->RedisplaySlot();
    ShowCalibrationStatus();
}

void CTavoMeasureDlg::FollowLiveResize(const CPictureRescale& map)
{
    CShapeManager& manager = m_canvas->Manager();
    manager.RescaleDrawing(map);
    // Uncalibrated, the values are pixels: the rows follow the new positions.
    if (m_resultList)
        m_resultList->Refill();
    const bool drawn =
            manager.ShapeCount() > 0 || manager.TextCount() > 0 || manager.CrossLineCount() > 0;
    if (!map.AspectDiffers() || !drawn || m_bToldAspectChange)
        return;
    // Once per run, and not in the way.
    m_bToldAspectChange = true;
    auto* box = new QMessageBox(QMessageBox::Information, windowTitle(),
            tr("The new resolution has another shape than the old one. The drawing was scaled "
               "by the width and centred; it may no longer lie over the same features."),
            QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("aspectChangeMessage"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

bool CTavoMeasureDlg::OpenStillPicture(const QString& path)
{
    // A picture from anywhere on disk: Save overwrites it where it lives.
    return OpenPicture(path, QFileInfo(path).absoluteFilePath());
}

bool CTavoMeasureDlg::CaptureToFrame()
{
    m_frameImage.Destroy();
    int width = 0;
    int height = 0;
    if (m_graph->GetCaptureSize(width, height) < 0 || width <= 0 || height <= 0)
        return false;
    int32_t size = CFramePump::FrameBytes(width, height);
    int32_t held = size;
    // The grabber knows the size of the frame it holds; trust it over the requested size.
    if (m_graph->CaptureToBuf(&held, nullptr) >= 0 && held != size)
        return false;
    m_captureBuffer.resize(static_cast<size_t>(size));
    if (m_graph->CaptureToBuf(&size, m_captureBuffer.data()) < 0)
        return false;
    FilterSettings().Apply(m_captureBuffer.data(), width, height);
    return m_frameImage.CreateFromBuffer(m_captureBuffer.data(), static_cast<uint32_t>(width),
            static_cast<uint32_t>(height), 24,
            static_cast<uint32_t>(CFramePump::FrameBytes(width, 1)), false);
}

void CTavoMeasureDlg::SetStillMode(bool still)
{
    m_bStill = still;
    m_canvas->SetStillMode(still);
    PushPumpState();
}

void CTavoMeasureDlg::CancelTool()
{
    if (m_sidePanel)
        m_sidePanel->CancelTool();
}

void CTavoMeasureDlg::SwitchToLive()
{
    CancelTool();
    m_graph->MakeGraph();
    SetStillMode(false);
    SizeCanvas();
    RestartVideo();
    m_canvas->SetTimerPeriod(CMeasureCanvas::kLiveTimerMs);
    m_strCurrentFile.clear();
    m_shownCount.Forget();
    m_pictureCalibration->UseTable();
    emit liveStateChanged(true, StillEntry::VideoButton);
}

void CTavoMeasureDlg::SwitchToStill(StillEntry how)
{
    CancelTool();
    if (how == StillEntry::VideoButton)
        Pause();
    m_graph->Stop();
    m_graph->TearDownGraph();
    SetStillMode(true);
    // Timer 1 keeps running: it repaints the drawings over the still picture.
    emit liveStateChanged(false, how);
}

void CTavoMeasureDlg::ToggleLive()
{
    if (m_bStill)
        SwitchToLive();
    else
        SwitchToStill(StillEntry::VideoButton);
}

void CTavoMeasureDlg::ApplyDisplayScale(int scale)
{
    m_general.m_nDisp = scale;
    SizeCanvas();
    RestartVideo();
    m_canvas->update();
}

QSize CTavoMeasureDlg::CaptureSize() const
{
    int width = 0;
    int height = 0;
    m_graph->GetCaptureSize(width, height);
    return { width, height };
}

void CTavoMeasureDlg::ChangeCaptureSize(QSize size, int displayScale)
{
    m_graph->ChangeVideoSize(size.width(), size.height());
    // The camera may refuse the size: what it reports is what the program works with.
    int width = 0;
    int height = 0;
    if (m_graph->GetCaptureSize(width, height) >= 0) {
        m_general.m_nVideoWidth = width;
        m_general.m_nVideoHeight = height;
    }
    ApplyDisplayScale(displayScale);
    SizeCanvas();
}

void CTavoMeasureDlg::Pause()
{
    CaptureToFrame();
    ShowCurrentFrame();
    SetStillMode(true);
    m_graph->Pause();
    m_canvas->update();
}

void CTavoMeasureDlg::ShowCurrentFrame()
{
    m_stillSize =
            QSize(static_cast<int>(m_frameImage.Width()), static_cast<int>(m_frameImage.Height()));
    m_canvas->SetStillImage(CImagePainter::ToQImage(m_frameImage));
    if (m_bStill) {
        m_canvas->SetStillMode(true);
        SizeCanvas();
    }
    m_canvas->update();
}

void CTavoMeasureDlg::RestartVideo()
{
    PushPumpState();
    m_canvas->RestartVideo();
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
    // Not exec(): a second wake-up or a SIGTERM must not wait behind this box.
    auto* box = new QMessageBox(QMessageBox::Information, windowTitle(),
            tr("Already having one instance running!"), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
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
    if (m_pumpStateTimer)
        m_pumpStateTimer->stop();
    if (m_pump) {
        m_pump->Stop();
        qCDebug(lcTrace) << "frames copied" << m_pump->FramesCopied() << "presented"
                         << m_pump->FramesPresented();
    }
    event->accept();
}

#include "app/TavoMeasureDlg.h"

#include "app/IniFile.h"
#include "app/MainLayout.h"
#include "app/SidePanel.h"
#include "app/Trace.h"
#include "capture/TavoGraphDll.h"
#include "image/ImageListWnd.h"
#include "measure/MeasureCanvas.h"

#include <QCloseEvent>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

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
    : QWidget(parent), m_settingsPath(settingsPath), m_graph(std::make_unique<CTavoGraphDll>())
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
    SaveSettings();
    // Child widgets go after this body; the canvas writes the cross lines then.
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
    m_nJpegQuality = 100;
    m_colorSetting.Load(ini);
    m_calibration.Load(ini);
}

void CTavoMeasureDlg::SaveSettings() const
{
    CIniFile ini(m_settingsPath);
    m_general.Save(ini);
    m_colorSetting.Save(ini);
    m_calibration.Save(ini);
    if (!ini.Save())
        qCWarning(lcTrace) << "Setting.ini could not be written:" << m_settingsPath;
}

void CTavoMeasureDlg::Initialise(bool showWindow)
{
    m_canvas->Create(m_colorSetting, m_calibration.GetCurSlot());
    connect(m_canvas, &CMeasureCanvas::calibrationMoved, this,
            [this](const CCalibrationSlot &slot) { m_calibration.SetCurSlot(slot); });
    m_canvas->setGeometry(0, 0, m_nDisplayWidth, m_nDisplayHeight);
    m_canvas->show();
    OpenCamera();
    RecalLayOut();
    if (showWindow) {
        // Without a window manager there is nobody to maximise us: take the screen ourselves.
        if (const QScreen* screen = this->screen())
            setGeometry(screen->availableGeometry());
        showMaximized();
    }
    SizeCanvas();

    m_sidePanel = new CSidePanel(this, m_panelHost);
    auto* panelLayout = new QVBoxLayout(m_panelHost);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(m_sidePanel);
    m_sidePanel->show();
    m_sidePanel->Initialise();

    m_thumbnails = new CImageListWnd(m_thumbHost);
    m_thumbnails->setObjectName(QStringLiteral("thumbnailList"));
    m_thumbnails->SetSingleRow(true);
    m_thumbnails->SetFolder(m_general.m_strImagePath);
    m_thumbnails->setGeometry(m_thumbHost->rect());
    m_thumbnails->show();
    RecalLayOut();
}

void CTavoMeasureDlg::OpenCamera()
{
    CTavoGraphDll& graph = *m_graph;
    if (graph.InitGraph() < 0)
        return;
    if (graph.SpecifyCapDevice(m_general.m_strDeviceName) < 0)
        return;
    graph.SetCaptureSize(m_general.m_nVideoWidth, m_general.m_nVideoHeight);
    graph.SetParentWindow(m_canvas);
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
    m_nDisplayOriginX = 0;
    m_nDisplayOriginY = 0;
    m_canvas->setGeometry(0, 0, d.width, d.height);
    m_canvas->SetZoom(d.zoom, m_general.m_nDisp);
    m_canvas->show();
}

bool CTavoMeasureDlg::OpenStillPicture(const QString &path)
{
    const QImage picture(path);
    if (picture.isNull())
        return false;
    m_bStill = true;
    m_stillSize = picture.size();
    m_canvas->SetStillImage(picture);
    m_canvas->SetStillMode(true);
    SizeCanvas();
    return true;
}

void CTavoMeasureDlg::RestartVideo()
{
    // The frame pump restarts here once live video is wired to the canvas.
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
    case Qt::Key_F1:
        OnAbout();
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CTavoMeasureDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(tr("&About Kalvex..."), this, &CTavoMeasureDlg::OnAbout);
    menu.exec(event->globalPos());
}

void CTavoMeasureDlg::closeEvent(QCloseEvent* event)
{
    // The frame pump stops here, before anything it reads goes away.
    event->accept();
}

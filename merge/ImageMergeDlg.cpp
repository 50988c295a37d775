#include "merge/ImageMergeDlg.h"

#include "image/PictureWriter.h"

#include "base/SnapshotNamer.h"
#include "base/Trace.h"
#include "base/UserMessages.h"
#include "image/ImageFolder.h"
#include "image/ImageListWnd.h"
#include "image/ThumbLayout.h"
#include "image/ImagePainter.h"
#include "imgproc/FocusMeasure.h"
#include "imgproc/FuseCommand.h"
#include "merge/MergeResultView.h"
#include "merge/MergeView.h"
#include "video/FramePump.h"
#include "video/FrameSource.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QAbstractItemView>
#include <QGroupBox>
#include <QPointer>
#include <QProgressDialog>
#include <QScrollBar>
#include <QScrollArea>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kItemWidth = 233;
constexpr int kItemHeight = 175;
constexpr int kButtonSize = 56;
constexpr int kIconSize = 48;
constexpr int kComboWidth = 80;

} // namespace

CImageMergeDlg::Layout CImageMergeDlg::ComputeLayout(QSize client, int bandHeight)
{
    const int w = client.width();
    const int h = client.height();
    const int band = std::max(kBandHeight, bandHeight);
    const int bandTop = h - 10 - band;
    Layout layout;
    layout.view = QRect(10, 70, std::max(0, w - 20), std::max(0, bandTop - 80));
    layout.list = QRect(10, bandTop, std::max(0, w - 297), band);
    layout.result = QRect(w - 277, bandTop, 267, band);
    layout.video = QRect(10, bandTop, 267, band);
    return layout;
}

QSize CImageMergeDlg::ZoomSize(int zoom, QSize source, QSize area)
{
    const int w = source.width();
    const int h = source.height();
    if (w <= 0 || h <= 0)
        return {};
    if (zoom <= 0) {
        const int wr = area.width();
        const int hr = area.height();
        if (static_cast<double>(hr) / h >= static_cast<double>(wr) / w)
            return { wr, static_cast<int>(static_cast<double>(h) * wr / w) };
        return { static_cast<int>(static_cast<double>(w) * hr / h), hr };
    }
    const int z = std::min(zoom, 3);
    return { w * z, h * z };
}

CImageMergeDlg::CImageMergeDlg(CMergeHooks hooks, QWidget* parent)
    : QDialog(parent), m_hooks(std::move(hooks)), m_pump(std::make_unique<CFramePump>())
{
    setWindowTitle(tr("Image Merge"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(1182, 654); // 591 x 327 dialog units, until the window is maximised

    // A few looks a second: enough to follow a hand on the knob, little work beside the view.
    // Fusing stops it, so the set never changes under a fusion.
    m_focusTimer = new QTimer(this);
    m_focusTimer->setInterval(120);
    connect(m_focusTimer, &QTimer::timeout, this, &CImageMergeDlg::OnFocusTick);
    CreateToolBar();

    m_job = new CFusionJob(this);
    connect(m_job, &CFusionJob::progress, this, &CImageMergeDlg::OnFusionProgress);
    connect(m_job, &CFusionJob::finished, this, &CImageMergeDlg::OnFusionFinished);

    m_viewFrame = new QGroupBox(tr("...."), this);
    m_videoFrame = new QGroupBox(tr("Video"), this);
    m_videoFrame->hide();
    m_listFrame = new QGroupBox(tr("List"), this);
    m_resultFrame = new QGroupBox(tr("Result"), this);

    // X 2 and X 3 views are larger than the frame: they scroll inside it.
    m_viewScroll = new QScrollArea(m_viewFrame);
    m_viewScroll->setFrameShape(QFrame::NoFrame);
    m_viewScroll->setWidgetResizable(false);
    m_viewScroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_view = new CMergeView;
    m_view->SetPump(m_pump.get());
    m_view->SetStillSource([this]() -> const CxImage* {
        return m_hooks.currentFrame ? &m_hooks.currentFrame() : nullptr;
    });
    m_viewScroll->setWidget(m_view);

    m_list = new CImageListWnd(m_listFrame);
    m_list->SetSingleRow(true);
    m_list->SetItemSize(kItemWidth, kItemHeight);
    m_list->SetOwner(this);
    m_list->SetFolderPath(ImageFolder());
    m_list->CreateIn(m_listFrame);

    m_resultView = new CMergeResultView(m_resultFrame);
    m_resultView->SetImage(&m_result);
    connect(m_resultView, &CMergeResultView::doubleClicked, this,
            &CImageMergeDlg::OnResultDoubleClicked);

    QPointer<CMergeView> view(m_view);
    m_pump->SetDirectDrawing(true);
    m_pump->SetPresentNotifier([view] {
        if (view)
            QMetaObject::invokeMethod(view, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    });

    LayOut();
    UpdateVideo();
    ApplyZoom(ZoomIndex());
    setWindowState(windowState() | Qt::WindowMaximized);
}

CImageMergeDlg::~CImageMergeDlg()
{
    // The worker reads the fusion set and the pump paints into the view: both end first.
    delete m_job;
    m_job = nullptr;
    m_pump->Stop();
    m_list->SetOwner(nullptr);
}

void CImageMergeDlg::CreateToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setIconSize(QSize(kIconSize, kIconSize));
    m_toolBar->setFixedHeight(kButtonSize);
    m_toolBar->setMovable(false);

    auto addButton = [this](const QString& objectName, const QString& icon, const QString& tip,
                             std::function<void()> command) {
        auto* button = new QToolButton(m_toolBar);
        button->setObjectName(objectName);
        const QString iconPath = QStringLiteral(":/icons/%1.svg").arg(icon);
        if (QFile::exists(iconPath))
            button->setIcon(QIcon(iconPath));
        else
            button->setText(tip); // built without the program's artwork
        button->setIconSize(QSize(kIconSize, kIconSize));
        button->setFixedSize(kButtonSize, kButtonSize);
        button->setToolTip(tip);
        button->setAutoRaise(true);
        m_toolBar->addWidget(button);
        connect(button, &QToolButton::clicked, this, std::move(command));
        return button;
    };
    auto addCombo = [this](const QString& objectName, const QStringList& items) {
        auto* combo = new QComboBox(m_toolBar);
        combo->setObjectName(objectName);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(items);
        // At least 80 pixels, wider when an item's text needs it.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        combo->setFixedWidth(std::max(kComboWidth, combo->sizeHint().width()));
        combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 8);
        m_toolBar->addWidget(combo);
        return combo;
    };

    addButton(QStringLiteral("startVideo"), QStringLiteral("merge-video"), tr("Start video"),
            [this] { OnStartVideo(); });
    addButton(QStringLiteral("capture"), QStringLiteral("merge-capture"), tr("Capture image"),
            [this] { OnCapture(); });
    addButton(QStringLiteral("open"), QStringLiteral("merge-open"), tr("Open image"),
            [this] { OnOpen(); });
    m_zoomCombo =
            addCombo(QStringLiteral("zoom"), { tr("Fit in"), tr("X 1"), tr("X 2"), tr("X 3") });
    m_zoomCombo->setCurrentIndex(std::clamp(m_hooks.zoomChoice ? m_hooks.zoomChoice() : 0, 0, 3));
    connect(m_zoomCombo, &QComboBox::activated, this, &CImageMergeDlg::ApplyZoom);
    addButton(QStringLiteral("fuse"), QStringLiteral("merge-fuse"), tr("Fuse images"),
            [this] { OnFuse(); });
    addButton(QStringLiteral("save"), QStringLiteral("merge-save"), tr("Save result"),
            [this] { OnSave(); });
    addButton(QStringLiteral("close"), QStringLiteral("merge-close"), tr("Close"),
            [this] { close(); });
    m_modeCombo = addCombo(QStringLiteral("mode"),
            { tr("Adjusted Merge"), tr("Direct Merge"), tr("Aligned Merge") });
    m_modeCombo->setCurrentIndex(DirectMerge);
    // After the long-standing eight, so that they keep their places.
    m_focusCapture = addButton(QStringLiteral("focusCapture"),
            QStringLiteral("merge-focus-capture"), tr("Capture while focusing"),
            [this] { SetCaptureWhileFocusing(m_focusCapture->isChecked()); });
    m_focusCapture->setCheckable(true);
}

int CImageMergeDlg::BandHeight() const
{
    // The frame's title and border take part of its 200 pixels; the items are 175 high with a
    // 10-pixel margin above and below, and the bar for more items than fit across comes on top.
    const int chrome = m_listFrame->height() - m_listFrame->contentsRect().height();
    const int rowHeight = kItemHeight + 2 * CThumbLayout::kMargin;
    return chrome + rowHeight + m_list->horizontalScrollBar()->sizeHint().height();
}

void CImageMergeDlg::LayOut()
{
    const Layout layout = ComputeLayout(size(), BandHeight());
    m_toolBar->setGeometry(0, 0, width(), kButtonSize);
    m_viewFrame->setGeometry(layout.view);
    m_listFrame->setGeometry(layout.list);
    m_resultFrame->setGeometry(layout.result);
    m_videoFrame->setGeometry(layout.video);
    m_viewScroll->setGeometry(m_viewFrame->contentsRect());
    m_list->setGeometry(m_listFrame->contentsRect());
    m_list->UpdateScrollSize();
    m_resultView->setGeometry(m_resultFrame->contentsRect());
}

void CImageMergeDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayOut();
    if (m_shown)
        ApplyZoom(ZoomIndex());
}

void CImageMergeDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        LayOut();
        ApplyZoom(ZoomIndex());
    }
}

void CImageMergeDlg::closeEvent(QCloseEvent* event)
{
    if (m_fusing) {
        // The set is in use; Cancel ends the run first.
        CancelFusion();
        event->ignore();
        return;
    }
    SetCaptureWhileFocusing(false);
    m_pump->Stop();
    QDialog::closeEvent(event);
}

void CImageMergeDlg::reject()
{
    if (m_fusing) {
        CancelFusion();
        return;
    }
    SetCaptureWhileFocusing(false);
    m_pump->Stop();
    QDialog::reject();
}

int CImageMergeDlg::ZoomIndex() const
{
    return std::max(0, m_zoomCombo->currentIndex());
}

void CImageMergeDlg::SetZoomIndex(int zoom)
{
    m_zoomCombo->setCurrentIndex(std::clamp(zoom, 0, 3));
    ApplyZoom(ZoomIndex());
}

int CImageMergeDlg::ModeIndex() const
{
    return m_modeCombo->currentIndex();
}

void CImageMergeDlg::SetModeIndex(int mode)
{
    m_modeCombo->setCurrentIndex(std::clamp(mode, 0, static_cast<int>(AlignedMerge)));
}

void CImageMergeDlg::ShowMessage(const QString& text, const QString& caption)
{
    // The dialog goes on once the user has read it: a saved file joins the list after.
    UserMessages().Error({ .text = text,
            .caption = caption.isEmpty() ? windowTitle() : caption,
            .information = true });
}

bool CImageMergeDlg::IsStill() const
{
    return m_hooks.stillMode && m_hooks.stillMode();
}

QString CImageMergeDlg::ImageFolder() const
{
    return m_hooks.imageFolder ? m_hooks.imageFolder() : QString();
}

uint32_t CImageMergeDlg::SaveFormat() const
{
    if (m_hooks.saveFormat)
        return CPictureWriter::FormatOfSuffix(m_hooks.saveFormat());
    return !m_hooks.saveBmp || m_hooks.saveBmp() ? CXIMAGE_FORMAT_BMP : CXIMAGE_FORMAT_JPG;
}

QSize CImageMergeDlg::SourceSize() const
{
    if (IsStill()) {
        if (!m_hooks.currentFrame)
            return {};
        const CxImage& frame = m_hooks.currentFrame();
        return { static_cast<int>(frame.Width()), static_cast<int>(frame.Height()) };
    }
    if (m_hooks.captureSize)
        return m_hooks.captureSize();
    int w = 0;
    int h = 0;
    IFrameSource* source = m_hooks.frameSource ? m_hooks.frameSource() : nullptr;
    if (source && source->GetCaptureSize(w, h) >= 0)
        return { w, h };
    return {};
}

QSize CImageMergeDlg::ViewArea() const
{
    return m_viewFrame->contentsRect().size();
}

void CImageMergeDlg::ApplyZoom(int zoom)
{
    zoom = std::clamp(zoom, 0, 3);
    const QSize size = ZoomSize(zoom, SourceSize(), ViewArea());
    if (m_hooks.setZoomChoice)
        m_hooks.setZoomChoice(zoom);
    m_view->resize(size.isValid() ? size : QSize(0, 0));
    m_viewScroll->ensureVisible(0, 0);
    UpdateVideo();
    m_view->update();
}

// The big view's own pump runs while live and stops while still, when the view paints the
// current frame image.
void CImageMergeDlg::UpdateVideo()
{
    const bool still = IsStill();
    m_view->SetStill(still);
    IFrameSource* source = m_hooks.frameSource ? m_hooks.frameSource() : nullptr;
    if (still || !source) {
        m_pump->Stop();
        return;
    }
    CPumpState state = m_pump->State();
    state.still = false;
    if (!source || source->GetCaptureSize(state.captureWidth, state.captureHeight) < 0) {
        state.captureWidth = 0;
        state.captureHeight = 0;
    }
    const QSize viewSize = m_view->size();
    state.displayScale = ZoomIndex();
    state.displayWidth = state.viewWidth = state.parentWidth = viewSize.width();
    state.displayHeight = state.viewHeight = state.parentHeight = viewSize.height();
    state.originX = 0;
    state.originY = 0;
    const bool restart = !m_pump->IsRunning();
    m_pump->SetSource(source);
    m_pump->SetState(state);
    if (restart)
        m_pump->Restart();
}

void CImageMergeDlg::OnStartVideo()
{
    if (!IsStill())
        return;
    if (m_hooks.toggleVideo)
        m_hooks.toggleVideo();
    ApplyZoom(ZoomIndex());
}

void CImageMergeDlg::OnCapture()
{
    if (IsStill()) {
        ShowMessage(tr("Please preview video first!"));
        return;
    }
    if (!m_hooks.currentFrame)
        return;
    if (m_hooks.captureToFrame)
        m_hooks.captureToFrame();
    if (m_list->Count() >= kMaxFusionImages)
        return;
    StoreCurrentFrame();
}

bool CImageMergeDlg::StoreCurrentFrame()
{
    CxImage& frame = m_hooks.currentFrame();
    if (!frame.HasPixels()) {
        ShowMessage(tr("No picture came from the camera."));
        return false;
    }

    const QString folder = ImageFolder();
    QString name;
    QString path;
    QString reason;
    if (!SaveTimeStamped(frame, folder, name, path, reason)) {
        ShowMessage(tr("The captured picture could not be saved to %1: %2")
                            .arg(QDir::toNativeSeparators(path), reason));
        return false;
    }
    qCDebug(lcTrace, "Merge capture:%s", qPrintable(path));
    if (m_hooks.addToMainList)
        m_hooks.addToMainList(name);
    m_list->AddFileIn(name, folder);
    m_list->UpdateScrollSize();
    AppendToSet(frame, name);
    return true;
}

bool CImageMergeDlg::CapturingWhileFocusing() const
{
    return m_focusTimer->isActive();
}

void CImageMergeDlg::SetCaptureWhileFocusing(bool on)
{
    m_focusTimer->stop();
    m_focusCapture->setChecked(false);
    if (!on)
        return;
    if (IsStill() || !m_hooks.currentFrame || !m_hooks.captureToFrame) {
        ShowMessage(tr("Please preview video first!"));
        return;
    }
    if (m_list->Count() >= kMaxFusionImages) {
        ShowMessage(tr("Only support 20 images, please remove one image from list and try once "
                       "again."));
        return;
    }
    m_bracket.Restart();
    m_focusCapture->setChecked(true);
    m_focusTimer->start();
}

void CImageMergeDlg::OnFocusTick()
{
    if (IsStill() || m_list->Count() >= kMaxFusionImages) {
        SetCaptureWhileFocusing(false);
        return;
    }
    m_hooks.captureToFrame();
    const CxImage& frame = m_hooks.currentFrame();
    if (!frame.HasPixels() || frame.Bpp() != 24)
        return;
    const double sharpness = CFocusMeasure::VarianceOfLaplacian(
            frame.RowBits(0), static_cast<int>(frame.Width()), static_cast<int>(frame.Height()));
    if (!m_bracket.Offer(sharpness))
        return;
    if (!StoreCurrentFrame() || m_list->Count() >= kMaxFusionImages)
        SetCaptureWhileFocusing(false);
}

void CImageMergeDlg::OnOpen()
{
    if (FusionCount() >= kMaxFusionImages) {
        ShowMessage(tr("Only support 20 images, please remove one image from list and try once "
                       "again."));
        return;
    }
    QStringList paths;
    if (m_hooks.chooseImageFiles) {
        paths = m_hooks.chooseImageFiles(this);
    } else {
        paths = QFileDialog::getOpenFileNames(this, tr("Open image"), ImageFolder(),
                tr("Image files (%1)").arg(CImageFolder::NamePatterns()));
    }
    const int room = kMaxFusionImages - FusionCount();
    for (int i = 0; i < std::min(room, static_cast<int>(paths.size())); ++i)
        OpenOne(paths[i]);
    if (paths.size() > room)
        ShowMessage(tr("The list holds at most 20 images: %n chosen file(s) were not added.", "",
                static_cast<int>(paths.size()) - room));
}

bool CImageMergeDlg::OpenOne(const QString& path)
{
    CxImage image;
    if (!image.LoadFile(path) || !image.HasPixels() || !image.WidenTo24()) {
        const QString reason = image.LastError();
        ShowMessage(reason.isEmpty()
                        ? tr("%1 cannot be read as a picture.").arg(QDir::toNativeSeparators(path))
                        : tr("%1 cannot be read as a picture: %2")
                                  .arg(QDir::toNativeSeparators(path), reason));
        return false;
    }
    const QFileInfo info(path);
    m_list->AddFileIn(info.fileName(), info.absolutePath());
    m_list->UpdateScrollSize();
    AppendToSet(image, info.fileName());
    return true;
}

void CImageMergeDlg::AppendToSet(const CxImage& image, const QString& name)
{
    m_fusionSet.push_back(std::make_unique<CxImage>(image));
    m_fusionNames << name;
}

bool CImageMergeDlg::OnFuse()
{
    if (m_fusing)
        return false;
    SetCaptureWhileFocusing(false); // the bracket is done once the user fuses it
    if (FusionCount() < 2) {
        ShowMessage(tr("Need 2 images to do the fusion function."));
        return false;
    }
    const CxImage& first = *m_fusionSet.front();
    for (int i = 1; i < FusionCount(); ++i) {
        const CxImage& image = FusionImage(i);
        if (image.Width() != first.Width() || image.Height() != first.Height()) {
            ShowMessage(tr("%1 is %2 x %3, but %4 is %5 x %6: every image must have the same "
                           "size.")
                                .arg(m_fusionNames[i])
                                .arg(image.Width())
                                .arg(image.Height())
                                .arg(m_fusionNames[0])
                                .arg(first.Width())
                                .arg(first.Height()));
            return false;
        }
    }

    std::vector<CImageView> views;
    views.reserve(m_fusionSet.size());
    for (const auto& image : m_fusionSet)
        views.push_back(CFuseCommand::View(*image));
    const int index = ModeIndex();
    const FusionMode mode = index == AdjustedMerge ? FusionMode::Adjusted
            : index == AlignedMerge                ? FusionMode::Aligned
                                                   : FusionMode::Direct;

    // Per image and per pair; the aligning modes report one step per image and one per pair.
    const int count = FusionCount();
    const int total = mode == FusionMode::Direct ? count : 2 * count - 1;
    auto* progress =
            new QProgressDialog(tr("Fusing %1 images...").arg(count), tr("Cancel"), 0, total, this);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setWindowTitle(windowTitle());
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setValue(0);
    connect(progress, &QProgressDialog::canceled, this, &CImageMergeDlg::CancelFusion);
    m_progress = progress;

    m_fusing = true;
    if (!m_job->Start(std::move(views), mode, m_centre)) {
        m_fusing = false;
        progress->close();
        return false;
    }
    return true;
}

void CImageMergeDlg::OnFusionProgress(const CFusionProgress& step)
{
    if (!m_progress || m_progress->wasCanceled())
        return;
    const int count = FusionCount();
    m_progress->setMaximum(step.total);
    m_progress->setValue(step.done);
    m_progress->setLabelText(step.stage == CFusionProgress::Stage::Pair
                    ? tr("Aligning images %1 and %2 of %3")
                              .arg(step.index + 1)
                              .arg(step.index + 2)
                              .arg(count)
                    : tr("Image %1 of %2").arg(step.index + 1).arg(count));
}

void CImageMergeDlg::OnFusionFinished(FusionStatus status)
{
    m_fusing = false;
    if (m_progress)
        m_progress->close();
    qCDebug(lcTrace, "Merge fusion status:%d", static_cast<int>(status));
    if (status == FusionStatus::Done) {
        CxImage result;
        if (CFuseCommand::ToImage(m_job->TakeResult(), result)) {
            m_result = std::move(result);
            m_centre = m_job->Centre();
        }
        m_resultView->SetImage(&m_result);
        const std::vector<CPairMapCheck> doubts = m_job->Doubts();
        if (!doubts.empty())
            ShowMessage(doubts.front().Warning(), tr("Unlikely alignment"));
    } else if (status != FusionStatus::Cancelled) {
        ShowMessage(tr("The fusion failed; the previous result is kept."));
    }
    emit fusionFinished(static_cast<int>(status));
}

void CImageMergeDlg::CancelFusion()
{
    if (m_fusing)
        m_job->Cancel();
}

void CImageMergeDlg::OnSave()
{
    if (!m_result.HasPixels()) {
        ShowMessage(tr("There is no merged picture to save yet: fuse the images first."));
        return;
    }
    const QString folder = ImageFolder();
    QString name;
    QString path;
    QString reason;
    if (!SaveTimeStamped(m_result, folder, name, path, reason)) {
        ShowMessage(tr("The merged picture could not be saved to %1: %2")
                            .arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    ShowMessage(tr("File path: %1").arg(QDir::toNativeSeparators(path)),
            tr("Image saved successfully"));
    if (m_hooks.addToMainList)
        m_hooks.addToMainList(name);
}

bool CImageMergeDlg::SaveTimeStamped(
        CxImage& picture, const QString& folder, QString& name, QString& path, QString& reason)
{
    const CSnapshotNamer namer(
            m_hooks.clock ? CSnapshotNamer::Clock(m_hooks.clock) : CSnapshotNamer::Clock());
    return CPictureWriter::WriteTimeStamped(
            picture, folder, SaveFormat(), namer, name, path, &reason);
}

bool CImageMergeDlg::SwitchToStill()
{
    if (!IsStill() && m_hooks.toggleVideo)
        m_hooks.toggleVideo();
    return IsStill();
}

void CImageMergeDlg::ShowOnBigView(const CxImage& image)
{
    // Still first: the switch itself captures a frame into the current frame image.
    SwitchToStill();
    if (!m_hooks.currentFrame)
        return;
    m_hooks.currentFrame().CopyFrom(image);
    if (m_hooks.frameChanged)
        m_hooks.frameChanged();
    LayOut();
    ApplyZoom(ZoomIndex());
}

void CImageMergeDlg::OnResultDoubleClicked()
{
    if (m_result.HasPixels())
        ShowOnBigView(m_result);
}

void CImageMergeDlg::DisplayImage(const QString& path)
{
    CxImage image;
    if (!image.LoadFile(path) || !image.HasPixels()) {
        const QString reason = image.LastError();
        ShowMessage(reason.isEmpty()
                        ? tr("%1 cannot be read as a picture.").arg(QDir::toNativeSeparators(path))
                        : tr("%1 cannot be read as a picture: %2")
                                  .arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    ShowOnBigView(image);
}

void CImageMergeDlg::RemoveFusionImage(int index)
{
    if (m_fusing || index < 0 || index >= FusionCount())
        return;
    m_fusionSet.erase(m_fusionSet.begin() + index);
    m_fusionNames.removeAt(index);
}

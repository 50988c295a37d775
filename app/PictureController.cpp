#include "app/PictureController.h"

#include "app/MainLayout.h"
#include "app/PictureCalibration.h"
#include "base/GeneralSettings.h"
#include "base/UserMessages.h"
#include "calibration/CalibrationStatus.h"
#include "calibration/CalibrationTable.h"
#include "capture/TavoGraphDll.h"
#include "image/ImagePainter.h"
#include "measure/DrawingHistory.h"
#include "measure/MeasureCanvas.h"
#include "measure/PictureRescale.h"
#include "measure/ShapeManager.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>

#include <array>

CPictureController::CPictureController(CContext context, QObject* parent)
    : QObject(parent), m_context(std::move(context)),
      m_pictureCalibration(std::make_unique<CPictureCalibration>(m_context.calibration,
              [this](const CCalibrationSlot& slot) { ApplyCalibration(slot); }))
{
    CMeasureCanvas* canvas = &m_context.canvas;
    m_shownCount.SetLayerHook([canvas](CShownCount::Layer layer) {
        canvas->Manager().Renderer().SetExtraLayer(std::move(layer));
    });
    const int scale = m_context.general.m_nDisp == 0 ? 1 : m_context.general.m_nDisp;
    m_display = QSize(
            m_context.general.m_nVideoWidth * scale, m_context.general.m_nVideoHeight * scale);
}

CPictureController::~CPictureController() = default;

void CPictureController::ApplyCalibration(const CCalibrationSlot& slot)
{
    m_context.canvas.Manager().SetCalibration(slot);
    // Rows and labels show the new scale at once, as after a slot change.
    emit resultsChanged();
    m_context.canvas.update();
    ShowCalibrationStatus();
}

void CPictureController::ShowCalibrationStatus()
{
    emit calibrationStatusChanged(
            m_pictureCalibration->StatusText(), m_pictureCalibration->FromFile());
}

void CPictureController::StoreFileCalibration(QWidget* parent)
{
    CCalibrationTable& table = m_context.calibration;
    QStringList slotNames;
    for (int i = 0; i < CCalibrationTable::kSlotCount; ++i)
        slotNames << CCalibrationStatus::SlotTitle(i, table.SlotName(i));
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, tr("Store the picture's scale"),
            tr("The scale this picture carries (%1) goes into:")
                    .arg(CCalibrationStatus::PixelSizeText(m_pictureCalibration->Active())),
            slotNames, table.CurrentIndex(), false, &ok);
    if (!ok)
        return;
    m_pictureCalibration->StoreInSlot(int(slotNames.indexOf(chosen)));
    emit slotStored();
}

bool CPictureController::OpenFromList(const QString& path)
{
    // Strip pictures live in the image folder: the name alone stays the current file.
    return Open(path, QFileInfo(path).fileName());
}

bool CPictureController::OpenFromDisk(const QString& path)
{
    // A picture from anywhere on disk: Save overwrites it where it lives.
    return Open(path, QFileInfo(path).absoluteFilePath());
}

bool CPictureController::Open(const QString& path, const QString& currentFile)
{
    CxImage picture;
    if (!picture.LoadFile(path, CXIMAGE_FORMAT_BMP)) {
        UserMessages().Error(
                { .text = tr("The picture %1 cannot be opened:\n%2")
                                  .arg(QDir::toNativeSeparators(path), picture.LastError()) });
        return false;
    }
    m_context.enterStill();
    m_frame = std::move(picture);
    m_shownCount.Forget();
    m_currentFile = currentFile;
    FitBigPicture();
    ShowCurrentFrame();
    // A picture that carries its scale is measured in it.
    m_pictureCalibration->PictureOpened(m_frame.PictureScale());
    return true;
}

void CPictureController::FitBigPicture()
{
    // The whole of a picture bigger than the view is seen first.
    CGeneralSettings& general = m_context.general;
    const QSize view = m_context.videoHost.size();
    const int zoom = std::max(1, general.m_nDisp);
    if (general.m_nDisp == 0 || view.isEmpty())
        return;
    if (int64_t(m_frame.Width()) * zoom <= view.width()
            && int64_t(m_frame.Height()) * zoom <= view.height())
        return;
    emit displayScaleChosen(0);
    general.m_nDisp = 0;
}

void CPictureController::ShowCurrentFrame()
{
    FrameReplaced();
    m_context.canvas.SetStillImage(CImagePainter::ToQImage(m_frame));
    emit frameShown();
    if (m_context.still()) {
        m_context.canvas.SetStillMode(true);
        SizeCanvas();
    }
    m_context.canvas.update();
}

void CPictureController::FrameReplaced()
{
    m_stillSize = QSize(static_cast<int>(m_frame.Width()), static_cast<int>(m_frame.Height()));
}

void CPictureController::LiveStarted()
{
    m_currentFile.clear();
    m_shownCount.Forget();
    m_pictureCalibration->UseTable();
}

QSize CPictureController::SourceSize() const
{
    const CGeneralSettings& general = m_context.general;
    if (m_context.still() && m_stillSize.isValid())
        return m_stillSize;
    const QSize stored(general.m_nVideoWidth, general.m_nVideoHeight);
    if (general.m_nDisp != 0)
        return stored;
    int w = 0;
    int h = 0;
    // Without a camera the stored size stands in, so the canvas keeps a shape.
    if (m_context.graph.GetCaptureSize(w, h) >= 0 && w > 0 && h > 0)
        return { w, h };
    return stored;
}

void CPictureController::SizeCanvas()
{
    const CDisplaySize d = CDisplaySize::Compute(
            m_context.general.m_nDisp, m_context.videoHost.size(), SourceSize());
    m_display = QSize(d.width, d.height);
    m_zoom = d.zoom;
    m_context.canvas.setGeometry(0, 0, d.width, d.height);
    m_context.canvas.SetZoom(d.zoom, m_context.general.m_nDisp);
    m_context.canvas.show();
    FollowPictureSize();
}

QSize CPictureController::MeasuredSize() const
{
    if (m_context.still())
        return m_stillSize;
    int width = 0;
    int height = 0;
    if (m_context.graph.GetCaptureSize(width, height) >= 0 && width > 0 && height > 0)
        return { width, height };
    return { m_context.general.m_nVideoWidth, m_context.general.m_nVideoHeight };
}

void CPictureController::FollowPictureSize()
{
    if (!m_following)
        return;
    CCalibrationTable& table = m_context.calibration;
    const bool still = m_context.still();
    const QSize size = MeasuredSize();
    if (size.isEmpty() || size == table.CaptureSize())
        return;
    std::array<CCalibrationSlot, CCalibrationTable::kSlotCount> before;
    for (int i = 0; i < CCalibrationTable::kSlotCount; ++i)
        before[size_t(i)] = table.GetSlot(i);
    const QSize sizeBefore = table.CaptureSize();
    const bool first = sizeBefore.isEmpty();
    // Another Resolution of the camera is the same view in other pixels: the drawing stays
    // over what it was drawn on. An opened picture is another picture.
    if (!still && m_sizeWasLive && !first)
        FollowLiveResize(CPictureRescale::Between(sizeBefore, size));
    m_sizeWasLive = !still;
    table.SetCaptureSize(size);
    // Slots from an older settings file were made at the size the program starts at, as far
    // as anybody knows: the camera's size kept in the settings.
    if (first && !still)
        table.AdoptCaptureSize();
    const CCalibrationSlot now = table.GetCurSlot();
    if (!m_pictureCalibration->FromFile()
            && !SameCalibration(now, before[size_t(table.CurrentIndex())])) {
        // Not a step of the drawing: the same slot, measured at the new size, and so is every
        // slot the history holds.
        m_context.canvas.Manager().ConvertCalibration(
                now, [&table, &before](const CCalibrationSlot& s) {
                    for (int i = 0; i < CCalibrationTable::kSlotCount; ++i) {
                        if (SameCalibration(s, before[size_t(i)]))
                            return table.GetSlot(i);
                    }
                    return s;
                });
        emit resultsChanged();
        m_context.canvas.update();
    }
    emit slotsRescaled();
    ShowCalibrationStatus();
}

void CPictureController::FollowLiveResize(const CPictureRescale& map)
{
    CShapeManager& manager = m_context.canvas.Manager();
    manager.RescaleDrawing(map);
    // Uncalibrated, the values are pixels: the rows follow the new positions.
    emit resultsChanged();
    const bool drawn =
            manager.ShapeCount() > 0 || manager.TextCount() > 0 || manager.CrossLineCount() > 0;
    if (!map.AspectDiffers() || !drawn || m_toldAspectChange)
        return;
    // Once per run, and not in the way.
    m_toldAspectChange = true;
    UserMessages().Inform({ .text = tr("The new resolution has another shape than the old one. "
                                       "The drawing was scaled by the width and centred; it may "
                                       "no longer lie over the same features."),
            .name = QStringLiteral("aspectChangeMessage") });
}

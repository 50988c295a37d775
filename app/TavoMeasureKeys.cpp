// The main window's keyboard: each command of the shortcut table mapped to the panel, the
// shape manager or the picture, and the history of the drawing around them.
#include "app/TavoMeasureDlg.h"

#include "app/MainShortcuts.h"
#include "app/PanelButton.h"
#include "app/PictureCalibration.h"
#include "app/SidePanel.h"
#include "app/SnapshotSaver.h"
#include "calibration/CalibrationDlg.h"
#include "image/ImagePainter.h"
#include "measure/MeasureCanvas.h"
#include "measure/ResultListCtrl.h"
#include "measure/ShapeManager.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>

#include <algorithm>

namespace {

constexpr int kFarStep = 10; // picture pixels with Shift

} // namespace

void CTavoMeasureDlg::WireShortcuts()
{
    using T = CShortcutTable;
    CShapeManager& manager = m_canvas->Manager();
    m_shortcuts = new CMainShortcuts(this, m_canvas);
    const auto bind = [this](T::Command command, std::function<void()> run) {
        m_shortcuts->Bind(command, std::move(run));
    };
    bind(T::Undo, [this] { UndoDrawing(); });
    bind(T::Redo, [this] { RedoDrawing(); });
    bind(T::DeleteSelection, [this, &manager] {
        if (manager.RemoveSelected())
            AfterDrawingChanged();
    });
    bind(T::CancelTool, [this] { CancelTool(); });
    const std::pair<T::Command, QPoint> moves[] = {
        { T::MoveLeft, { -1, 0 } },
        { T::MoveRight, { 1, 0 } },
        { T::MoveUp, { 0, -1 } },
        { T::MoveDown, { 0, 1 } },
        { T::MoveLeftFar, { -kFarStep, 0 } },
        { T::MoveRightFar, { kFarStep, 0 } },
        { T::MoveUpFar, { 0, -kFarStep } },
        { T::MoveDownFar, { 0, kFarStep } },
    };
    for (const auto& [command, step] : moves)
        bind(command, [&manager, step] { manager.MoveSelected(step.x(), step.y()); });
    bind(T::CopyPicture, [this] { CopyPicture(); });
    bind(T::ZoomIn, [this] { StepZoom(1); });
    bind(T::ZoomOut, [this] { StepZoom(-1); });
    bind(T::ZoomFit, [this] { StepZoom(0); });

    // Keys that press a panel button go its way: disabled buttons do nothing, and the
    // button's tooltip names its key. Each button's row in the panel names its key.
    for (int id = 0; id < CSidePanel::ButtonCount; ++id) {
        const auto button = static_cast<CSidePanel::Button>(id);
        const T::Command command = CSidePanel::KeyOf(button);
        if (command == T::CommandCount)
            continue;
        CPanelButton* widget = m_sidePanel->ButtonAt(button);
        bind(command, [widget] { widget->click(); });
        CMainShortcuts::NameKey(widget, command);
    }
    // The camera's button without the camera's button: "Save" under another key.
    CPanelButton* save = m_sidePanel->ButtonAt(CSidePanel::Save);
    bind(T::Snapshot, [save] { save->click(); });
    m_sidePanel->ScaleCombo()->setToolTip(
            tr("Zoom in %1, zoom out %2, fit %3")
                    .arg(CShortcutTable::KeyText(T::ZoomIn), CShortcutTable::KeyText(T::ZoomOut),
                            CShortcutTable::KeyText(T::ZoomFit)));

    manager.SetCalibrationRestoredHook(
            [this](const CCalibrationSlot& now, const CCalibrationSlot& replaced) {
                OnCalibrationRestored(now, replaced);
            });
    // Start-up handed the settings to the drawing: the session's history begins after them.
    manager.ResetHistory();
}

void CTavoMeasureDlg::UndoDrawing()
{
    CShapeManager& manager = m_canvas->Manager();
    // A shape being drawn is what undo takes first, the way Escape takes it; what the tool's
    // cancel leaves of it, the history drops.
    if (manager.HasWorkInProgress()) {
        CancelTool();
        if (manager.HasWorkInProgress())
            manager.Undo();
    } else if (!manager.Undo()) {
        return;
    }
    AfterDrawingChanged();
}

void CTavoMeasureDlg::RedoDrawing()
{
    CShapeManager& manager = m_canvas->Manager();
    // Nothing to redo leaves a shape being drawn alone.
    if (!manager.CanRedo())
        return;
    if (manager.HasWorkInProgress())
        CancelTool();
    if (manager.Redo())
        AfterDrawingChanged();
}

void CTavoMeasureDlg::AfterDrawingChanged()
{
    m_resultList->Refill();
    m_canvas->update();
    // An open Calibration dialog shows what the undo or redo left in the slot.
    if (m_calibrationDlg && m_calibrationDlg->isVisible())
        m_calibrationDlg->ShowTableSlot();
}

void CTavoMeasureDlg::OnCalibrationRestored(
        const CCalibrationSlot& slot, const CCalibrationSlot& replaced)
{
    // The scale the shown picture carries: measured in it again, and no slot is touched.
    CCalibrationSlot pictureSlot;
    if (m_bStill && CPictureCalibration::ToSlot(m_frameImage.PictureScale(), pictureSlot)
            && SameCalibration(pictureSlot, slot)) {
        m_pictureCalibration->PictureOpened(m_frameImage.PictureScale());
        ShowCalibrationStatus();
        return;
    }
    // A slot that holds it becomes the one in use again (an undone switch of slots); else
    // the slot in use takes back its earlier value, when it was the one the undone change
    // went into. A slot is never overwritten with a scale it did not have.
    int holder =
            SameCalibration(m_calibration.GetCurSlot(), slot) ? m_calibration.CurrentIndex() : -1;
    for (int i = 0; i < CCalibrationTable::kSlotCount && holder < 0; ++i) {
        if (SameCalibration(m_calibration.GetSlot(i), slot))
            holder = i;
    }
    if (holder >= 0)
        m_calibration.SetCurrentIndex(holder);
    else if (SameCalibration(m_calibration.GetCurSlot(), replaced))
        m_calibration.SetCurSlot(slot);
    else
        return;
    m_pictureCalibration->UseTable();
    ShowCalibrationStatus();
}

void CTavoMeasureDlg::StepZoom(int step)
{
    QComboBox* combo = m_sidePanel->ScaleCombo();
    const int index =
            step == 0 ? 0 : std::clamp(combo->currentIndex() + step, 0, combo->count() - 1);
    if (index == combo->currentIndex())
        return;
    combo->setCurrentIndex(index);
    m_sidePanel->OnScaleChanged(index);
}

bool CTavoMeasureDlg::CopyPicture()
{
    // Live: the newest frame becomes the current picture, as a save takes it.
    if (!m_bStill && !CaptureToFrame())
        return false;
    if (!m_frameImage.HasPixels())
        return false;
    CxImage picture = m_frameImage;
    if (m_general.m_bMeasure && !CSnapshotSaver::ComposeSnapshot(picture, m_canvas->Manager()))
        return false;
    const QImage image = CImagePainter::ToQImage(picture);
    if (image.isNull())
        return false;
    QGuiApplication::clipboard()->setImage(image);
    return true;
}

void CTavoMeasureDlg::AddShortcutListEntry(QMenu& menu)
{
    menu.addAction(tr("&Keyboard shortcuts..."), this, &CTavoMeasureDlg::OnShortcutList);
}

void CTavoMeasureDlg::OnShortcutList()
{
    // Not exec(): the list may stay open beside the window.
    auto* box = new QMessageBox(QMessageBox::NoIcon, tr("Keyboard shortcuts"),
            CShortcutTable::ListHtml(), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("shortcutList"));
    box->setTextFormat(Qt::RichText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

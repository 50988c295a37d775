#include "app/WindowCommands.h"

#include "app/PictureCalibration.h"
#include "app/SidePanel.h"
#include "app/SnapshotSaver.h"
#include "base/UserMessages.h"
#include "calibration/CalibrationDlg.h"
#include "calibration/CalibrationTable.h"
#include "image/ImagePainter.h"
#include "image/xImage.h"
#include "measure/MeasureCanvas.h"
#include "measure/ResultListCtrl.h"
#include "measure/ShapeManager.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>

#include <algorithm>

namespace {

constexpr int kFarStep = 10; // picture pixels with Shift

// The window's texts keep the window's translation context.
QString WindowText(const char* text)
{
    return QCoreApplication::translate("CTavoMeasureDlg", text);
}

} // namespace

CWindowCommands::CWindowCommands(CContext context, CCommandTable& commands)
    : QObject(&context.window), m_context(std::move(context)), m_commands(commands)
{
    using C = CCommandTable;
    CMeasureCanvas& canvas = m_context.canvas;
    CShapeManager& manager = canvas.Manager();
    m_context.window.addActions(commands.Actions(C::Scope::Window));
    canvas.setFocusPolicy(Qt::ClickFocus);
    canvas.addActions(commands.Actions(C::Scope::Picture));

    commands.Bind(C::Undo, [this] { UndoDrawing(); });
    commands.Bind(C::Redo, [this] { RedoDrawing(); });
    commands.Bind(C::DeleteSelection, [this, &manager] {
        if (manager.RemoveSelected())
            AfterDrawingChanged();
    });
    commands.Bind(C::CancelInProgress, [this] { m_context.cancelTool(); });
    const std::pair<C::Command, QPoint> moves[] = {
        { C::MoveLeft, { -1, 0 } },
        { C::MoveRight, { 1, 0 } },
        { C::MoveUp, { 0, -1 } },
        { C::MoveDown, { 0, 1 } },
        { C::MoveLeftFar, { -kFarStep, 0 } },
        { C::MoveRightFar, { kFarStep, 0 } },
        { C::MoveUpFar, { 0, -kFarStep } },
        { C::MoveDownFar, { 0, kFarStep } },
    };
    for (const auto& [command, step] : moves)
        commands.Bind(command, [&manager, step] { manager.MoveSelected(step.x(), step.y()); });
    commands.Bind(C::CopyPicture, [this] { CopyPicture(); });
    commands.Bind(C::ZoomIn, [this] { StepZoom(1); });
    commands.Bind(C::ZoomOut, [this] { StepZoom(-1); });
    commands.Bind(C::ZoomFit, [this] { StepZoom(0); });
    // The camera's button without the camera's button: "Save", disabled or not.
    commands.Bind(C::Snapshot, [&commands] { commands.Trigger(C::Save); });
    commands.Bind(C::ShortcutList, [this] { ShowShortcutList(); });
    commands.Bind(C::DirectedAngles, [this, &manager] {
        manager.SetDirectedAngles(m_commands.Action(C::DirectedAngles)->isChecked());
        m_context.results.Refill();
        m_context.canvas.update();
    });
    connect(&canvas, &CMeasureCanvas::zoomStepRequested, this, &CWindowCommands::StepZoom);
    m_context.panel.ScaleCombo()->setToolTip(
            WindowText(QT_TRANSLATE_NOOP("CTavoMeasureDlg", "Zoom in %1, zoom out %2, fit %3"))
                    .arg(C::KeyText(C::ZoomIn), C::KeyText(C::ZoomOut), C::KeyText(C::ZoomFit)));

    manager.SetCalibrationRestoredHook(
            [this](const CCalibrationSlot& now, const CCalibrationSlot& replaced) {
                OnCalibrationRestored(now, replaced);
            });
    // Start-up handed the settings to the drawing: the session's history begins after them.
    manager.ResetHistory();
}

void CWindowCommands::UndoDrawing()
{
    CShapeManager& manager = m_context.canvas.Manager();
    // A shape being drawn is what undo takes first, the way Escape takes it; what the tool's
    // cancel leaves of it, the history drops.
    if (manager.HasWorkInProgress()) {
        m_context.cancelTool();
        if (manager.HasWorkInProgress())
            manager.Undo();
    } else if (!manager.Undo()) {
        return;
    }
    AfterDrawingChanged();
}

void CWindowCommands::RedoDrawing()
{
    CShapeManager& manager = m_context.canvas.Manager();
    // Nothing to redo leaves a shape being drawn alone.
    if (!manager.CanRedo())
        return;
    if (manager.HasWorkInProgress())
        m_context.cancelTool();
    if (manager.Redo())
        AfterDrawingChanged();
}

void CWindowCommands::AfterDrawingChanged()
{
    m_context.results.Refill();
    m_context.canvas.update();
    // An open Calibration dialog shows what the undo or redo left in the slot.
    if (m_context.calibrationDlg.isVisible())
        m_context.calibrationDlg.ShowTableSlot();
}

void CWindowCommands::OnCalibrationRestored(
        const CCalibrationSlot& slot, const CCalibrationSlot& replaced)
{
    CCalibrationTable& table = m_context.calibration;
    CPictureCalibration& picture = m_context.pictureCalibration;
    // The scale the shown picture carries: measured in it again, and no slot is touched.
    CCalibrationSlot pictureSlot;
    const CPictureScale& scale = m_context.currentFrame().PictureScale();
    if (m_context.stillMode() && CPictureCalibration::ToSlot(scale, pictureSlot)
            && SameCalibration(pictureSlot, slot)) {
        picture.PictureOpened(scale);
        m_context.showCalibrationStatus();
        return;
    }
    // A slot that holds it becomes the one in use again (an undone switch of slots); else
    // the slot in use takes back its earlier value, when it was the one the undone change
    // went into. A slot is never overwritten with a scale it did not have.
    int holder = SameCalibration(table.GetCurSlot(), slot) ? table.CurrentIndex() : -1;
    for (int i = 0; i < CCalibrationTable::kSlotCount && holder < 0; ++i) {
        if (SameCalibration(table.GetSlot(i), slot))
            holder = i;
    }
    if (holder >= 0)
        table.SetCurrentIndex(holder);
    else if (SameCalibration(table.GetCurSlot(), replaced))
        table.SetCurSlot(slot);
    else
        return;
    picture.UseTable();
    m_context.showCalibrationStatus();
}

void CWindowCommands::StepZoom(int step)
{
    QComboBox* combo = m_context.panel.ScaleCombo();
    const int index =
            step == 0 ? 0 : std::clamp(combo->currentIndex() + step, 0, combo->count() - 1);
    if (index == combo->currentIndex())
        return;
    combo->setCurrentIndex(index);
    m_context.panel.OnScaleChanged(index);
}

QImage CWindowCommands::CurrentPicture(bool withDrawing)
{
    // Live: the newest frame becomes the current picture, as a save takes it.
    if (!m_context.stillMode() && !m_context.captureToFrame())
        return {};
    const CxImage& frame = m_context.currentFrame();
    if (!frame.HasPixels())
        return {};
    CxImage picture = frame;
    if (withDrawing && !CSnapshotSaver::ComposeSnapshot(picture, m_context.canvas.Manager()))
        return {};
    return CImagePainter::ToQImage(picture);
}

bool CWindowCommands::CopyPicture()
{
    const QImage image = CurrentPicture(m_context.measure());
    if (image.isNull())
        return false;
    QGuiApplication::clipboard()->setImage(image);
    return true;
}

void CWindowCommands::ShowShortcutList()
{
    // A note: the list may stay open beside the window.
    UserMessages().Inform({ .text = CCommandTable::ListHtml(),
            .caption = WindowText(QT_TRANSLATE_NOOP("CTavoMeasureDlg", "Keyboard shortcuts")),
            .name = QStringLiteral("shortcutList"),
            .plain = true });
}

void CWindowCommands::ExecMenu(const QPoint& globalPos)
{
    QMenu menu(&m_context.window);
    menu.setObjectName(QStringLiteral("aboutMenu"));
    for (QAction* action : m_commands.MenuActions()) {
        if (action)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
    menu.exec(globalPos);
}

#pragma once

#include "app/CommandTable.h"

#include <QImage>
#include <QObject>

#include <functional>

class CCalibrationDlg;
class CCalibrationTable;
class CMeasureCanvas;
class CPictureCalibration;
class CResultListCtrl;
class CSidePanel;
class CxImage;
struct CCalibrationSlot;
class QMenu;
class QWidget;

// The commands of the main window itself: the drawing's history, deleting and moving the
// selected shape, zoom steps, copying the picture, the window menu and the shortcut list. Puts
// the command table's actions on the window and on the picture, which takes the focus when it
// is clicked.
class CWindowCommands : public QObject
{
    Q_OBJECT
public:
    // What the commands act on; the window outlives them.
    struct CContext
    {
        QWidget& window;
        CMeasureCanvas& canvas;
        CSidePanel& panel;
        CResultListCtrl& results;
        CCalibrationDlg& calibrationDlg;
        CCalibrationTable& calibration;
        CPictureCalibration& pictureCalibration;
        std::function<bool()> stillMode;
        std::function<bool()> measure; // snapshots with the measurements drawn in
        // Live: the newest frame becomes the current picture; false when there is none.
        std::function<bool()> captureToFrame;
        std::function<CxImage&()> currentFrame;
        std::function<void()> cancelTool;
        std::function<void()> showCalibrationStatus;
    };

    CWindowCommands(CContext context, CCommandTable& commands);

    // The current picture to the clipboard, the drawing burnt in when "Measure" is on; false
    // when there is no picture.
    bool CopyPicture();
    // The current picture (live: the newest frame), with the drawing burnt in when asked; null
    // when there is none.
    QImage CurrentPicture(bool withDrawing);
    void UndoDrawing();
    void RedoDrawing();
    void StepZoom(int step); // +1 and -1 along the scale combo, 0 fit
    void ShowShortcutList();
    // The window menu, from the table's menu rows.
    void ExecMenu(const QPoint& globalPos);

private:
    void AfterDrawingChanged();
    // After an undo or redo: the slot in use, or the picture's own scale, follows the drawing.
    void OnCalibrationRestored(const CCalibrationSlot& slot, const CCalibrationSlot& replaced);

    CContext m_context;
    CCommandTable& m_commands;
};

#pragma once

#include "measure/ShapeManager.h"

#include <QImage>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

class CIniFile;
struct CCalibrationSlot;
struct CColorSetting;

// The picture area of the main window: shows the still picture or the frames the pump
// presents, and turns mouse input into measurements through the shape manager. Its
// construction reads the cross lines from the settings file and its destruction writes them,
// unless its owner took them into its own write.
class QPainter;
class QScrollBar;

class CMeasureCanvas : public QWidget
{
    Q_OBJECT
public:
    // The side panel's zoom choice: 0 "Fit In", 1..3 "X 1".."X 3".
    enum ZoomChoice { FitIn = 0, X1 = 1, X2 = 2, X3 = 3 };
    static constexpr int kWheelStep = 60; // view pixels a wheel notch scrolls

    explicit CMeasureCanvas(const QString& settingsPath, QWidget* parent = nullptr);
    ~CMeasureCanvas() override;

    CShapeManager& Manager() { return m_manager; }
    // The owner writes the cross lines with its own settings, in the same one file write; the
    // canvas then writes nothing when it goes.
    void HandOverCrossLines(CIniFile& ini);

    // What creating the window did: settings and calibration into the manager, the reference
    // hidden.
    void Create(const CColorSetting& colours, const CCalibrationSlot& calibration);

    // The tools the mouse goes to; a tool that finishes by itself emits toolEnded.
    CToolBox& Tools() { return m_manager.Tools(); }
    int ToolMode() const { return m_manager.ToolMode(); }

    // The results rows and their ids, rebuilt together after every release.
    std::vector<CResultRow> RefreshResults();
    std::vector<uint32_t>& RowIds() { return m_rowIds; }

    // View: the main window sizes the canvas to the display size, then sets the zoom.
    void SetZoom(float zoom, int zoomChoice);
    int ZoomChoiceValue() const { return m_nZoomChoice; }
    void SetScrollOrigin(QPoint scroll); // 0 or negative per axis
    QPoint ScrollOrigin() const { return m_scroll; }
    // The most negative scroll origin: the picture's far edge at the view's, clear of the
    // scroll bars.
    QPoint ScrollLimit() const;
    // Fit-in size of a picture in a view, keeping its aspect.
    static QSize FittedSize(QSize picture, QSize view);

    // Still picture. A raw frame is 24-bit BGR, rows bottom-up and padded to 4 bytes.
    void SetStillMode(bool still);
    bool StillMode() const { return m_bStill; }
    void SetStillImage(const QImage& image);
    void SetStillFrame(const uint8_t* frame, int width, int height);
    QImage StillImage() const { return m_still; }

    // A new live view is up: repaints the picture's visible area, not the scroll bars over it.
    void UpdateLiveView();
    // The part of the canvas the live picture shows in: inside the host and not under the
    // scroll bars or the opaque panels over it; with translucentCovers, not under any widget
    // over it either.
    QRegion LiveRegion(bool translucentCovers) const;
    // The pump shows its views itself: while live, a change of the drawing needs no repaint.
    void SetLiveViewPresented(bool presented) { m_liveViewPresented = presented; }
    // Live painting straight from the pump's hand-over slot, without a copy per frame; it
    // paints all of the canvas.
    void SetLivePainter(std::function<void(QPainter&)> paint) { m_livePainter = std::move(paint); }

    // Frame pump control; the pump installs these when it exists.
    void SetPumpHooks(std::function<void()> restart, std::function<void()> suspend,
            std::function<void()> resume);
    // Told of every change of the drawing, on the thread that made it, with the drawing's lock
    // held (the live view wakes its pump). A still picture is repainted by the canvas itself.
    void SetDrawingChangedHook(std::function<void()> hook);
    void RestartVideo();
    void SuspendPump();
    void ResumePump();

    // The text tool asks for the text here; no value means Cancel.
    void SetTextInputHook(std::function<std::optional<QString>()> hook);

signals:
    // A tool finished by itself: the panel un-marks the button of that mode.
    void toolEnded(int mode);
    // The results were rebuilt (after a release, an area closing, a removal by the canvas).
    void resultsChanged();
    // The on-screen reference moved one step: store this slot as the slot in use.
    void calibrationMoved(const CCalibrationSlot& slot);
    // Ctrl+wheel: one zoom step in (1) or out (-1). The owner sets the zoom before it returns;
    // the canvas then keeps the picture point under the pointer where it was.
    void zoomStepRequested(int step);
    // What the live view shows moved: the scroll, the zoom, the size of the canvas or of the
    // area it sits in, still or live.
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnLButtonUp(QPoint pos);
    void OnRButtonDown(QPoint pos);
    void OnRButtonUp(QPoint pos);
    void PanStep(QPoint pos);
    void UpdateCursor(QPoint pos);
    QSize ViewSize() const;
    QRect StillTarget() const;
    void OnCalibrationMoved();
    // Any thread, drawing lock held.
    void OnDrawingChanged();
    // Shown while the picture is larger than the view, along the view's bottom and right.
    void UpdateScrollBars();
    QPoint Clamped(QPoint scroll) const; // within ScrollLimit() and 0
    void OnScrollBar();

    QString m_settingsPath;
    bool m_crossLinesHandedOver = false;
    CShapeManager m_manager;
    std::vector<uint32_t> m_rowIds;
    QPoint m_press;

    QPoint m_lastPan;
    bool m_bRightDown = false;
    bool m_bPanning = false;
    QPoint m_scroll;
    int m_nZoomChoice = FitIn;
    QScrollBar* m_hBar = nullptr; // children of the view, over the canvas
    QScrollBar* m_vBar = nullptr;
    QWidget* m_barCorner = nullptr;

    bool m_bStill = false;
    QImage m_still;
    QImage m_stillScaled; // cache of the stretched picture for the current target size

    std::function<void(QPainter&)> m_livePainter;
    bool m_liveViewPresented = false;

    std::atomic<bool> m_repaintPosted { false };
    std::function<void()> m_restartHook;
    std::function<void()> m_suspendHook;
    std::function<void()> m_resumeHook;
};

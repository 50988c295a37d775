#pragma once

#include "app/PanelHost.h"
#include "count/ShownCount.h"
#include "image/xImage.h"

#include <QObject>
#include <QSize>
#include <QStringList>

#include <functional>
#include <memory>

class CCalibrationTable;
class CCalibrationSlot;
class CMeasureCanvas;
class CPictureCalibration;
class CPictureRescale;
class CTavoGraphDll;
struct CGeneralSettings;
class QWidget;

// The picture being measured: the current frame (the last captured or opened one), its size on
// the canvas with the fit of a big picture, and the calibration that follows the picture's size
// and, for a picture that carries one, its own scale.
class CPictureController : public QObject
{
    Q_OBJECT
public:
    struct CContext
    {
        CGeneralSettings& general;
        CCalibrationTable& calibration;
        CTavoGraphDll& graph;
        CMeasureCanvas& canvas;
        QWidget& videoHost;
        std::function<bool()> still;
        // Makes the program still for a picture that replaces what is shown.
        std::function<void()> enterStill;
    };

    explicit CPictureController(CContext context, QObject* parent = nullptr);
    ~CPictureController() override;

    CxImage& Frame() { return m_frame; }
    // Kept while the merge dialog borrows the current frame.
    CxImage& Spare() { return m_spare; }
    CPictureCalibration& Calibration() const { return *m_pictureCalibration; }

    // Reads a picture file and shows it as the still picture; false (and said) when unreadable.
    // currentFile is what Save overwrites: a strip picture's name, else the whole path.
    bool Open(const QString& path, const QString& currentFile);
    bool OpenFromList(const QString& path);
    bool OpenFromDisk(const QString& path);
    // Shows the current frame on the canvas as the still picture.
    void ShowCurrentFrame();
    // The merge dialog changed the current frame.
    void FrameReplaced();
    // Live again: no file, no count, the table's slot.
    void LiveStarted();

    const QString& CurrentFile() const { return m_currentFile; }
    void SetCurrentFile(const QString& file) { m_currentFile = file; }
    // The last count of the picture shown: over it, and in the next report's summary.
    void ShowCount(const CParticleCounter::Result& result, const QString& summary)
    {
        m_shownCount.Show(result, summary);
    }
    const QStringList& CountSummary() const { return m_shownCount.Summary(); }
    bool CountShown() const { return m_shownCount.HasOverlay(); }

    // Sizes the canvas for the zoom choice and the source, then lets the calibration follow.
    void SizeCanvas();
    QSize DisplaySize() const { return m_display; }
    void SetDisplaySize(QSize size) { m_display = size; }
    float Zoom() const { return m_zoom; }
    // The calibration follows the picture's size once the window has wired what shows it: the
    // window sizes the canvas before the calibration's dialog and rows exist.
    void StartFollowingSize() { m_following = true; }
    void FollowPictureSize();
    // Asks which slot gets the scale the opened picture carries.
    void StoreFileCalibration(QWidget* parent);
    void ShowCalibrationStatus();

signals:
    // The rows show values of another scale or of other positions.
    void resultsChanged();
    void calibrationStatusChanged(const QString& text, bool fromFile);
    // The slots were converted to another size.
    void slotsRescaled();
    // The opened picture's scale went into a slot.
    void slotStored();
    // A big picture chose "fit" for itself.
    void displayScaleChosen(int scale);
    // The canvas shows another still picture.
    void frameShown();

private:
    void ApplyCalibration(const CCalibrationSlot& slot);
    QSize SourceSize() const;
    QSize MeasuredSize() const;
    void FitBigPicture();
    void FollowLiveResize(const CPictureRescale& map);

    CContext m_context;
    CxImage m_frame;
    CxImage m_spare;
    QSize m_stillSize;
    QSize m_display { 640, 480 };
    float m_zoom = 1.0f;
    bool m_sizeWasLive = false; // the size the drawing was last laid over was the camera's
    bool m_toldAspectChange = false;
    bool m_following = false;
    QString m_currentFile; // the opened picture; empty while live
    CShownCount m_shownCount;
    std::unique_ptr<CPictureCalibration> m_pictureCalibration;
};

#pragma once

#include "image/ImageListOwner.h"
#include "image/xImage.h"
#include "imgproc/FocusBracket.h"
#include "imgproc/FusionJob.h"
#include "merge/MergeHooks.h"

#include <QDialog>
#include <QPointer>
#include <QRect>

#include <memory>
#include <vector>

class CFramePump;
class CImageListWnd;
class CMergeResultView;
class CMergeView;
class QComboBox;
class QProgressDialog;
class QGroupBox;
class QScrollArea;
class QTimer;
class QToolButton;
class QToolBar;

/// @brief The "Image Merge" dialog: collects up to 20 pictures from the live video or from disk,
/// fuses them off the user-interface thread and shows and saves the result.
class CImageMergeDlg : public QDialog, public CImageListOwner
{
    Q_OBJECT
public:
    enum Mode { AdjustedMerge = 0, DirectMerge = 1, AlignedMerge = 2 };

    /// @brief The places of the four frames, from the client size.
    struct Layout
    {
        QRect view; ///< "...."
        QRect list; ///< "List"
        QRect result; ///< "Result"
        QRect video; ///< "Video", hidden
    };
    /// The frames along the bottom are 200 pixels high, or bandHeight when the list needs more.
    static constexpr int kBandHeight = 200;
    static Layout ComputeLayout(QSize client, int bandHeight = kBandHeight);
    /// @brief The big view's size for zoom index z (0 "Fit in", 1..3 "X 1".."X 3") of a source
    /// picture in the area of "....".
    static QSize ZoomSize(int zoom, QSize source, QSize area);

    explicit CImageMergeDlg(CMergeHooks hooks, QWidget* parent = nullptr);
    ~CImageMergeDlg() override;

    // Toolbar commands.
    void OnStartVideo();
    void OnCapture();
    /// @brief "Capture while focusing": while on, a live frame is captured whenever its
    /// sharpness has changed enough since the last one taken, until the set is full.
    void SetCaptureWhileFocusing(bool on);
    bool CapturingWhileFocusing() const;
    void OnOpen();
    /// @brief Starts the fusion with a progress dialog; false when the set is refused.
    /// fusionFinished() tells the end; a cancelled or failed run keeps the previous result.
    bool OnFuse();
    void OnSave();
    /// @brief Sizes the big view for zoom index z.
    void ApplyZoom(int zoom);
    void OnResultDoubleClicked();

    // The image list's owner hooks.
    void DisplayImage(const QString& path) override;
    void RemoveFusionImage(int index) override;

    /// @brief Lays the frames out from the current client size.
    void LayOut();
    // Height of the bottom frames that shows a whole row of list items, captions included,
    // above the list's horizontal bar.
    int BandHeight() const;

    int FusionCount() const { return static_cast<int>(m_fusionSet.size()); }
    const CxImage& FusionImage(int index) const { return *m_fusionSet[static_cast<size_t>(index)]; }
    const CxImage& Result() const { return m_result; }
    CSearchCentre SearchCentre() const { return m_centre; }
    void SetSearchCentre(CSearchCentre centre) { m_centre = centre; }
    int ZoomIndex() const;
    void SetZoomIndex(int zoom);
    int ModeIndex() const;
    void SetModeIndex(int mode);
    bool Fusing() const { return m_fusing; }
    /// @brief Cancels a running fusion (the Cancel button of its progress dialog).
    void CancelFusion();
    CImageListWnd* ImageList() const { return m_list; }
    CMergeView* BigView() const { return m_view; }
    CMergeResultView* ResultView() const { return m_resultView; }
    QGroupBox* ViewFrame() const { return m_viewFrame; }
    QToolBar* ToolBar() const { return m_toolBar; }

signals:
    /// @brief A fusion run ended (Done, Cancelled, refused sets are not signalled).
    void fusionFinished(int status);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void CreateToolBar();
    void ShowMessage(const QString& text, const QString& caption = {});
    bool IsStill() const;
    QString ImageFolder() const;
    uint32_t SaveFormat() const; // a CXIMAGE_FORMAT_ code
    // Writes a picture under a new time-stamped name in folder, in the snapshot format.
    bool SaveTimeStamped(
            CxImage& picture, const QString& folder, QString& name, QString& path, QString& reason);
    bool SwitchToStill();
    void UpdateVideo();
    // Saves the current frame image and adds it to the list and the set; false with a message.
    bool StoreCurrentFrame();
    void OnFocusTick();
    void ShowOnBigView(const CxImage& image);
    void AppendToSet(const CxImage& image, const QString& name);
    bool OpenOne(const QString& path);
    QSize SourceSize() const;
    void OnFusionProgress(const CFusionProgress& step);
    void OnFusionFinished(FusionStatus status);
    QSize ViewArea() const;

    CMergeHooks m_hooks;
    std::vector<std::unique_ptr<CxImage>> m_fusionSet;
    QStringList m_fusionNames; // the file of each picture of the set, for messages
    CxImage m_result;
    CSearchCentre m_centre;
    CFusionJob* m_job = nullptr;
    QPointer<QProgressDialog> m_progress;
    bool m_fusing = false;

    QToolBar* m_toolBar = nullptr;
    QComboBox* m_zoomCombo = nullptr;
    QComboBox* m_modeCombo = nullptr;
    QGroupBox* m_viewFrame = nullptr; // "...."
    QGroupBox* m_videoFrame = nullptr; // "Video"
    QGroupBox* m_listFrame = nullptr; // "List"
    QGroupBox* m_resultFrame = nullptr; // "Result"
    QScrollArea* m_viewScroll = nullptr;
    CMergeView* m_view = nullptr;
    CImageListWnd* m_list = nullptr;
    CMergeResultView* m_resultView = nullptr;
    std::unique_ptr<CFramePump> m_pump;
    QToolButton* m_focusCapture = nullptr;
    QTimer* m_focusTimer = nullptr;
    CFocusBracket m_bracket;
    bool m_shown = false;
};

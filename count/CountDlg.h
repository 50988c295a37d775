#pragma once

#include "calibration/CalibrationSlot.h"
#include "image/xImage.h"
#include "imgproc/ParticleCounter.h"

#include <QDialog>
#include <QTimer>

class CCountPreview;
class CSizeHistogram;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableWidget;

// "Count objects": thresholds the current picture (Otsu or a level, dark or bright objects, one
// channel), counts and sizes its objects in the calibration's unit and shows them over the
// picture, in a table, as a summary line and as a histogram of sizes; exports the CSV. The
// preview follows the level slider at once; the count follows a moment later.
class CCountDlg : public QDialog
{
    Q_OBJECT
public:
    // slot: the scale in use; scaleLine: the results file's "# scale: ..." line for it.
    CCountDlg(const CxImage& picture, const CCalibrationSlot& slot, const QString& scaleLine,
            const QString& folder, QWidget* parent = nullptr);

    const CParticleCounter::Result& Result() const { return m_result; }
    CParticleCounter::Options Options() const;
    QString SummaryText() const;
    // Writes the CSV; false with the reason in error.
    bool ExportTo(const QString& path, QString* error = nullptr) const;
    // Counts now instead of after the pause.
    void CountNow();

private:
    void BuildControls();
    void SettingsChanged();
    void UpdatePreview();
    void FillTable();
    void OnExport();

    CParticleCounter::Scale m_scale;
    QString m_scaleLine;
    QString m_folder;
    QImage m_picture;
    std::vector<cv::Mat> m_planes; // by channel, made on first use
    CxImage m_source; // a copy: the window's frame may change while the dialog is open
    CParticleCounter::Result m_result;
    QTimer m_recount;

    CCountPreview* m_preview = nullptr;
    QComboBox* m_method = nullptr;
    QSlider* m_levelSlider = nullptr;
    QSpinBox* m_levelBox = nullptr;
    QComboBox* m_objects = nullptr;
    QComboBox* m_channel = nullptr;
    QCheckBox* m_split = nullptr;
    QSpinBox* m_minArea = nullptr;
    QCheckBox* m_excludeEdges = nullptr;
    QLabel* m_summary = nullptr;
    CSizeHistogram* m_histogram = nullptr;
    QTableWidget* m_table = nullptr;
    QPushButton* m_export = nullptr;

    const cv::Mat& PlaneFor(CParticleCounter::Channel channel);
};

#pragma once

#include "video/LiveStackSource.h"

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class CHistogramView;
class CLiveAids;
class CTimeLapse;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimeEdit;
class QTimer;
class QToolButton;

// What the live aids panel asks of the main window; statuses are true for success.
struct CLiveAidsHooks
{
    // Starts a video file in the image folder: the camera's frames, or with the drawing.
    std::function<bool(bool withDrawing, QString& path, QString& reason)> startRecording;
    // Ends the file, off the window's thread; finished then runs on the window's thread, with
    // false when the file is not whole.
    using Finished = std::function<void(bool finished, const QString& reason)>;
    std::function<void(Finished finished)> stopRecording;
    std::function<bool(QString& reason)> recordingFailed; // a write failed while recording
    std::function<bool()> recording; // false once the capture object ended it itself
    // The live stack: on or off, start again, and what it holds (null while off).
    std::function<void(bool on)> setLiveStack;
    std::function<void()> resetLiveStack;
    std::function<std::optional<CLiveStackSource::CStatus>()> liveStackStatus;
};

// The live aids in the top right corner of the picture, folded away to their header until it
// is clicked: focus peaking and its colour, the sharpness meter, the live stack, the live
// histogram, time-lapse and video.
class CLiveAidsPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kReadingsMs = 200;
    static constexpr int kRecordingTickMs = 500;
    CLiveAidsPanel(CLiveAids& aids, CTimeLapse& timeLapse, CLiveAidsHooks hooks,
            QWidget* parent = nullptr);

    // Keeps the panel in the top right corner of its parent, above what the parent shows.
    void FloatOverParent();

    QToolButton* Header() const { return m_header; }
    QCheckBox* PeakingCheck() const { return m_peaking; }
    QToolButton* PeakColourButton() const { return m_peakColour; }
    QCheckBox* MeterCheck() const { return m_meter; }
    QLabel* MeterLabel() const { return m_meterLabel; }
    QCheckBox* LiveStackCheck() const { return m_liveStack; }
    QPushButton* StackResetButton() const { return m_stackReset; }
    QLabel* StackLabel() const { return m_stackLabel; }
    QCheckBox* HistogramCheck() const { return m_histogram; }
    QComboBox* ChannelCombo() const { return m_channel; }
    QLabel* ClippedLabel() const { return m_clipped; }
    QSpinBox* IntervalSpin() const { return m_interval; }
    QComboBox* EndCombo() const { return m_end; }
    QSpinBox* CountSpin() const { return m_count; }
    QTimeEdit* StopTimeEdit() const { return m_stopTime; }
    QPushButton* TimeLapseButton() const { return m_timeLapseButton; }
    QLabel* TimeLapseLabel() const { return m_timeLapseLabel; }
    QCheckBox* WithDrawingCheck() const { return m_withDrawing; }
    QPushButton* RecordButton() const { return m_recordButton; }
    QLabel* RecordLabel() const { return m_recordLabel; }

    // "Elapsed 00:12" or "Elapsed 1:02:03".
    static QString ElapsedText(qint64 ms);
    // The stop time of day as a clock reading after now: today, or tomorrow once it passed.
    static int64_t NextOccurrenceMs(const QTime& time, const QDateTime& now);

public slots:
    void TogglePeaking();
    void ToggleLiveStack();
    void OnLiveStateChanged(bool live);
    void ShowReadings();
    void OnTimeLapse();
    void OnRecord();
    void OnRecordingTick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void Place();
    void UpdateTimers();
    void StopRecording(const QString& why);
    void Message(const QString& text);
    void ShowStack();
    void ShowNewStack();

    CLiveAids& m_aids;
    CTimeLapse& m_timeLapse;
    CLiveAidsHooks m_hooks;
    uint64_t m_shownSerial = 0;
    bool m_recording = false;
    bool m_finishing = false; // the last file is still being finished
    bool m_live = false;
    QElapsedTimer m_recordingClock;
    QString m_recordingPath;

    QToolButton* m_header = nullptr;
    QWidget* m_body = nullptr;
    int m_bodyWidth = 0; // fixed once: readings that change wrap instead of widening the panel
    QWidget* m_bodyScroll = nullptr;
    QCheckBox* m_peaking = nullptr;
    QToolButton* m_peakColour = nullptr;
    QCheckBox* m_meter = nullptr;
    QLabel* m_meterLabel = nullptr;
    QCheckBox* m_liveStack = nullptr;
    QPushButton* m_stackReset = nullptr;
    QLabel* m_stackLabel = nullptr;
    int m_shownSkipped = 0; // skipped frames the label has told of
    int m_mergedAtSkip = -1; // the merged count when the last one was skipped
    QCheckBox* m_histogram = nullptr;
    QComboBox* m_channel = nullptr;
    CHistogramView* m_histogramView = nullptr;
    QLabel* m_clipped = nullptr;
    QSpinBox* m_interval = nullptr;
    QComboBox* m_end = nullptr;
    QSpinBox* m_count = nullptr;
    QTimeEdit* m_stopTime = nullptr;
    QPushButton* m_timeLapseButton = nullptr;
    QLabel* m_timeLapseLabel = nullptr;
    QCheckBox* m_withDrawing = nullptr;
    QPushButton* m_recordButton = nullptr;
    QLabel* m_recordLabel = nullptr;
    QTimer* m_readingsTimer = nullptr;
    QTimer* m_recordingTimer = nullptr;
};

#pragma once

#include "image/xImage.h"

#include <QBasicTimer>
#include <QDialog>
#include <QRect>

#include <functional>

class QGroupBox;
class QPushButton;

// "Image comparing": a live frame on the left and a picture from disk on the right, both
// each as large as its frame allows with its shape kept, redrawn every 500 ms.
class CImageCompareDlg : public QDialog
{
    Q_OBJECT
public:
    // What the dialog asks of the main window; an empty entry is skipped.
    struct Hooks
    {
        std::function<void()> captureToFrame; // newest frame, filtered, into the current frame
        std::function<const CxImage&()> currentFrame;
        // The open-file dialog, starting in folder: the chosen file or an empty text.
        // Empty: QFileDialog.
        std::function<QString(QWidget* parent, const QString& folder)> chooseImageFile;
        std::function<QString()> imageFolder; // where "Load" starts
    };
    static constexpr int kTimerMs = 500;

    explicit CImageCompareDlg(Hooks hooks, QWidget* parent = nullptr);
    // Where a picture of that size is drawn in area: as large as fits, its shape kept, centred.
    static QRect FitInto(QSize picture, const QRect& area);

    void OnCapture();
    void OnLoad();
    // What the timer does: both pictures onto their frames.
    void DrawPictures();

    const CxImage& LeftImage() const { return m_left; }
    const CxImage& RightImage() const { return m_right; }
    QGroupBox* VideoFrame() const { return m_videoFrame; }
    QGroupBox* ImageFrame() const { return m_imageFrame; }
    QPushButton* CaptureButton() const { return m_capture; }
    QPushButton* LoadButton() const { return m_load; }
    bool TimerActive() const { return m_timer.isActive(); }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void TakeFrame();

    Hooks m_hooks;
    CxImage m_left;
    CxImage m_right;
    QBasicTimer m_timer;
    QGroupBox* m_videoFrame = nullptr;
    QGroupBox* m_imageFrame = nullptr;
    QPushButton* m_capture = nullptr;
    QPushButton* m_load = nullptr;
    QWidget* m_videoPicture = nullptr;
    QWidget* m_imagePicture = nullptr;
};

#pragma once

#include <QDateTime>
#include <QSize>
#include <QString>

#include <functional>

class CxImage;
class IFrameSource;
class QWidget;

/// @brief What the Image Merge dialog needs from the main window, so it runs without one in
/// tests. An empty entry is skipped (or means the default noted).
struct CMergeHooks
{
    std::function<bool()> stillMode; ///< empty: live
    std::function<void()> toggleVideo; ///< the side panel's "Video" command
    /// Copies one frame, filtered as set, into the current frame image.
    std::function<void()> captureToFrame;
    /// The main window's current frame image, the dialog's scratch picture. Required.
    std::function<CxImage&()> currentFrame;
    /// The current frame image was replaced by the dialog (a picture shown on the big view).
    std::function<void()> frameChanged;
    std::function<QString()> imageFolder; ///< m_strImagePath
    std::function<bool()> saveBmp; ///< m_bBMP; empty: BMP
    /// The snapshot format ("bmp", "jpg", "png", "tif"); wins over saveBmp when set.
    std::function<QString()> saveFormat;
    /// Adds a saved name to the main thumbnail list and refreshes it.
    std::function<void(const QString& name)> addToMainList;
    /// The capture object for the big view's live picture; null: no live picture.
    std::function<IFrameSource*()> frameSource;
    std::function<QSize()> captureSize; ///< GetCaptureSize
    std::function<int()> zoomChoice; ///< the main window's zoom selection at opening
    /// Stores the zoom selection in the main window and resets its canvas scroll offsets.
    std::function<void(int zoom)> setZoomChoice;
    /// The open-file dialog; returns the chosen files, none when cancelled. Empty: QFileDialog.
    std::function<QStringList(QWidget* parent)> chooseImageFiles;
    std::function<QDateTime()> clock; ///< time stamps; empty: the local time
};

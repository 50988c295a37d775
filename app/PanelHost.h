#pragma once

#include <QSize>

struct CGeneralSettings;

// How the program goes from live video to a still picture.
enum class StillEntry {
    VideoButton, // pause: the last live frame becomes the picture
    OpeningPicture, // a picture replaces the live video, no frame is taken
};

// What the side panel needs of the main window. The main window owns live and still: the
// panel only asks for a switch and shows the result when it is told.
class CPanelHost
{
public:
    virtual ~CPanelHost() = default;

    virtual bool StillMode() const = 0;
    virtual void RequestLive() = 0;
    virtual void RequestStill() = 0;
    // Stops and re-creates the frame pump for the current mode.
    virtual void RestartVideo() = 0;

    // 0 fit, 1 to 3 integer zoom; applying it sizes the canvas and restarts the pump.
    virtual int DisplayScale() const = 0;
    virtual void ApplyDisplayScale(int scale) = 0;
    // The size the camera reports, empty without one.
    virtual QSize CaptureSize() const = 0;
    // Asks the camera for a size, keeps what it reports and resizes the view at displayScale.
    virtual void ChangeCaptureSize(QSize size, int displayScale) = 0;

    virtual bool Measure() const = 0; // snapshots with the measurements drawn in
    virtual void SetMeasure(bool on) = 0;
    virtual bool Binarize() const = 0;
    virtual void SetBinarize(bool on) = 0;
    virtual int Threshold() const = 0;
    virtual void SetThreshold(int threshold) = 0;
    virtual bool Equalize() const = 0;
    virtual void SetEqualize(bool on) = 0;
    // The white-balance values live in this record; FiltersChanged() after editing them.
    virtual CGeneralSettings& General() = 0;
    virtual void FiltersChanged() { }

    // The Image Merge dialog, modal; the display values it borrows come back afterwards.
    virtual void RunMerge() = 0;
    virtual void Repaint() = 0;
};

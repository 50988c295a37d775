#pragma once

#include "capture/CaptureDeviceSource.h"

typedef struct _GstCaps GstCaps;
typedef struct _GstDeviceMonitor GstDeviceMonitor;

// Cameras as GstDeviceMonitor lists them under "Video/Source", with their V4L2 node; the
// "Test Pattern" and "Pictures" cameras join the end of the list when they are enabled.
class CGstDeviceSource : public CCaptureDeviceSource
{
public:
    CGstDeviceSource() = default;
    ~CGstDeviceSource() override;
    CGstDeviceSource(const CGstDeviceSource&) = delete;
    CGstDeviceSource& operator=(const CGstDeviceSource&) = delete;

    EResult Enumerate(QList<CCaptureDevice>& devices) override;
    std::unique_ptr<CCameraControls> OpenControls(const CCaptureDevice& device) override;
    // A running monitor whose bus is read without a main loop.
    bool StartWatching() override;
    QList<CDeviceChange> TakeChanges() override;

    // One format per (pixel format, size) pair of the caps, in caps order; sizes repeated for
    // other frame rates count once, and formats other than raw video and MJPG are left out.
    static QList<CCaptureFormat> FormatsOfCaps(GstCaps* caps);

private:
    GstDeviceMonitor* m_monitor = nullptr;
};

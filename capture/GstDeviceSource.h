#pragma once

#include "capture/CaptureDeviceSource.h"

typedef struct _GstCaps GstCaps;

// Cameras as GstDeviceMonitor lists them under "Video/Source", with their V4L2 node; the
// "Test Pattern" camera joins the end of the list when it is enabled.
class CGstDeviceSource : public CCaptureDeviceSource
{
public:
    EResult Enumerate(QList<CCaptureDevice>& devices) override;
    std::unique_ptr<CCameraControls> OpenControls(const CCaptureDevice& device) override;

    // One format per (pixel format, size) pair of the caps, in caps order; sizes repeated for
    // other frame rates count once, and formats other than raw video and MJPG are left out.
    static QList<CCaptureFormat> FormatsOfCaps(GstCaps* caps);
};

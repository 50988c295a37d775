#pragma once

#include "capture/CaptureDeviceSource.h"

// Cameras as GstDeviceMonitor lists them under "Video/Source", with their V4L2 node; the
// "Test Pattern" camera joins the end of the list when it is enabled.
class CGstDeviceSource : public CCaptureDeviceSource
{
public:
    EResult Enumerate(QList<CCaptureDevice>& devices) override;
    std::unique_ptr<CCameraControls> OpenControls(const CCaptureDevice& device) override;
};

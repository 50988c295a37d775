#pragma once

#include "capture/CameraControls.h"

#include <QString>

#include <memory>

// The control set of a V4L2 device node, through VIDIOC_QUERYCTRL, G_CTRL and S_CTRL.
class CV4l2Controls : public CCameraControls
{
public:
    // Null when the node cannot be opened.
    static std::unique_ptr<CV4l2Controls> Open(const QString& path);
    ~CV4l2Controls() override;

    bool Query(uint32_t id, CCameraControlInfo& info) override;
    bool Get(uint32_t id, int32_t& value) override;
    bool Set(uint32_t id, int32_t value) override;
    QList<CCameraControlInfo> List() override;

private:
    explicit CV4l2Controls(int fd) : m_fd(fd) { }
    int Ioctl(unsigned long request, void* arg) const;
    void ReadMenu(CCameraControlInfo& info) const;

    int m_fd = -1;
};

#include "capture/V4l2Controls.h"

#include <linux/videodev2.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

void FillInfo(const v4l2_queryctrl& query, CCameraControlInfo& info)
{
    info.id = query.id;
    info.type = query.type;
    info.name = QString::fromUtf8(reinterpret_cast<const char*>(query.name),
            static_cast<int>(
                    strnlen(reinterpret_cast<const char*>(query.name), sizeof(query.name))));
    info.minimum = query.minimum;
    info.maximum = query.maximum;
    info.step = query.step;
    info.defaultValue = query.default_value;
    info.flags = query.flags;
    info.menu.clear();
}

} // namespace

std::unique_ptr<CV4l2Controls> CV4l2Controls::Open(const QString& path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<CV4l2Controls>(new CV4l2Controls(fd));
}

CV4l2Controls::~CV4l2Controls()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int CV4l2Controls::Ioctl(unsigned long request, void* arg) const
{
    int ret;
    do {
        ret = ::ioctl(m_fd, request, arg);
    } while (ret < 0 && errno == EINTR);
    return ret;
}

void CV4l2Controls::ReadMenu(CCameraControlInfo& info) const
{
    if (info.type != V4L2_CTRL_TYPE_MENU && info.type != V4L2_CTRL_TYPE_INTEGER_MENU)
        return;
    for (int32_t index = info.minimum; index <= info.maximum && index - info.minimum < 256;
            ++index) {
        v4l2_querymenu item {};
        item.id = info.id;
        item.index = static_cast<uint32_t>(index);
        QString name;
        if (Ioctl(VIDIOC_QUERYMENU, &item) == 0) {
            if (info.type == V4L2_CTRL_TYPE_MENU)
                name = QString::fromUtf8(reinterpret_cast<const char*>(item.name),
                        static_cast<int>(strnlen(
                                reinterpret_cast<const char*>(item.name), sizeof(item.name))));
            else
                name = QString::number(item.value);
        }
        info.menu.append(name);
    }
}

bool CV4l2Controls::Query(uint32_t id, CCameraControlInfo& info)
{
    v4l2_queryctrl query {};
    query.id = id;
    if (Ioctl(VIDIOC_QUERYCTRL, &query) != 0 || (query.flags & V4L2_CTRL_FLAG_DISABLED))
        return false;
    FillInfo(query, info);
    ReadMenu(info);
    return true;
}

bool CV4l2Controls::Get(uint32_t id, int32_t& value)
{
    v4l2_control control {};
    control.id = id;
    if (Ioctl(VIDIOC_G_CTRL, &control) != 0)
        return false;
    value = control.value;
    return true;
}

bool CV4l2Controls::Set(uint32_t id, int32_t value)
{
    v4l2_control control {};
    control.id = id;
    control.value = value;
    return Ioctl(VIDIOC_S_CTRL, &control) == 0;
}

QList<CCameraControlInfo> CV4l2Controls::List()
{
    QList<CCameraControlInfo> controls;
    v4l2_queryctrl query {};
    query.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    while (Ioctl(VIDIOC_QUERYCTRL, &query) == 0) {
        if (!(query.flags & V4L2_CTRL_FLAG_DISABLED)) {
            CCameraControlInfo info;
            FillInfo(query, info);
            ReadMenu(info);
            controls.append(info);
        }
        query.id |= V4L2_CTRL_FLAG_NEXT_CTRL;
    }
    return controls;
}

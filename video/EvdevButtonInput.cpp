#include "video/EvdevButtonInput.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/input.h>
#include <unistd.h>

CButtonInput::EOpen CEvdevButtonInput::Open(const QString& path, QString& error)
{
    Close();
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd >= 0)
        return EOpen::Ok;
    const int code = errno;
    error = QString::fromLocal8Bit(std::strerror(code));
    return code == EACCES || code == EPERM ? EOpen::Denied : EOpen::Failed;
}

void CEvdevButtonInput::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

int CEvdevButtonInput::CountPresses(const input_event* events, size_t count)
{
    int presses = 0;
    for (size_t i = 0; i < count; ++i)
        if (events[i].type == EV_KEY && events[i].code == KEY_CAMERA && events[i].value == 1)
            ++presses;
    return presses;
}

int CEvdevButtonInput::ReadPresses()
{
    if (m_fd < 0)
        return -1;
    int presses = 0;
    input_event events[16];
    for (;;) {
        const ssize_t got = ::read(m_fd, events, sizeof events);
        if (got > 0) {
            presses += CountPresses(events, static_cast<size_t>(got) / sizeof(input_event));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return presses;
        // End of file or ENODEV: the camera was unplugged.
        Close();
        return presses > 0 ? presses : -1;
    }
}

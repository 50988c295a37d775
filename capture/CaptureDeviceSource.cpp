#include "capture/CaptureDeviceSource.h"

#include "capture/GstDeviceSource.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QtGlobal>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

CCameraControls::~CCameraControls() = default;

CCaptureDeviceSource::~CCaptureDeviceSource() = default;

bool CCaptureDeviceSource::IsAvailable(const CCaptureDevice& device)
{
    return device.IsPatternSource() || QFile::exists(device.path);
}

QString CCaptureDeviceSource::OpenProblem(const CCaptureDevice& device)
{
    if (device.IsPatternSource())
        return {};
    if (!IsAvailable(device))
        return QCoreApplication::translate("CTavoGraphDll", "the camera is not connected");
    if (!QFile::exists(device.path))
        return {}; // a list that knows better than the file system (tests)
    const int fd =
            ::open(QFile::encodeName(device.path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    const int error = errno;
    if (error == EACCES || error == EPERM)
        return QCoreApplication::translate(
                "CTavoGraphDll", "you may not use %1 (add yourself to the \"video\" group)")
                .arg(device.path);
    if (error == ENOENT || error == ENODEV || error == ENXIO)
        return QCoreApplication::translate("CTavoGraphDll", "the camera is not connected");
    if (error == EBUSY)
        return QCoreApplication::translate("CTavoGraphDll", "another program is using the camera");
    return QString::fromLocal8Bit(std::strerror(error));
}

std::shared_ptr<CCaptureDeviceSource> CCaptureDeviceSource::CreateDefault()
{
    return std::make_shared<CGstDeviceSource>();
}

bool CCaptureDeviceSource::TestCameraEnabled()
{
    return qgetenv("KALVEX_TEST_CAMERA") == "1";
}

CCaptureDevice CCaptureDeviceSource::TestPatternDevice()
{
    CCaptureDevice device;
    device.name = QStringLiteral("Test Pattern");
    // KALVEX_TEST_PATTERN picks another videotestsrc look, e.g. "smpte horizontal-speed=4" for
    // a picture that visibly moves; "framerate=30/1" changes the rate from 15 frames a second.
    device.pattern = qEnvironmentVariable("KALVEX_TEST_PATTERN", QStringLiteral("smpte"));
    for (const auto& [w, h] :
            { std::pair { 640, 480 }, std::pair { 800, 600 }, std::pair { 1280, 720 },
                    std::pair { 1280, 960 }, std::pair { 1920, 1080 }, std::pair { 2592, 1944 } })
        device.formats.append({ w, h, QStringLiteral("BGR") });
    device.currentFormat = 0;
    device.identity = QStringLiteral("Test Pattern|builtin");
    return device;
}

QString CFrameRate::Text() const
{
    return IsValid() ? QStringLiteral("%1/%2").arg(numerator).arg(denominator) : QString();
}

CFrameRate CFrameRate::Parse(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.isEmpty() || parts.size() > 2)
        return {};
    bool okN = false;
    bool okD = true;
    CFrameRate rate;
    rate.numerator = parts[0].toInt(&okN);
    rate.denominator = parts.size() == 2 ? parts[1].toInt(&okD) : 1;
    if (!okN || !okD || !rate.IsValid())
        return {};
    return rate;
}

QString CFrameRate::FpsText() const
{
    if (!IsValid())
        return {};
    if (numerator % denominator == 0)
        return QString::number(numerator / denominator);
    return QString::number(Fps(), 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

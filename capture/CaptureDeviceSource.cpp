#include "capture/CaptureDeviceSource.h"

#include "capture/GstDeviceSource.h"
#include "capture/PictureDecoder.h"
#include "capture/PictureList.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <QtGlobal>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <mutex>
#include <numeric>
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
    if (device.IsPictureSource()) {
        QString problem;
        CPictureList::Resolve(device.pictures, problem);
        return problem;
    }
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

QString CCaptureDeviceSource::PictureFiles()
{
    return qEnvironmentVariable("KALVEX_CAMERA_FILES");
}

CFrameRate CCaptureDeviceSource::PictureRate()
{
    const QString text = qEnvironmentVariable("KALVEX_CAMERA_FPS").trimmed();
    CFrameRate rate = CFrameRate::Parse(text);
    if (!rate.IsValid()) {
        bool ok = false;
        const double fps = text.toDouble(&ok);
        if (ok && std::isfinite(fps) && fps > 0 && fps <= 1000) {
            rate = { static_cast<int>(std::lround(fps * 1000)), 1000 };
            const int divisor = std::gcd(rate.numerator, rate.denominator);
            rate = { rate.numerator / divisor, rate.denominator / divisor };
        }
    }
    if (!rate.IsValid() || rate.Fps() < 0.1 || rate.Fps() > 120)
        return { 5, 1 };
    return rate;
}

CCaptureDevice CCaptureDeviceSource::PicturesDevice(const QString& files, CFrameRate rate)
{
    CCaptureDevice device;
    device.name = QStringLiteral("Pictures");
    device.pictures = files;
    device.identity = QStringLiteral("Pictures|files");
    QString problem;
    const QStringList list = CPictureList::Resolve(files, problem);
    if (list.isEmpty())
        return device;
    // The list is read again and again (the camera watch, the dialogs): a picture is decoded
    // for its size once, and again only when it changes.
    static std::mutex mutex;
    static QMap<QString, QSize> sizes;
    const QFileInfo first(list[0]);
    const QString key = QStringLiteral("%1|%2|%3")
                                .arg(first.absoluteFilePath())
                                .arg(first.size())
                                .arg(first.lastModified().toMSecsSinceEpoch());
    QSize size;
    {
        const std::lock_guard lock(mutex);
        size = sizes.value(key);
    }
    if (size.isEmpty()) {
        size = CPictureDecoder::SizeOf(CPictureDecoder::Decode(list[0], problem).get());
        if (size.isEmpty())
            return device;
        const std::lock_guard lock(mutex);
        sizes.insert(key, size);
    }
    device.formats.append({ size.width(), size.height(), QStringLiteral("BGR"), { rate } });
    device.currentFormat = 0;
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

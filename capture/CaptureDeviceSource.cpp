#include "capture/CaptureDeviceSource.h"

#include "capture/GstDeviceSource.h"

#include <QFile>
#include <QtGlobal>

CCameraControls::~CCameraControls() = default;

CCaptureDeviceSource::~CCaptureDeviceSource() = default;

bool CCaptureDeviceSource::IsAvailable(const CCaptureDevice& device)
{
    return device.IsPatternSource() || QFile::exists(device.path);
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
    return device;
}

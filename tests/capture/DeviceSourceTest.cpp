#include "capture/GstDeviceSource.h"
#include "capture/V4l2Controls.h"

#include <QSize>

#include <gst/gst.h>
#include <gtest/gtest.h>

namespace {

QList<CCaptureFormat> Parse(const char* text)
{
    gst_init(nullptr, nullptr);
    GstCaps* caps = gst_caps_from_string(text);
    const QList<CCaptureFormat> formats = CGstDeviceSource::FormatsOfCaps(caps);
    gst_caps_unref(caps);
    return formats;
}

} // namespace

TEST(DeviceSourceTest, CapsGiveOneEntryPerFormatAndSize)
{
    const QList<CCaptureFormat> formats =
            Parse("video/x-raw,format=YUY2,width=640,height=480,framerate=30/1;"
                  "image/jpeg,width=640,height=480,framerate=30/1;"
                  "video/x-raw,format=YUY2,width=640,height=480,framerate=15/1;"
                  "video/x-raw,format={ YUY2, NV12 },width=1280,height=720;"
                  "video/x-h264,width=1920,height=1080;"
                  "video/x-raw,format=YUY2,width=[ 16, 2592 ],height=[ 16, 1944 ]");
    // The rates of a repeated size gather in its one entry, fastest first.
    const QList<CCaptureFormat> expected {
        { 640, 480, QStringLiteral("YUY2"), { { 30, 1 }, { 15, 1 } } },
        { 640, 480, QStringLiteral("MJPG"), { { 30, 1 } } },
        { 1280, 720, QStringLiteral("YUY2"), {} },
        { 1280, 720, QStringLiteral("NV12"), {} },
        { 2592, 1944, QStringLiteral("YUY2"), {} },
    };
    EXPECT_EQ(formats, expected);
    EXPECT_TRUE(Parse("video/x-raw,width=640,height=480").isEmpty()); // no pixel format
}

TEST(DeviceSourceTest, RatesFromListsAndRanges)
{
    const QList<CCaptureFormat> formats =
            Parse("image/jpeg,width=1920,height=1080,framerate={ (fraction)15/1, (fraction)30/1,"
                  " (fraction)30000/1001 };"
                  "video/x-raw,format=YUY2,width=640,height=480,framerate=[ 5/1, 60/1 ];"
                  "video/x-raw,format=YUY2,width=320,height=240,framerate=0/1");
    ASSERT_EQ(formats.size(), 3);
    EXPECT_EQ(formats[0].frameRates, QList<CFrameRate>({ { 30, 1 }, { 30000, 1001 }, { 15, 1 } }));
    EXPECT_EQ(formats[1].frameRates, QList<CFrameRate>({ { 60, 1 }, { 5, 1 } }));
    // A variable rate (0/1) is no rate to ask for.
    EXPECT_TRUE(formats[2].frameRates.isEmpty());
}

TEST(DeviceSourceTest, PatternCameraOnlyWhenEnabled)
{
    // This machine has no camera node: the list is the Test Pattern or nothing.
    CGstDeviceSource source;
    QList<CCaptureDevice> devices;
    const QByteArray saved = qgetenv("KALVEX_TEST_CAMERA");
    qputenv("KALVEX_TEST_CAMERA", "0");
    const auto without = source.Enumerate(devices);
    qputenv("KALVEX_TEST_CAMERA", "1");
    const auto with = source.Enumerate(devices);
    qputenv("KALVEX_TEST_CAMERA", saved);
    if (without == CCaptureDeviceSource::EResult::Ok)
        GTEST_SKIP() << "a camera is connected";
    EXPECT_EQ(without, CCaptureDeviceSource::EResult::NoDevices);
    ASSERT_EQ(with, CCaptureDeviceSource::EResult::Ok);
    ASSERT_EQ(devices.size(), 1);
    EXPECT_EQ(devices[0].name, QStringLiteral("Test Pattern"));
    EXPECT_TRUE(devices[0].IsPatternSource());
    EXPECT_EQ(source.OpenControls(devices[0]), nullptr);
    QList<QSize> sizes;
    for (const CCaptureFormat& f : devices[0].formats)
        sizes.append(QSize(f.width, f.height));
    for (QSize wanted : { QSize(640, 480), QSize(800, 600), QSize(1280, 720), QSize(1280, 960),
                 QSize(1920, 1080), QSize(2592, 1944) })
        EXPECT_TRUE(sizes.contains(wanted)) << wanted.width() << "x" << wanted.height();
}

TEST(DeviceSourceTest, MissingNodeHasNoControls)
{
    EXPECT_EQ(CV4l2Controls::Open(QStringLiteral("/dev/video-kalvex-missing")), nullptr);
}

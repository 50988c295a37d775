#include "SysfsTree.h"

#include "capture/DeviceIdentity.h"

#include <gtest/gtest.h>

namespace {

CDeviceIdentity::CUsbInfo Usb(const char* vendor, const char* product, const char* serial,
        const char* port, const char* busInfo = "")
{
    return { QString::fromLatin1(vendor), QString::fromLatin1(product), QString::fromLatin1(serial),
        QString::fromLatin1(port), QString::fromLatin1(busInfo) };
}

} // namespace

TEST(DeviceIdentityTest, SerialBeatsPortAndPortBeatsBus)
{
    const QString name = QStringLiteral("USB Microscope");
    EXPECT_EQ(CDeviceIdentity::Compose(name, Usb("1BCF", "2C99", "SN 01", "1-2")),
            QStringLiteral("USB Microscope|usb:1bcf:2c99|serial:SN_01"));
    EXPECT_EQ(CDeviceIdentity::Compose(name, Usb("1bcf", "2c99", "", "1-2.3")),
            QStringLiteral("USB Microscope|usb:1bcf:2c99|port:1-2.3"));
    EXPECT_EQ(CDeviceIdentity::Compose(name, Usb("", "", "", "", "usb-0000:00:14.0-2")),
            QStringLiteral("USB Microscope|bus:usb-0000:00:14.0-2"));
    EXPECT_EQ(CDeviceIdentity::Compose(QStringLiteral(" Cam "), {}), QStringLiteral("Cam"));
    // The INI file's own characters never reach the text.
    const QString odd = CDeviceIdentity::Compose(name, Usb("1", "2", "a]b=c|d\n", ""));
    EXPECT_FALSE(odd.contains(QLatin1Char(']')) || odd.contains(QLatin1Char('='))
            || odd.contains(QLatin1Char('\n')))
            << odd.toStdString();
}

TEST(DeviceIdentityTest, SysfsGivesTheSameIdentityOnAnyVideoNumber)
{
    CSysfsTree sys;
    const QString scope = sys.AddUsbDevice(QStringLiteral("1-2"), QStringLiteral("1bcf"),
            QStringLiteral("2c99"), QStringLiteral("A1B2"));
    sys.AddVideo(scope, QStringLiteral("video0"));
    const QString plain = sys.AddUsbDevice(
            QStringLiteral("1-3"), QStringLiteral("046d"), QStringLiteral("0825"), QString());
    sys.AddVideo(plain, QStringLiteral("video2"));

    CDeviceIdentity::CUsbInfo usb;
    ASSERT_TRUE(CDeviceIdentity::ReadSysfs(sys.Root(), QStringLiteral("/dev/video0"), usb));
    EXPECT_EQ(usb.vendor, QStringLiteral("1bcf"));
    EXPECT_EQ(usb.serial, QStringLiteral("A1B2"));
    EXPECT_EQ(usb.port, QStringLiteral("1-2"));
    const QString first = CDeviceIdentity::Compose(QStringLiteral("Scope"), usb);

    // Replugged, the same camera is video4 now.
    sys.AddVideo(scope, QStringLiteral("video4"));
    CDeviceIdentity::CUsbInfo again;
    ASSERT_TRUE(CDeviceIdentity::ReadSysfs(sys.Root(), QStringLiteral("/dev/video4"), again));
    EXPECT_EQ(CDeviceIdentity::Compose(QStringLiteral("Scope"), again), first);

    CDeviceIdentity::CUsbInfo other;
    ASSERT_TRUE(CDeviceIdentity::ReadSysfs(sys.Root(), QStringLiteral("/dev/video2"), other));
    EXPECT_TRUE(other.serial.isEmpty());
    EXPECT_EQ(other.port, QStringLiteral("1-3"));

    CDeviceIdentity::CUsbInfo none;
    EXPECT_FALSE(CDeviceIdentity::ReadSysfs(sys.Root(), QStringLiteral("/dev/video9"), none));
}

TEST(DeviceIdentityTest, MonitorPropertiesFillOnlyWhatSysfsLeftOpen)
{
    CDeviceIdentity::CUsbInfo usb = Usb("1bcf", "", "", "");
    CDeviceIdentity::AddProperties(
            { { QStringLiteral("device.vendor.id"), QStringLiteral("ffff") },
                    { QStringLiteral("device.product.id"), QStringLiteral("2c99") },
                    { QStringLiteral("v4l2.device.bus_info"),
                            QStringLiteral("usb-0000:00:14.0-2") } },
            usb);
    EXPECT_EQ(usb.vendor, QStringLiteral("1bcf"));
    EXPECT_EQ(usb.product, QStringLiteral("2c99"));
    EXPECT_EQ(usb.busInfo, QStringLiteral("usb-0000:00:14.0-2"));
}

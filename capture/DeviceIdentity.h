#pragma once

#include "capture/TavoCapExport.h"

#include <QMap>
#include <QString>

/**
 * @brief The stable identity of a camera: what stays the same when it is replugged or the
 * machine restarts, unlike its /dev/videoN number.
 *
 * "Name|usb:VVVV:PPPP|serial:S" for a camera with a serial number (it keeps its identity on any
 * port), "Name|usb:VVVV:PPPP|port:1-2.3" for one without (it keeps it on the same port),
 * "Name|bus:..." when only the bus information is known, and the name alone otherwise.
 */
class TAVOCAP_EXPORT CDeviceIdentity
{
public:
    /** @brief The USB side of a camera, from sysfs or from the device monitor. */
    struct CUsbInfo
    {
        QString vendor; // "046d"
        QString product; // "0825"
        QString serial;
        QString port; // the USB device's sysfs name, "1-2.3"
        QString busInfo; // V4L2 bus information, "usb-0000:00:14.0-2"
    };

    /** @brief Builds the identity text from what is known. */
    static QString Compose(const QString& name, const CUsbInfo& usb);
    /** @brief Reads the USB device above the video node @p node ("/dev/video0") in sysfs under
     * @p sysRoot; false when the node has no USB parent there. */
    static bool ReadSysfs(const QString& sysRoot, const QString& node, CUsbInfo& usb);
    /** @brief Fills what sysfs left open from the device monitor's properties
     * ("device.vendor.id", "device.product.id", "v4l2.device.bus_info", ...). */
    static void AddProperties(const QMap<QString, QString>& properties, CUsbInfo& usb);
    /** @brief The sysfs folder of the USB device (the one with "idVendor") at or above
     * @p path; empty when there is none below @p sysRoot. */
    static QString UsbDeviceFolder(const QString& sysRoot, const QString& path);
};

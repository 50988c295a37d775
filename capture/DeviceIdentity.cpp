#include "capture/DeviceIdentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString ReadAttribute(const QString& folder, const char* name)
{
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(256)).trimmed();
}

// Section and key text must not carry the INI file's own separators.
QString Clean(QString text)
{
    for (QChar& c : text)
        if (c == QLatin1Char('|') || c == QLatin1Char('[') || c == QLatin1Char(']')
                || c == QLatin1Char('=') || c.isSpace() || !c.isPrint())
            c = QLatin1Char('_');
    return text;
}

} // namespace

QString CDeviceIdentity::Compose(const QString& name, const CUsbInfo& usb)
{
    QString identity = name.trimmed();
    if (!usb.vendor.isEmpty() && !usb.product.isEmpty())
        identity += QStringLiteral("|usb:%1:%2")
                            .arg(Clean(usb.vendor.toLower()), Clean(usb.product.toLower()));
    if (!usb.serial.isEmpty())
        identity += QStringLiteral("|serial:") + Clean(usb.serial);
    else if (!usb.port.isEmpty())
        identity += QStringLiteral("|port:") + Clean(usb.port);
    else if (!usb.busInfo.isEmpty())
        identity += QStringLiteral("|bus:") + Clean(usb.busInfo);
    return identity;
}

QString CDeviceIdentity::UsbDeviceFolder(const QString& sysRoot, const QString& path)
{
    const QString root = QFileInfo(sysRoot).canonicalFilePath();
    QString folder = QFileInfo(path).canonicalFilePath();
    if (root.isEmpty())
        return {};
    while (!folder.isEmpty() && folder.startsWith(root) && folder != root) {
        // Interfaces ("1-2:1.0") have no idVendor; the USB device above them has.
        if (QFileInfo::exists(folder + QStringLiteral("/idVendor")))
            return folder;
        folder = QFileInfo(folder).path();
    }
    return {};
}

bool CDeviceIdentity::ReadSysfs(const QString& sysRoot, const QString& node, CUsbInfo& usb)
{
    const QString videoName = QFileInfo(node).fileName();
    if (videoName.isEmpty())
        return false;
    const QString classDevice =
            sysRoot + QStringLiteral("/class/video4linux/") + videoName + QStringLiteral("/device");
    const QString folder = UsbDeviceFolder(sysRoot, classDevice);
    if (folder.isEmpty())
        return false;
    usb.vendor = ReadAttribute(folder, "idVendor");
    usb.product = ReadAttribute(folder, "idProduct");
    usb.serial = ReadAttribute(folder, "serial");
    usb.port = QFileInfo(folder).fileName();
    return true;
}

void CDeviceIdentity::AddProperties(const QMap<QString, QString>& properties, CUsbInfo& usb)
{
    auto fill = [&properties](QString& field, std::initializer_list<const char*> keys) {
        for (const char* key : keys) {
            if (!field.isEmpty())
                return;
            field = properties.value(QLatin1String(key)).trimmed();
        }
    };
    fill(usb.vendor, { "device.vendor.id" });
    fill(usb.product, { "device.product.id" });
    fill(usb.busInfo, { "v4l2.device.bus_info", "device.bus_path", "api.v4l2.cap.bus_info" });
}

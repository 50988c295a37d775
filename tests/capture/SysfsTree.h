#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A sysfs of one USB camera in a temporary folder: the USB device 1-2 with the video
// interface 1-2:1.0, below it video4linux/videoN and an input device with its event node, the
// class folders linking to them as the kernel's do.
class CSysfsTree
{
public:
    CSysfsTree() : m_root(m_dir.path()) { }

    QString Root() const { return m_root; }

    // The USB device folder, e.g. "1-2"; serial empty: the device has none.
    QString AddUsbDevice(const QString& port, const QString& vendor, const QString& product,
            const QString& serial)
    {
        const QString device = m_root + QStringLiteral("/devices/pci0000:00/usb1/") + port;
        QDir().mkpath(device);
        Write(device + QStringLiteral("/idVendor"), vendor);
        Write(device + QStringLiteral("/idProduct"), product);
        if (!serial.isEmpty())
            Write(device + QStringLiteral("/serial"), serial);
        return device;
    }
    void AddVideo(const QString& usbDevice, const QString& video)
    {
        const QString node = usbDevice + QLatin1Char('/') + QFileInfo(usbDevice).fileName()
                + QStringLiteral(":1.0/video4linux/") + video;
        QDir().mkpath(node);
        Link(QStringLiteral("/class/video4linux/") + video, node);
        // The class entry's "device" is the interface the node belongs to.
        QFile::link(
                QFileInfo(node).path() + QStringLiteral("/.."), node + QStringLiteral("/device"));
    }
    // keys: the key bitmap text, empty to leave the file out.
    void AddInput(const QString& usbDevice, const QString& input, const QString& event,
            const QString& keys)
    {
        const QString inputFolder = usbDevice + QLatin1Char('/') + QFileInfo(usbDevice).fileName()
                + QStringLiteral(":1.0/input/") + input;
        QDir().mkpath(inputFolder + QLatin1Char('/') + event);
        if (!keys.isEmpty()) {
            QDir().mkpath(inputFolder + QStringLiteral("/capabilities"));
            Write(inputFolder + QStringLiteral("/capabilities/key"), keys);
        }
        const QString eventFolder = inputFolder + QLatin1Char('/') + event;
        QFile::link(inputFolder, eventFolder + QStringLiteral("/device"));
        Link(QStringLiteral("/class/input/") + event, eventFolder);
    }

private:
    void Link(const QString& classEntry, const QString& target)
    {
        QDir().mkpath(QFileInfo(m_root + classEntry).path());
        QFile::link(target, m_root + classEntry);
    }
    static void Write(const QString& path, const QString& text)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8() + '\n');
    }

    QTemporaryDir m_dir;
    QString m_root;
};

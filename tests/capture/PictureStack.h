#pragma once

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

// Pictures on disc for the "Pictures" camera: solid colours, any size, in a folder of their own
// that goes with the fixture.
class CPictureStack
{
public:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString Folder() const { return m_dir.path(); }

    // Written in the format of the name's suffix.
    QString Add(const QString& name, QColor colour, int width = 64, int height = 48)
    {
        QImage picture(width, height, QImage::Format_RGB888);
        picture.fill(colour);
        picture.save(Path(name), nullptr, 100);
        return Path(name);
    }

    // An uncompressed RGB TIFF, which Qt cannot write without its extra plugins.
    QString AddTiff(const QString& name, QColor colour, int width, int height)
    {
        QByteArray tiff("II*\0", 4);
        const auto u16 = [&tiff](int v) {
            tiff.append(char(v & 0xFF)).append(char(v >> 8 & 0xFF));
        };
        const auto u32 = [&u16](int v) {
            u16(v & 0xFFFF);
            u16(v >> 16 & 0xFFFF);
        };
        const int entries = 9;
        const int bitsAt = 8 + 2 + entries * 12 + 4;
        const int pixelsAt = bitsAt + 6;
        u32(8);
        u16(entries);
        const auto entry = [&](int tag, int type, int count, int value) {
            u16(tag);
            u16(type);
            u32(count);
            type == 3 && count == 1 ? (u16(value), u16(0)) : u32(value);
        };
        entry(256, 3, 1, width);
        entry(257, 3, 1, height);
        entry(258, 3, 3, bitsAt);
        entry(259, 3, 1, 1); // no compression
        entry(262, 3, 1, 2); // RGB
        entry(273, 4, 1, pixelsAt);
        entry(277, 3, 1, 3);
        entry(278, 3, 1, height);
        entry(279, 4, 1, width * height * 3);
        u32(0);
        u16(8);
        u16(8);
        u16(8);
        for (int i = 0; i < width * height; ++i)
            tiff.append(char(colour.red()))
                    .append(char(colour.green()))
                    .append(char(colour.blue()));
        return AddBytes(name, tiff);
    }

    QString AddBytes(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return Path(name);
    }

private:
    QTemporaryDir m_dir;
};

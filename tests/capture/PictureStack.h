#pragma once

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <array>
#include <initializer_list>

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
        QByteArray tiff("II*\0\x08\0\0\0", 8);
        const auto add = [&tiff](uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                tiff.append(char(value >> (8 * i)));
        };
        const int entries = 9;
        const int bitsAt = 8 + 2 + entries * 12 + 4;
        add(entries, 2);
        // Tag, type (3 short, 4 long), count, value: width, height, bits, no compression, RGB,
        // pixels, samples, rows per strip, pixel bytes.
        for (const auto& [tag, type, count, value] : std::initializer_list<std::array<int, 4>> {
                     { 256, 3, 1, width }, { 257, 3, 1, height }, { 258, 3, 3, bitsAt },
                     { 259, 3, 1, 1 }, { 262, 3, 1, 2 }, { 273, 4, 1, bitsAt + 6 },
                     { 277, 3, 1, 3 }, { 278, 3, 1, height }, { 279, 4, 1, width * height * 3 } }) {
            add(tag, 2);
            add(type, 2);
            add(count, 4);
            add(value, 4);
        }
        add(0, 4);
        add(0x00080008, 4);
        add(8, 2);
        for (int i = 0; i < width * height; ++i)
            add(colour.red() | colour.green() << 8 | colour.blue() << 16, 3);
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

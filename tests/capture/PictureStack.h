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

#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// One file written whole or not at all: the bytes go to a temporary file beside the target,
// unbuffered so that a full disk fails the write that hit it, and only a temporary file that
// took every byte and reached the disk is renamed over the target. Any failure keeps the old
// file as it was and leaves the system's reason in ErrorString().
class CAtomicFile
{
public:
    explicit CAtomicFile(const QString& path);
    ~CAtomicFile(); // an uncommitted write is dropped
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    bool Open();
    // Writes all of it; a short write is retried until the system gives a reason.
    bool Write(const char* data, qint64 size);
    bool Write(const QByteArray& bytes) { return Write(bytes.constData(), bytes.size()); }
    bool Seek(qint64 position);
    qint64 Pos() const { return m_file.pos(); }
    qint64 Size() const { return m_file.size(); }

    // Replaces the target; false (and nothing replaced) after any failed write.
    bool Commit();
    void Cancel();

    bool Failed() const { return m_failed; }
    const QString& ErrorString() const { return m_error; }
    const QString& Path() const { return m_path; }

    static bool WriteAll(const QString& path, const QByteArray& bytes, QString* error = nullptr);

private:
    bool Fail(const QString& reason);

    QString m_path;
    QSaveFile m_file;
    QString m_error;
    bool m_open = false;
    bool m_failed = false;
};

#include "base/AtomicFile.h"

#include <QCoreApplication>

#include <cerrno>
#include <unistd.h>

CAtomicFile::CAtomicFile(const QString& path) : m_path(path), m_file(path) { }

CAtomicFile::~CAtomicFile()
{
    Cancel();
}

bool CAtomicFile::Fail(const QString& reason)
{
    if (!m_failed)
        m_error = reason;
    m_failed = true;
    return false;
}

bool CAtomicFile::Open()
{
    if (m_path.isEmpty())
        return Fail(QCoreApplication::translate("CAtomicFile", "No file name."));
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Fail(m_file.errorString());
    m_open = true;
    return true;
}

bool CAtomicFile::Write(const char* data, qint64 size)
{
    if (!m_open || m_failed)
        return Fail(m_file.errorString());
    while (size > 0) {
        const qint64 written = m_file.write(data, size);
        if (written <= 0)
            return Fail(m_file.errorString());
        data += written;
        size -= written;
    }
    return true;
}

bool CAtomicFile::Seek(qint64 position)
{
    if (!m_open || m_failed || !m_file.seek(position))
        return Fail(m_file.errorString());
    return true;
}

bool CAtomicFile::Commit()
{
    if (!m_open || m_failed) {
        Cancel();
        return Fail(m_file.errorString());
    }
    // Delayed allocation can report a full disk only here; the rename waits for the data.
    if (::fsync(m_file.handle()) != 0) {
        const int error = errno;
        Cancel();
        return Fail(qt_error_string(error));
    }
    m_open = false;
    if (!m_file.commit())
        return Fail(m_file.errorString());
    return true;
}

void CAtomicFile::Cancel()
{
    if (!m_open)
        return;
    m_open = false;
    m_file.cancelWriting();
    m_file.commit(); // with the write cancelled this only removes the temporary file
}

bool CAtomicFile::WriteAll(const QString& path, const QByteArray& bytes, QString* error)
{
    CAtomicFile file(path);
    const bool ok = file.Open() && file.Write(bytes) && file.Commit();
    if (!ok && error)
        *error = file.ErrorString();
    return ok;
}

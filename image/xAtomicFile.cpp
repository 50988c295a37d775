#include "image/xAtomicFile.h"

#include "base/AtomicFile.h"

#include <cstdio>

size_t CxAtomicFile::Write(const void* buffer, size_t size, size_t count)
{
    if (!buffer || size == 0 || count == 0)
        return 0;
    return m_file.Write(static_cast<const char*>(buffer), qint64(size * count)) ? count : 0;
}

bool CxAtomicFile::Seek(int64_t offset, int origin)
{
    qint64 target = offset;
    if (origin == SEEK_CUR)
        target += m_file.Pos();
    else if (origin == SEEK_END)
        target += m_file.Size();
    return m_file.Seek(target);
}

int64_t CxAtomicFile::Tell()
{
    return m_file.Pos();
}

int64_t CxAtomicFile::Size()
{
    return m_file.Size();
}

bool CxAtomicFile::Flush()
{
    return !m_file.Failed();
}

long CxAtomicFile::Error()
{
    return m_file.Failed() ? 1 : 0;
}

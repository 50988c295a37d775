#include "image/xIOFile.h"

#include <QFile>

CxIOFile::CxIOFile(FILE* stream) : m_stream(stream) { }

CxIOFile::~CxIOFile()
{
    Close();
}

bool CxIOFile::Open(const QString& fileName, const char* mode)
{
    if (m_stream)
        return false;
    m_stream = std::fopen(QFile::encodeName(fileName).constData(), mode);
    m_owned = m_stream != nullptr;
    return m_stream != nullptr;
}

bool CxIOFile::Close()
{
    if (!m_stream)
        return false;
    int rc = 0;
    if (m_owned)
        rc = std::fclose(m_stream);
    m_stream = nullptr;
    m_owned = false;
    return rc == 0;
}

size_t CxIOFile::Read(void* buffer, size_t size, size_t count)
{
    if (!m_stream || !buffer)
        return 0;
    return std::fread(buffer, size, count, m_stream);
}

size_t CxIOFile::Write(const void* buffer, size_t size, size_t count)
{
    if (!m_stream || !buffer)
        return 0;
    return std::fwrite(buffer, size, count, m_stream);
}

bool CxIOFile::Seek(int64_t offset, int origin)
{
    if (!m_stream)
        return false;
    return fseeko(m_stream, static_cast<off_t>(offset), origin) == 0;
}

int64_t CxIOFile::Tell()
{
    if (!m_stream)
        return 0;
    return ftello(m_stream);
}

int64_t CxIOFile::Size()
{
    if (!m_stream)
        return -1;
    const off_t pos = ftello(m_stream);
    if (pos < 0 || fseeko(m_stream, 0, SEEK_END) != 0)
        return -1;
    const off_t size = ftello(m_stream);
    fseeko(m_stream, pos, SEEK_SET);
    return size;
}

bool CxIOFile::Flush()
{
    if (!m_stream)
        return false;
    return std::fflush(m_stream) == 0;
}

bool CxIOFile::Eof()
{
    if (!m_stream)
        return true;
    return std::feof(m_stream) != 0;
}

long CxIOFile::Error()
{
    if (!m_stream)
        return -1;
    return std::ferror(m_stream);
}

long CxIOFile::GetC()
{
    if (!m_stream)
        return -1;
    return std::getc(m_stream);
}

char* CxIOFile::GetS(char* buffer, int size)
{
    if (!m_stream)
        return nullptr;
    return std::fgets(buffer, size, m_stream);
}

long CxIOFile::Scanf(const char* format, void* output)
{
    if (!m_stream)
        return -1;
    return std::fscanf(m_stream, format, output);
}

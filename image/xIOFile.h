#pragma once

#include "image/xFile.h"

#include <QString>

#include <cstdio>

// CxFile over a C stdio stream. A stream handed in is borrowed; one opened by Open is owned and
// closed by Close or destruction.
class CxIOFile : public CxFile
{
public:
    explicit CxIOFile(FILE* stream = nullptr);
    ~CxIOFile() override;
    CxIOFile(const CxIOFile&) = delete;
    CxIOFile& operator=(const CxIOFile&) = delete;

    bool Open(const QString& fileName, const char* mode);
    bool IsOpen() const { return m_stream != nullptr; }
    FILE* Stream() const { return m_stream; }

    bool Close() override;
    size_t Read(void* buffer, size_t size, size_t count) override;
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() override;
    int64_t Size() override;
    bool Flush() override;
    bool Eof() override;
    long Error() override;
    long GetC() override;
    char* GetS(char* buffer, int size) override;
    long Scanf(const char* format, void* output) override;

private:
    FILE* m_stream = nullptr;
    bool m_owned = false;
};

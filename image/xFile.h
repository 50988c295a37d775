#pragma once

#include <cstddef>
#include <cstdint>

// Byte stream the codecs read from and write to, so that they do not care whether the bytes
// live in a stdio stream or elsewhere.
class CxFile
{
public:
    virtual ~CxFile() = default;

    virtual bool Close() = 0;
    virtual size_t Read(void* buffer, size_t size, size_t count) = 0;
    virtual size_t Write(const void* buffer, size_t size, size_t count) = 0;
    virtual bool Seek(int64_t offset, int origin) = 0;
    virtual int64_t Tell() = 0;
    virtual int64_t Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    virtual long Error() = 0;
    virtual bool PutC(unsigned char c) { return Write(&c, 1, 1) == 1; }
    virtual long GetC() = 0;
    virtual char* GetS(char* buffer, int size) = 0;
    virtual long Scanf(const char* format, void* output) = 0;
};

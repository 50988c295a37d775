#pragma once

#include "image/xFile.h"

class CAtomicFile;

// CxFile over a CAtomicFile, so that a codec's output replaces the target only when the whole
// picture is on disk. Write only.
class CxAtomicFile : public CxFile
{
public:
    explicit CxAtomicFile(CAtomicFile& file) : m_file(file) { }

    bool Close() override { return true; }
    size_t Read(void*, size_t, size_t) override { return 0; }
    size_t Write(const void* buffer, size_t size, size_t count) override;
    bool Seek(int64_t offset, int origin) override;
    int64_t Tell() override;
    int64_t Size() override;
    bool Flush() override;
    bool Eof() override { return true; }
    long Error() override;
    long GetC() override { return -1; }
    char* GetS(char*, int) override { return nullptr; }
    long Scanf(const char*, void*) override { return -1; }

private:
    CAtomicFile& m_file;
};

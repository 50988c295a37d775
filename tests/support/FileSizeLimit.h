#pragma once

#include <csignal>
#include <sys/resource.h>

// Stands in for a full disk while it lives: no file of this process grows past `bytes`, and a
// write past the limit fails with EFBIG instead of raising SIGXFSZ.
class CFileSizeLimit
{
public:
    explicit CFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = m_old;
        small.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~CFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

    bool Active() const { return m_active; }

private:
    struct rlimit m_old = {};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

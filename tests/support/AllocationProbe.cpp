#include "AllocationProbe.h"

#include <atomic>

namespace {
std::atomic<bool> g_watching { false };
std::atomic<size_t> g_largest { 0 };

void note(size_t bytes)
{
    if (!g_watching.load(std::memory_order_relaxed))
        return;
    size_t seen = g_largest.load(std::memory_order_relaxed);
    while (bytes > seen && !g_largest.compare_exchange_weak(seen, bytes)) { }
}
} // namespace

#ifdef KALVEX_ALLOCATION_PROBE
// glibc's own entry points; the definitions below stand in front of them for the whole program.
extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);

extern "C" void* malloc(size_t bytes)
{
    note(bytes);
    return __libc_malloc(bytes);
}

extern "C" void* calloc(size_t count, size_t size)
{
    note(count * size);
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* block, size_t bytes)
{
    note(bytes);
    return __libc_realloc(block, bytes);
}
#endif

CAllocationProbe::CAllocationProbe()
{
    g_largest = 0;
    g_watching = true;
}

CAllocationProbe::~CAllocationProbe()
{
    g_watching = false;
}

bool CAllocationProbe::Available()
{
#ifdef KALVEX_ALLOCATION_PROBE
    return true;
#else
    return false;
#endif
}

size_t CAllocationProbe::Largest() const
{
    return g_largest;
}

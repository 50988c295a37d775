#include "imgproc/WideInstructions.h"

#include <atomic>

namespace {

std::atomic<bool> g_allowed { true };

} // namespace

bool UseWideInstructions()
{
#if defined(KALVEX_X86_DISPATCH)
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    return hasAvx2 && g_allowed.load(std::memory_order_relaxed);
#else
    return false;
#endif
}

void AllowWideInstructions(bool allowed)
{
    g_allowed = allowed;
}

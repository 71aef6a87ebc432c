#include "engine/dab_kernels.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace nelmora {

namespace kernels_scalar {
extern const DabKernels table;
}
#if defined(NELMORA_X86_KERNELS)
namespace kernels_sse2 {
extern const DabKernels table;
}
namespace kernels_avx2 {
extern const DabKernels table;
}
#endif

namespace {

const DabKernels* best()
{
    for (SimdLevel level : {SimdLevel::avx2, SimdLevel::sse2})
        if (const DabKernels* table = dabKernelsFor(level)) return table;
    return &kernels_scalar::table;
}

// NELMORA_SIMD names a level; an unknown or unavailable one gives the best.
const DabKernels* fromEnvironment()
{
    const char* name = std::getenv("NELMORA_SIMD");
    if (name)
        for (SimdLevel level : {SimdLevel::scalar, SimdLevel::sse2, SimdLevel::avx2})
            if (std::strcmp(name, simdLevelName(level)) == 0)
                if (const DabKernels* table = dabKernelsFor(level)) return table;
    return best();
}

std::atomic<const DabKernels*>& active()
{
    static std::atomic<const DabKernels*> table{fromEnvironment()};
    return table;
}

}  // namespace

const DabKernels* dabKernelsFor(SimdLevel level)
{
    switch (level) {
    case SimdLevel::scalar: return &kernels_scalar::table;
#if defined(NELMORA_X86_KERNELS)
    case SimdLevel::sse2: return &kernels_sse2::table;
    case SimdLevel::avx2: {
        static const bool hasAvx2 = [] {
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx2") != 0;
        }();
        return hasAvx2 ? &kernels_avx2::table : nullptr;
    }
#endif
    default: return nullptr;
    }
}

const DabKernels& dabKernels() { return *active().load(std::memory_order_relaxed); }

bool setSimdLevel(SimdLevel level)
{
    const DabKernels* table = dabKernelsFor(level);
    if (!table) return false;
    active().store(table, std::memory_order_relaxed);
    return true;
}

const char* simdLevelName(SimdLevel level)
{
    switch (level) {
    case SimdLevel::scalar: return "scalar";
    case SimdLevel::sse2: return "sse2";
    case SimdLevel::avx2: return "avx2";
    }
    return "?";
}

}  // namespace nelmora

// The AVX2 level: built with -mavx2 and only ever called after the CPU
// reported AVX2.
#define NELMORA_KERNEL_NS kernels_avx2
#define NELMORA_KERNEL_LEVEL SimdLevel::avx2
#include "engine/dab_kernels_impl.h"

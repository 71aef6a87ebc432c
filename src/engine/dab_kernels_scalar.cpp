// The portable level: plain C++, built with vectorisation off so that it is
// the one-pixel-at-a-time path on every architecture.
#define NELMORA_KERNEL_NS kernels_scalar
#define NELMORA_KERNEL_LEVEL SimdLevel::scalar
#include "engine/dab_kernels_impl.h"

#pragma once
// The plain pixel-at-a-time dab (the same code as the tests' oracle), built
// with the benchmarks' flags as the baseline the engine's speed-ups are
// measured against.

#include <cstdint>

#include "engine/random.h"
#include "image/image.h"
#include "pen/pen.h"

namespace nelmora {

int32_t drawDabPlain(Image& image, const ShapeMap& shape, SlotValues& values, int32_t code, int32_t x, int32_t y,
                     RandomState& random);

}  // namespace nelmora

#pragma once
// A literal, pixel-at-a-time rendering of a dab, kept as the oracle that the
// engine's row-wise drawDab is compared against.

#include <cstdint>

#include "engine/random.h"
#include "image/image.h"
#include "pen/pen.h"

namespace nelmora {

int32_t drawDabReference(Image& image, const ShapeMap& shape, SlotValues& values, int32_t code, int32_t x,
                         int32_t y, RandomState& random);

}  // namespace nelmora

#pragma once
// One stamp of a pen: the shape map scaled by the thickness value, rotated by
// the angle value, shifted by the placement values and laid into the image at
// a 24.8 position through a blend mode.

#include <cstdint>

#include "engine/random.h"
#include "image/image.h"
#include "pen/pen.h"

namespace nelmora {

// code is a blend-mode code (0x101..0x402), x and y the dab centre in 24.8.
// Returns 0 when the thickness gives no size (nothing touched), else 1; the
// dab's box is merged into image.update for every code. The diffusions draw
// from `random`. In the color group
// the color and strength entries of `values` are clamped to 0..0xFFFF in place.
int32_t drawDab(Image& image, const ShapeMap& shape, SlotValues& values, int32_t code, int32_t x, int32_t y,
                RandomState& random);

}  // namespace nelmora

#pragma once
// The pen creator's slider defaults, which its creation writes into both
// pens: a round pen, opaque to half its radius, fading to the rim, no noise.

#include "app/app_state.h"

namespace nelmora {

inline constexpr ShapeSettings kDefaultShapeSettings{0, 0x8000, 0, 0x10000, 0xFFFF, 0x10000, 0, 0, 0, 0};
inline constexpr int32_t kDefaultBlendIndex = 0;

// Sets blendIndex and the ShapeSettings block of pens 0 and 1 to the defaults.
void applyPenCreatorDefaults(AppState& state);

}  // namespace nelmora

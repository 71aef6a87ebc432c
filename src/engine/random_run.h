#pragma once
// Many numbers of the pseudo-random generator at once, for the dabs that draw
// one per covered pixel.
#include <cstdint>

#include "engine/random.h"

namespace nelmora {

// The next `count` numbers, exactly as `count` calls of drawRandom give them.
void drawRandomRun(RandomState& random, int32_t count, int32_t* out);

}  // namespace nelmora

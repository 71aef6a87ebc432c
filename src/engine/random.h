#pragma once
// The single program-wide 15-bit pseudo-random generator. It is never seeded:
// every run draws the same sequence, so a stroke repeats exactly.

#include <cstdint>

namespace nelmora {

// 0..32767; the state starts at 1.
int32_t drawRandom();

// For tests and the render tool, which must start from a known state.
uint32_t randomState();
void setRandomState(uint32_t state);

}  // namespace nelmora

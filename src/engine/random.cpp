#include "engine/random.h"

namespace nelmora {

namespace {
uint32_t state = 1;
}

int32_t drawRandom()
{
    state = state * 214013u + 2531011u;
    return int32_t((state >> 16) & 0x7FFF);
}

uint32_t randomState() { return state; }
void setRandomState(uint32_t newState) { state = newState; }

}  // namespace nelmora

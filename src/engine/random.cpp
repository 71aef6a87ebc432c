#include "engine/random.h"

namespace nelmora {

int32_t drawRandom(RandomState& random)
{
    random.value = random.value * 214013u + 2531011u;
    return int32_t((random.value >> 16) & 0x7FFF);
}

}  // namespace nelmora

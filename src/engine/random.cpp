#include "engine/random.h"
#include "engine/random_run.h"

namespace nelmora {

namespace {

// The generator's step: value = value * kMultiplier + kIncrement.
constexpr uint32_t kMultiplier = 214013u, kIncrement = 2531011u;
constexpr int32_t kLanes = 8;

// value after k + 1 steps = multiplier[k] * value + increment[k]: each lane
// jumps ahead from the same value, so the lanes draw independently.
struct JumpAhead {
    uint32_t multiplier[kLanes], increment[kLanes];
    constexpr JumpAhead() : multiplier(), increment()
    {
        uint32_t m = 1, c = 0;
        for (int32_t k = 0; k < kLanes; ++k) {
            m *= kMultiplier;
            c = c * kMultiplier + kIncrement;
            multiplier[k] = m, increment[k] = c;
        }
    }
};
constexpr JumpAhead kJump;

}  // namespace

int32_t drawRandom(RandomState& random)
{
    random.value = random.value * kMultiplier + kIncrement;
    return int32_t((random.value >> 16) & 0x7FFF);
}

void drawRandomRun(RandomState& random, int32_t count, int32_t* out)
{
    uint32_t value = random.value;
    int32_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        for (int32_t k = 0; k < kLanes; ++k)
            out[i + k] = int32_t(((kJump.multiplier[k] * value + kJump.increment[k]) >> 16) & 0x7FFF);
        value = kJump.multiplier[kLanes - 1] * value + kJump.increment[kLanes - 1];
    }
    for (; i < count; ++i) {
        value = value * kMultiplier + kIncrement;
        out[i] = int32_t((value >> 16) & 0x7FFF);
    }
    random.value = value;
}

}  // namespace nelmora

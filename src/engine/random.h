#pragma once
// The 15-bit pseudo-random generator. It is never seeded: the document's
// generator starts at 1 every run, so the same strokes repeat exactly.

#include <cstdint>

namespace nelmora {

struct RandomState {
    uint32_t value = 1;
};

// 0..32767; advances `random`.
int32_t drawRandom(RandomState& random);

}  // namespace nelmora

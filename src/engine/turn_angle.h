#pragma once
// Directions in the program's angle unit, 1/65536 of a turn: the motion
// angles the engine measures and the pen angle a tablet reports agree.

#include <cstdint>
#include <numbers>

#include "engine/wrap_int.h"

namespace nelmora {

// A direction in 1/65536 turn from an atan2 result, turned by half a circle.
inline int32_t turnAngle(double radians)
{
    return (truncToInt32(radians * 65536.0 / 2.0 / std::numbers::pi) + 0x8000) & 0xFFFF;
}

}  // namespace nelmora

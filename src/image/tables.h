#pragma once
// The trigonometric tables (angles in 1/65536 turn, values x256) and the
// scratch image that displacement and filter dabs compute into. Both are
// built on first use and live for the whole process, shared by every document.

#include <array>
#include <cstdint>

#include "image/image.h"

namespace nelmora {

inline constexpr int kTableSize = 65536;
// The 14-digit value the tables and the color field are defined with; the
// stroke engine's angles use the nearest double instead.
inline constexpr double kPi = 3.14159265358979;

using TrigTable = std::array<int32_t, kTableSize>;
const TrigTable& sinTable();
const TrigTable& cosTable();

// The scratch image as a width x height view (stride = width) of one buffer
// that grows to the largest pixel count asked for, so a box never needs more
// than its own area. The view is valid until the next call. Null, with the
// buffer kept, for a size createImage would refuse or when memory runs out.
Image* scratchImageOfSize(int32_t width, int32_t height);

}  // namespace nelmora

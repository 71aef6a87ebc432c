#pragma once
// The 34 live drawing values that pen slots read by index. Index 0 is "no
// source" and always 0. Pens store these indices, so the order is data.

#include <array>
#include <cstdint>

#include "text/name_list.h"

namespace nelmora {

inline constexpr int kDrawingValueCount = 34;
using DrawingValues = std::array<int32_t, kDrawingValueCount>;

namespace dv {
enum : int {
    none, hue1, saturation1, brightness1, hue2, saturation2, brightness2,
    thickness1, interval, angle1, strength1, moveDistance, moveAngle, pressure, penAngle,
    type1, ex1, ex2, ex3, ex4, ex5, ex6, thickness2, angle2, strength2,
    acceleration, accelerationAngle, type2, random1, random2, random3, count1, count2, count3,
};
}

// Zeroes every entry, then sets the start values (both colors hue 0,
// saturation 40000, brightness 0xFFFF; thickness 1.0; interval 10000 ...).
void resetDrawingValues(DrawingValues& values);

// The 34 source labels ("----- ", "色相１" ...) as 7-byte Shift-JIS fields.
const NameList& sourceLabels();

// The drawing value each line-option row edits, in row order. Rows 8-11 pair
// "種類2" with ex1, "EX 1 " with ex2, "EX 2 " with ex3 and "EX 3 " with type2.
inline constexpr int kLineOptionCount = 15;
inline constexpr std::array<int, kLineOptionCount> lineOptionValues{
    dv::thickness1, dv::strength1, dv::interval, dv::angle1, dv::type1,  dv::thickness2, dv::strength2, dv::angle2,
    dv::ex1,        dv::ex2,       dv::ex3,      dv::type2,  dv::ex4,    dv::ex5,        dv::ex6,
};

}  // namespace nelmora

#pragma once
// The stroke engine turns the mouse points of one drag into dabs, for one pen.
// The canvas calls beginStroke at the button-down point, continueStroke for
// every later point and, when the pen asks for it, endStroke at the release.

#include <array>
#include <cstdint>

#include "engine/random.h"
#include "image/image.h"
#include "pen/drawing_values.h"
#include "pen/pen.h"

namespace nelmora {

// The drawing values the stroke calls write; every other one is only read.
inline constexpr std::array<int, 8> kStrokeMovedValues{dv::moveDistance, dv::acceleration, dv::accelerationAngle,
                                                     dv::random1,      dv::random2,      dv::count1,
                                                     dv::count2,       dv::count3};

// Every random number of a stroke (jitter, random1..3, diffusion) comes from `random`.
void beginStroke(Image* image, Pen* pen, DrawingValues& values, RandomState& random, int32_t x, int32_t y);
void continueStroke(Image* image, Pen* pen, DrawingValues& values, RandomState& random, int32_t x, int32_t y);
void endStroke(Image* image, Pen* pen, DrawingValues& values, RandomState& random, int32_t x, int32_t y);

}  // namespace nelmora

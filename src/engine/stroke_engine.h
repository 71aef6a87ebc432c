#pragma once
// The stroke engine turns the mouse points of one drag into dabs, for one pen.
// The canvas calls beginStroke at the button-down point, continueStroke for
// every later point and, when the pen asks for it, endStroke at the release.

#include <cstdint>

#include "engine/random.h"
#include "image/image.h"
#include "pen/drawing_values.h"
#include "pen/pen.h"

namespace nelmora {

// Every random number of a stroke (jitter, random1..3, diffusion) comes from `random`.
void beginStroke(Image* image, Pen* pen, DrawingValues& values, RandomState& random, int32_t x, int32_t y);
void continueStroke(Image* image, Pen* pen, DrawingValues& values, RandomState& random, int32_t x, int32_t y);
void endStroke(Image* image, Pen* pen, DrawingValues& values, RandomState& random, int32_t x, int32_t y);

}  // namespace nelmora

#pragma once
// The stroke engine turns the mouse points of one drag into dabs, for one pen.
// The canvas calls beginStroke at the button-down point, continueStroke for
// every later point and, when the pen asks for it, endStroke at the release.

#include <cstdint>

#include "image/image.h"
#include "pen/drawing_values.h"
#include "pen/pen.h"

namespace nelmora {

void beginStroke(Image* image, Pen* pen, DrawingValues& values, int32_t x, int32_t y);
void continueStroke(Image* image, Pen* pen, DrawingValues& values, int32_t x, int32_t y);
void endStroke(Image* image, Pen* pen, DrawingValues& values, int32_t x, int32_t y);

}  // namespace nelmora

#pragma once
// Slot evaluation: each of a pen's twenty slots turns up to two drawing values
// into one dab parameter, plus a constant and a random jitter.

#include <cstdint>

#include "engine/random.h"
#include "pen/drawing_values.h"
#include "pen/pen.h"

namespace nelmora {

// out[i] = base + J + ((scaleA >> 8) * sources[sourceA] >> 8) + ((scaleB >> 8) * sources[sourceB] >> 8),
// in 32-bit wraparound arithmetic. With a jitter source, one random value is
// drawn from it per slot in slot order (also where a slot's jitter is 0);
// without one J = 0. Source indices outside 0..33 read as 0.
void evaluateSlots(const DrawingValues& sources, const PenParam* params, RandomState* jitter, SlotValues& out);

// Blends the previous point's values into the end values with weight w
// (0..256 on `end`), adds the per-dab increment, and takes angle slots the
// short way round the circle.
void interpolateSlots(const SlotValues& end, const SlotValues& previous, const SlotValues& increment, int32_t w,
                      SlotValues& out);

// True for the slots whose values are angles and wrap when interpolated.
bool isWrappingSlot(int slotIndex);

}  // namespace nelmora

#pragma once
// What a click does to a parameter slider's value. There is no drag: only the
// position of the press counts.

#include <cstdint>

#include "pentools/slider_row.h"

namespace nelmora {

// The value after a left press at client column x of a control with client
// width `width`. The step buttons "<" and ">" at the right end move by one
// step and clamp; a press on the bar sets the value there, rounded to the
// nearest step on small ranges; a press on the label or the number changes nothing.
int32_t sliderLeftClick(const SliderRecord& record, int32_t value, int32_t x, int32_t width);

// A right press restores the default, wherever it lands.
inline int32_t sliderRightClick(const SliderRecord& record) { return record.defaultValue; }

}  // namespace nelmora

#pragma once
// What the mouse does to a parameter slider's value: a press, a drag that
// began on the bar, and the step buttons and the wheel, which step it.

#include <cstdint>

#include "pentools/slider_row.h"

namespace nelmora {

// The parts of a control with client width W, left to right.
enum class SliderPart { bar, text, stepDown, stepUp };
SliderPart sliderPartAt(const SliderRecord& record, int32_t x, int32_t width);

// The value after a left press at client column x of a control with client
// width `width`. The step buttons "<" and ">" at the right end move by one
// step and clamp; a press on the bar sets the value there, rounded to the
// nearest step on small ranges; a press on the label or the number changes nothing.
int32_t sliderLeftClick(const SliderRecord& record, int32_t value, int32_t x, int32_t width);

// A drag that began on the bar: the press's rule at column x held on the bar,
// so the pointer may leave the control on either side.
int32_t sliderBarDrag(const SliderRecord& record, int32_t value, int32_t x, int32_t width);

// `steps` steps up (negative: down), as the step buttons and the wheel move.
// Only the moved end clamps: a value already outside the range that steps
// away from the limit stays out of it.
int32_t sliderStep(const SliderRecord& record, int32_t value, int32_t steps);

// A right press restores the default, wherever it lands.
inline int32_t sliderRightClick(const SliderRecord& record) { return record.defaultValue; }

}  // namespace nelmora

#pragma once
// What a parameter slider shows: the bar picture composed in the shared strip,
// and the texts drawn over it.

#include <cstdint>
#include <string>
#include <string_view>

#include "image/image.h"
#include "pentools/slider_row.h"

namespace nelmora {

// The one strip every slider composes its picture on; controls are at most this big inside.
inline constexpr int32_t kSliderStripWidth = 400;
inline constexpr int32_t kSliderStripHeight = 40;

inline constexpr size_t kSliderLabelBytes = 5;
inline constexpr size_t kSliderNumberBytes = 7;

// Composes the picture of a control with client size width x height into the
// strip's top-left corner: the shaded bar up to the value, the grey empty
// part, the text area after the bar's end line, and the dotted default mark.
// Values outside min..max are drawn as they are; nothing is written outside
// the strip or outside columns 0..width-1.
void composeSliderPicture(Image& strip, const SliderRecord& record, int32_t value, int32_t width,
                          int32_t height);

// Exactly 7 Shift-JIS bytes: " " and the name, right-aligned in 6 bytes, when
// the record has a name list; otherwise the shown number in 5 places, the unit
// and a blank ("  100% "). An index outside the list shows as a number.
std::string sliderNumberText(const SliderRecord& record, int32_t value);

// The label as drawn: its first 5 bytes.
std::string_view sliderLabelText(const SliderRecord& record);

}  // namespace nelmora

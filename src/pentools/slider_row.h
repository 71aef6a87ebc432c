#pragma once
// The parameter slider's data: the static row every slider table is made of,
// and the record one control keeps. Qt-free, so the picture and the clicks can
// be computed and tested without a display.

#include <cstdint>
#include <string>
#include <string_view>

#include "text/name_list.h"

namespace nelmora {

// One row of a static slider table. Texts are UTF-8 here and become Shift-JIS
// in the record, where their widths count in bytes ("ﾟ" is the one byte 0xDF).
struct SliderRow {
    std::string_view label;  // only the first 5 Shift-JIS bytes are drawn
    uint32_t colorStart;    // bar color at the left end, 0x00RRGGBB
    uint32_t colorEnd;      // bar color at the right end
    std::string_view unit;   // up to 3 Shift-JIS bytes: "%", "ﾟ", " ", "_"
    int32_t min;
    int32_t defaultValue;
    int32_t max;
    int32_t divisor;     // shown number = value x multiplier / divisor
    int32_t multiplier;
    int32_t step;        // what one step button adds or removes
    int32_t width;       // outer size of the control
    int32_t height;
    int32_t xOffset;     // added to the owner's left margin
    int32_t pitch;       // distance from this control's top to the next one's
};

// How one control looks and steps. The edited integer lives elsewhere; the
// control reads and writes it through its binding.
struct SliderRecord {
    std::string label;  // Shift-JIS
    uint32_t colorStart = 0;
    uint32_t colorEnd = 0;
    std::string unit;   // Shift-JIS
    int32_t min = 0;
    int32_t defaultValue = 0;
    int32_t max = 0;
    int32_t divisor = 1;
    int32_t multiplier = 1;
    int32_t step = 1;
    const NameList* nameList = nullptr;  // shows names instead of numbers when set
    bool compact = false;                // no label, and a bar 27 pixels longer
};

SliderRecord makeSliderRecord(const SliderRow& row, const NameList* nameList = nullptr, bool compact = false);

// Geometry of a control with client width W: the bar runs over columns 0..A.
int32_t sliderBarLength(int32_t clientWidth, bool compact);
// Column of `value` on a bar of length A: (value - min) x A / (max - min),
// truncated toward zero and computed wide, so far out-of-range values cannot
// overflow; 0 when the range is empty.
int64_t sliderPosition(const SliderRecord& record, int64_t value, int32_t barLength);

}  // namespace nelmora

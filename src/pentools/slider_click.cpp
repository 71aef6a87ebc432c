#include "pentools/slider_click.h"

#include <algorithm>
#include <limits>

namespace nelmora {

namespace {

int32_t toInt32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

SliderPart sliderPartAt(const SliderRecord& record, int32_t x, int32_t width)
{
    const int32_t barLength = sliderBarLength(width, record.compact);
    const int64_t pastBar = int64_t(x) - barLength;
    // Both variants put "<" at W - 19 .. W - 10 and ">" from W - 9 on.
    const int32_t buttonsFrom = record.compact ? 43 : 70;
    const int32_t rightButtonFrom = record.compact ? 53 : 80;
    if (pastBar > rightButtonFrom) return SliderPart::stepUp;
    if (pastBar > buttonsFrom) return SliderPart::stepDown;
    if (x > barLength || barLength <= 0) return SliderPart::text;
    return SliderPart::bar;
}

int32_t sliderStep(const SliderRecord& record, int32_t value, int32_t steps)
{
    const int64_t stepped = int64_t(value) + int64_t(steps) * record.step;
    if (steps > 0 && stepped > record.max) return record.max;
    if (steps < 0 && stepped < record.min) return record.min;
    return toInt32(stepped);
}

int32_t sliderLeftClick(const SliderRecord& record, int32_t value, int32_t x, int32_t width)
{
    switch (sliderPartAt(record, x, width)) {
    case SliderPart::stepUp: return sliderStep(record, value, 1);
    case SliderPart::stepDown: return sliderStep(record, value, -1);
    case SliderPart::text: return value;
    case SliderPart::bar: break;
    }
    const int32_t barLength = sliderBarLength(width, record.compact);
    const int64_t range = int64_t(record.max) - record.min;
    if (range == 0) return record.min;
    // Half a step in pixels, so a press lands on the nearest step of a small range.
    const int64_t half = (barLength / range) / 2;
    return toInt32(record.min + range * (x + half) / barLength);
}

int32_t sliderBarDrag(const SliderRecord& record, int32_t value, int32_t x, int32_t width)
{
    const int32_t barLength = sliderBarLength(width, record.compact);
    if (barLength <= 0) return value;
    return sliderLeftClick(record, value, std::clamp(x, 0, barLength), width);
}

}  // namespace nelmora

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

int32_t sliderLeftClick(const SliderRecord& record, int32_t value, int32_t x, int32_t width)
{
    const int32_t barLength = sliderBarLength(width, record.compact);
    const int64_t pastBar = int64_t(x) - barLength;
    // Both variants put "<" at W - 19 .. W - 10 and ">" from W - 9 on.
    const int32_t buttonsFrom = record.compact ? 43 : 70;
    const int32_t rightButtonFrom = record.compact ? 53 : 80;

    if (pastBar > buttonsFrom) {
        // Only the moved end clamps: a value already outside the range that
        // steps away from the limit stays as it is.
        if (pastBar > rightButtonFrom) {
            const int64_t stepped = int64_t(value) + record.step;
            return stepped > record.max ? record.max : toInt32(stepped);
        }
        const int64_t stepped = int64_t(value) - record.step;
        return stepped < record.min ? record.min : toInt32(stepped);
    }
    if (x > barLength || barLength <= 0) return value;

    const int64_t range = int64_t(record.max) - record.min;
    if (range == 0) return record.min;
    // Half a step in pixels, so a press lands on the nearest step of a small range.
    const int64_t half = (barLength / range) / 2;
    return toInt32(record.min + range * (x + half) / barLength);
}

}  // namespace nelmora

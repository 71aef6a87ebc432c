#include "pentools/slider_row.h"

#include "text/shift_jis.h"

namespace nelmora {

SliderRecord makeSliderRecord(const SliderRow& row, const NameList* nameList, bool compact)
{
    SliderRecord record;
    record.label = utf8ToShiftJis(row.label);
    record.colorStart = row.colorStart;
    record.colorEnd = row.colorEnd;
    record.unit = utf8ToShiftJis(row.unit);
    record.min = row.min;
    record.defaultValue = row.defaultValue;
    record.max = row.max;
    record.divisor = row.divisor;
    record.multiplier = row.multiplier;
    record.step = row.step;
    record.nameList = nameList;
    record.compact = compact;
    return record;
}

int32_t sliderBarLength(int32_t clientWidth, bool compact)
{
    // A negative width would only come from a broken caller; it must not wrap.
    return (clientWidth < 0 ? 0 : clientWidth) - (compact ? 63 : 90);
}

int64_t sliderPosition(const SliderRecord& record, int64_t value, int32_t barLength)
{
    const int64_t range = int64_t(record.max) - record.min;
    if (range == 0) return 0;
    return (value - record.min) * barLength / range;
}

}  // namespace nelmora

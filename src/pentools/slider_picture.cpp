#include "pentools/slider_picture.h"

#include <algorithm>
#include <cstdio>

#include "engine/color.h"

namespace nelmora {

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kDefaultMarkXor = 0xF0F0F0;

}  // namespace

void composeSliderPicture(Image& strip, const SliderRecord& record, int32_t value, int32_t width,
                          int32_t height)
{
    const int32_t barLength = sliderBarLength(width, record.compact);
    const int64_t valueColumn = sliderPosition(record, value, barLength);
    const int64_t defaultColumn = sliderPosition(record, record.defaultValue, barLength);
    const int32_t columns = std::clamp(width, 0, strip.width);
    const int32_t rows = std::clamp(height, 0, strip.height);

    for (int32_t y = 0; y < rows; ++y) {
        const int32_t shade = y * 256 / height;
        const uint32_t filledShade = mixColor(kWhite, kBlack, shade);
        const uint32_t emptyShade = mixColor(0xA0A0A0, kWhite, shade);
        const uint32_t textArea = mixColor(kWhite, 0xA0A0B0, shade);
        for (int32_t x = 0; x < columns; ++x) {
            // Only reached for x < barLength or x < valueColumn, so barLength is not 0 here.
            auto gradient = [&] {
                return mixColor(record.colorStart, record.colorEnd, barLength != 0 ? x * 256 / barLength : 0);
            };
            uint32_t pixel;
            if (x == barLength)
                pixel = kBlack;
            else if (x < valueColumn)
                pixel = mixColor(gradient(), filledShade, 120);
            else if (x == valueColumn)
                pixel = kBlack;
            else if (x > barLength)
                pixel = textArea;
            else
                pixel = mixColor(gradient(), emptyShade, 200);
            strip.at(x, y) = pixel;
        }
    }

    if (defaultColumn >= 0 && defaultColumn < columns) {
        for (int32_t y = 1; y < rows; y += 2) strip.at(int32_t(defaultColumn), y) ^= kDefaultMarkXor;
    }
}

std::string sliderNumberText(const SliderRecord& record, int32_t value)
{
    // Wide arithmetic: a value loaded from a file may be far out of range.
    const int64_t product = int64_t(value) * record.multiplier;
    const int64_t shown = record.divisor != 0 ? product / record.divisor : product;

    char buffer[64];
    if (record.nameList && shown >= 0 && shown < record.nameList->count()) {
        std::string_view name = record.nameList->entry(int(shown));
        name = name.substr(0, name.find('\0'));
        std::snprintf(buffer, sizeof buffer, " %6.*s", int(name.size()), name.data());
    } else {
        std::snprintf(buffer, sizeof buffer, "% 5lld%s ", static_cast<long long>(shown), record.unit.c_str());
    }
    std::string text(buffer);
    text.resize(kSliderNumberBytes, ' ');
    return text;
}

std::string_view sliderLabelText(const SliderRecord& record)
{
    return std::string_view(record.label).substr(0, kSliderLabelBytes);
}

}  // namespace nelmora

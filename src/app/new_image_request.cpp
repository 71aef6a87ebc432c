#include "app/new_image_request.h"

#include <cstdio>
#include <limits>

#include "image/image.h"

namespace nelmora {

std::string backgroundEntryText(const BackgroundColor& entry)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, ":(%06x)", unsigned(entry.pixel));
    return std::string(entry.name) + hex;
}

int32_t parseDecimal(std::string_view text)
{
    size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; };
    while (i < text.size() && blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate in 64 bits and stop growing once past the 32-bit range.
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value <= limit) value = value * 10 + (text[i] - '0');
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return int32_t(value);
}

NewImageRequest makeNewImageRequest(std::string_view widthText, std::string_view heightText, int backgroundIndex)
{
    NewImageRequest request{};
    request.width = parseDecimal(widthText);
    request.height = parseDecimal(heightText);
    // Typed text selects no entry; white, the dialog's own default, is the safe reading.
    const bool inTable = backgroundIndex >= 0 && size_t(backgroundIndex) < backgroundColors.size();
    request.fill = backgroundColors[inTable ? size_t(backgroundIndex) : 0].pixel;
    request.sizeAccepted = isValidImageSize(request.width, request.height);
    return request;
}

}  // namespace nelmora

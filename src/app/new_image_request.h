#pragma once
// What the New dialog's OK creates, without Qt: the background table, the
// combo box texts, the decimal reading of the size fields and the decision.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace nelmora {

struct BackgroundColor {
    uint32_t pixel;    // 0x00RRGGBB
    const char* name;  // UTF-8
};

inline constexpr std::array<BackgroundColor, 8> backgroundColors{{
    {0xFFFFFF, "白"},
    {0x000000, "黒"},
    {0xFF0000, "赤"},
    {0xFFFF00, "黄"},
    {0x00FF00, "緑"},
    {0x00FFFF, "水"},
    {0x0000FF, "青"},
    {0xFF00FF, "紫"},
}};

// "白:(ffffff)": the name, then the pixel as six lower-case hex digits.
std::string backgroundEntryText(const BackgroundColor& entry);

// C-style decimal reading: leading blanks, an optional sign, the digits up to
// the first non-digit; no digits gives 0. Values beyond 32 bits are clamped.
int32_t parseDecimal(std::string_view text);

struct NewImageRequest {
    int32_t width;
    int32_t height;
    uint32_t fill;
    bool sizeAccepted;  // false for zero, negative or oversized requests
};

// `backgroundIndex` is the combo box selection; -1 (typed text matching no
// entry) or anything else outside the table falls back to white.
NewImageRequest makeNewImageRequest(std::string_view widthText, std::string_view heightText, int backgroundIndex);

}  // namespace nelmora

#pragma once
// Name lists as the windows use them: entry n starts at byte n x 7 and holds
// six bytes of Shift-JIS text padded with blanks, then a zero.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nelmora {

inline constexpr int kNameFieldSize = 7;

struct NameList {
    std::vector<char> bytes;  // count() x 7 bytes
    int count() const { return int(bytes.size() / kNameFieldSize); }
    // The 6 text bytes of entry n (without the terminator).
    std::string_view entry(int n) const { return {bytes.data() + n * kNameFieldSize, kNameFieldSize - 1}; }
    bool contains(int n) const { return n >= 0 && n < count(); }
};

// Encodes each UTF-8 name to Shift-JIS, pads or cuts it to 6 bytes.
NameList makeNameList(std::span<const std::string_view> utf8Names);
inline NameList makeNameList(std::initializer_list<std::string_view> utf8Names)
{
    return makeNameList(std::span<const std::string_view>(utf8Names.begin(), utf8Names.size()));
}

// A Shift-JIS field of exactly `width` bytes: the text cut or padded with blanks.
std::string fixedShiftJis(std::string_view utf8, size_t width);

}  // namespace nelmora

#pragma once
// Shift-JIS (code page 932) text. Widths in the program are counted in these
// bytes, so labels are kept as Shift-JIS and decoded only to be drawn.

#include <string>
#include <string_view>

namespace nelmora {

// Characters without a Shift-JIS form become '?'.
std::string utf8ToShiftJis(std::string_view utf8);
// Bytes that are not valid Shift-JIS become U+FFFD.
std::string shiftJisToUtf8(std::string_view sjis);

// Well-formed UTF-8: no overlong forms, surrogates or code points past U+10FFFF.
bool isValidUtf8(std::string_view text);

}  // namespace nelmora

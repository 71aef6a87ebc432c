#pragma once
// Shift-JIS bytes to Qt text, for drawing labels whose widths count in bytes.

#include <QString>
#include <string_view>

namespace nelmora {

QString fromShiftJis(std::string_view bytes);

}  // namespace nelmora

#include "platform/shift_jis_text.h"

#include "text/shift_jis.h"

namespace nelmora {

QString fromShiftJis(std::string_view bytes)
{
    // Text fields end at their terminator.
    const size_t end = bytes.find('\0');
    const std::string utf8 = shiftJisToUtf8(bytes.substr(0, end));
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

}  // namespace nelmora

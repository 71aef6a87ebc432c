#include "text/name_list.h"

#include "text/shift_jis.h"

namespace nelmora {

std::string fixedShiftJis(std::string_view utf8, size_t width)
{
    std::string text = utf8ToShiftJis(utf8);
    text.resize(width, ' ');
    return text;
}

NameList makeNameList(std::span<const std::string_view> utf8Names)
{
    NameList list;
    list.bytes.reserve(utf8Names.size() * kNameFieldSize);
    for (std::string_view name : utf8Names) {
        const std::string field = fixedShiftJis(name, kNameFieldSize - 1);
        list.bytes.insert(list.bytes.end(), field.begin(), field.end());
        list.bytes.push_back('\0');
    }
    return list;
}

}  // namespace nelmora

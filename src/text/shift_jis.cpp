#include "text/shift_jis.h"

#include <iconv.h>

#include <algorithm>

namespace nelmora {

namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != iconv_t(-1); }

    // Converts one piece whole; false when any of it has no counterpart.
    bool convert(std::string_view input, std::string& out)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[64];
        std::string piece;
        while (inLeft > 0) {
            char* o = buffer;
            size_t oLeft = sizeof buffer;
            const size_t rc = iconv(cd_, &in, &inLeft, &o, &oLeft);
            piece.append(buffer, size_t(o - buffer));
            if (rc == size_t(-1) && o == buffer) return false;
        }
        out += piece;
        return true;
    }

private:
    iconv_t cd_;
};

size_t utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Shift-JIS lead bytes open a two-byte character.
size_t sjisSequenceLength(unsigned char lead)
{
    return ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) ? 2 : 1;
}

std::string convertBySequence(const char* to, const char* from, std::string_view input,
                              size_t (*sequenceLength)(unsigned char), std::string_view replacement)
{
    Converter converter(to, from);
    std::string out;
    if (!converter.ok()) return out;
    for (size_t i = 0; i < input.size();) {
        const size_t len = std::min(sequenceLength(static_cast<unsigned char>(input[i])), input.size() - i);
        if (!converter.convert(input.substr(i, len), out)) out += replacement;
        i += len;
    }
    return out;
}

}  // namespace

std::string utf8ToShiftJis(std::string_view utf8)
{
    return convertBySequence("CP932", "UTF-8", utf8, utf8SequenceLength, "?");
}

std::string shiftJisToUtf8(std::string_view sjis)
{
    return convertBySequence("UTF-8", "CP932", sjis, sjisSequenceLength, "\xEF\xBF\xBD");
}

}  // namespace nelmora

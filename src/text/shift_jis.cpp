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

bool isValidUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
        const unsigned char lead = byte(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t length;
        unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;        // overlong
            else if (lead == 0xED) high = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;        // overlong
            else if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
        } else {
            return false;
        }
        if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) return false;
        for (size_t k = 2; k < length; ++k)
            if ((byte(i + k) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace nelmora

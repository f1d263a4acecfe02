#include "filelist/TextCase.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace {

// The case tables of a UTF-8 locale; the plain "C" locale maps ASCII only.
locale_t Utf8Locale()
{
    static const locale_t s_locale = [] {
        locale_t loc = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        return loc ? loc : ::newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
    }();
    return s_locale;
}

// Decodes one UTF-8 sequence at str[i]; its length in nLength, 0 when invalid.
char32_t DecodeAt(const std::string& str, size_t i, size_t& nLength)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(str[k]); };
    const unsigned char c = byte(i);
    char32_t code;
    char32_t minimum;
    if (c < 0x80) {
        nLength = 1;
        return c;
    } else if ((c & 0xE0) == 0xC0) {
        nLength = 2, code = c & 0x1F, minimum = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        nLength = 3, code = c & 0x0F, minimum = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        nLength = 4, code = c & 0x07, minimum = 0x10000;
    } else {
        nLength = 0;
        return 0;
    }
    if (i + nLength > str.size()) {
        nLength = 0;
        return 0;
    }
    for (size_t k = 1; k < nLength; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            nLength = 0;
            return 0;
        }
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        nLength = 0;
    return code;
}

void Encode(char32_t code, std::string& strOut)
{
    if (code < 0x80) {
        strOut += static_cast<char>(code);
    } else if (code < 0x800) {
        strOut += static_cast<char>(0xC0 | (code >> 6));
        strOut += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        strOut += static_cast<char>(0xE0 | (code >> 12));
        strOut += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        strOut += static_cast<char>(0xF0 | (code >> 18));
        strOut += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        strOut += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string ToUpperUtf8(const std::string& strText)
{
    std::string strOut;
    strOut.reserve(strText.size());
    for (size_t i = 0; i < strText.size();) {
        size_t nLength = 0;
        const char32_t code = DecodeAt(strText, i, nLength);
        if (nLength == 0) {
            strOut += strText[i++];
            continue;
        }
        Encode(static_cast<char32_t>(::towupper_l(static_cast<wint_t>(code), Utf8Locale())), strOut);
        i += nLength;
    }
    return strOut;
}

#include "platform/Format.h"

#include <cstdio>

std::string StringFormatV(const char* pszFormat, va_list args)
{
    va_list argsCopy;
    va_copy(argsCopy, args);
    const int nLength = std::vsnprintf(nullptr, 0, pszFormat, argsCopy);
    va_end(argsCopy);
    if (nLength <= 0)
        return {};
    std::string strText(static_cast<size_t>(nLength), '\0');
    std::vsnprintf(strText.data(), strText.size() + 1, pszFormat, args);
    return strText;
}

std::string StringFormat(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    std::string strText = StringFormatV(pszFormat, args);
    va_end(args);
    return strText;
}

std::string TruncateUtf8(const std::string& strText, size_t nMaxChars)
{
    size_t nChars = 0;
    for (size_t i = 0; i < strText.size(); ++i) {
        const bool bStartsChar = (static_cast<unsigned char>(strText[i]) & 0xC0) != 0x80;
        if (bStartsChar && nChars++ == nMaxChars)
            return strText.substr(0, i);
    }
    return strText;
}

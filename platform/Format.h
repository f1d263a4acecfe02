#pragma once
#include <cstdarg>
#include <string>

// printf-style formatting into a std::string, so the program's format strings
// ("%5.2lf%%", "%.2f secs") print exactly what they print in C.
std::string StringFormat(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
std::string StringFormatV(const char* pszFormat, va_list args);

// The first nMaxChars characters of UTF-8 text, never splitting a character.
std::string TruncateUtf8(const std::string& strText, size_t nMaxChars);

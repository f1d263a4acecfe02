#pragma once
#include <string>

// Upper-cases UTF-8 text character by character (not only ASCII), as
// extensions like ".flác" need; bytes that are not valid UTF-8 pass unchanged.
std::string ToUpperUtf8(const std::string& strText);

#pragma once
#include <cstdint>
#include <vector>

// Puts a finished stream's Info tag frame over the placeholder frame that
// starts the file's audio (after an ID3v2 tag, if any). Refuses, leaving the
// file as it is, when the file does not start with a frame of the same
// format. kEncoderOk or the error to return.
uint32_t WriteInfoTag(const char* pszPath, const std::vector<uint8_t>& tagFrame);

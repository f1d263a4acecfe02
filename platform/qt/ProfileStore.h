#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The per-user profile that holds window placements and the list layout:
// binary and integer values by section and name, in
// $XDG_CONFIG_HOME/Dovanic Corporation/Kestrune/<executable base name>.conf.
namespace ProfileStore {

// Fixes the profile's name (the executable's base name); the program calls it
// once at start-up. Tests may point the store at any name.
void SetProfileName(const std::string& strName);
std::string ProfileFilePath();

bool GetBinary(const std::string& strSection, const std::string& strName, std::vector<uint8_t>& data);
bool WriteBinary(const std::string& strSection, const std::string& strName, const void* pData, size_t nBytes);

int GetInt(const std::string& strSection, const std::string& strName, int nDefault);
bool WriteInt(const std::string& strSection, const std::string& strName, int nValue);

std::string GetString(const std::string& strSection, const std::string& strName, const std::string& strDefault);
bool WriteString(const std::string& strSection, const std::string& strName, const std::string& strValue);

}  // namespace ProfileStore

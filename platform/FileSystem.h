#pragma once
#include <string>

// Small file-system queries and changes on UTF-8 paths.
bool PathExists(const std::string& strPath);
bool IsDirectory(const std::string& strPath);

// Renames strFrom to strTo, failing (false, errno set) when strTo exists:
// a rename must never replace another file.
bool RenameNoReplace(const std::string& strFrom, const std::string& strTo);

// The folder of the running executable, ending with "/".
std::string ExecutableFolder();
// The running executable's file name without folder and extension.
std::string ExecutableBaseName();

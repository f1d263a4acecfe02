#pragma once
#include <string>

// Per-user folders after the XDG base-directory and user-dirs conventions.
// Results carry no trailing "/"; an empty result means "not known".

// $HOME, else the home folder of the user's account entry.
std::string HomeFolder();

// $XDG_CONFIG_HOME when it is an absolute path, else HomeFolder() + "/.config".
std::string ConfigHome();

// The folder configured as XDG_<strName>_DIR ("MUSIC", "DESKTOP" ...) in
// ConfigHome()/user-dirs.dirs, with "$HOME" expanded. Empty when the file or
// the entry is missing, malformed, or points at the home folder itself (the
// convention for a disabled directory).
std::string UserDirectory(const std::string& strName);

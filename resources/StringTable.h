#pragma once
#include <string_view>

// The program's string table: tooltip texts by command or control id, and
// the few other texts looked up by id. UTF-8.

// The string with that id; empty when the table has none.
std::string_view LoadResString(int nId);

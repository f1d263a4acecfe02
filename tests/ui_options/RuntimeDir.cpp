#include "tests/ui_options/RuntimeDir.h"

#include <cstdlib>

namespace fs = std::filesystem;

CTempRuntimeDir::CTempRuntimeDir(const fs::path& parent)
    : m_path(parent / "run")
{
    fs::create_directories(m_path);
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::replace);
    if (const char* psz = std::getenv("XDG_RUNTIME_DIR")) {
        m_bHadOld = true;
        m_strOld = psz;
    }
    ::setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
}

CTempRuntimeDir::~CTempRuntimeDir()
{
    if (m_bHadOld)
        ::setenv("XDG_RUNTIME_DIR", m_strOld.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}

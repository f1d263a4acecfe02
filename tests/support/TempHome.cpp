#include "tests/support/TempHome.h"

#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;

CTempHome::CTempHome()
{
    std::string strTemplate = (fs::temp_directory_path() / "kestrune-test-XXXXXX").string();
    if (!::mkdtemp(strTemplate.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = strTemplate;
    if (const char* psz = std::getenv("HOME")) {
        m_bHadHome = true;
        m_strOldHome = psz;
    }
    if (const char* psz = std::getenv("XDG_CONFIG_HOME")) {
        m_bHadConfig = true;
        m_strOldConfig = psz;
    }
    fs::create_directories(m_path / ".config");
    ::setenv("HOME", m_path.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (m_path / ".config").c_str(), 1);
}

CTempHome::~CTempHome()
{
    if (m_bHadHome)
        ::setenv("HOME", m_strOldHome.c_str(), 1);
    else
        ::unsetenv("HOME");
    if (m_bHadConfig)
        ::setenv("XDG_CONFIG_HOME", m_strOldConfig.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

fs::path CTempHome::MakeDir(const std::string& strName) const
{
    fs::path dir = m_path / strName;
    fs::create_directories(dir);
    return dir;
}

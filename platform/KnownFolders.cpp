#include "platform/KnownFolders.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

std::string WithoutTrailingSlashes(std::string strPath)
{
    while (strPath.size() > 1 && strPath.back() == '/')
        strPath.pop_back();
    return strPath;
}

// The quoted value of one user-dirs.dirs line, with backslash escapes
// resolved; false when the line does not hold a complete quoted value.
bool UnquoteValue(const std::string& strLine, size_t nStart, std::string& strValue)
{
    if (nStart >= strLine.size() || strLine[nStart] != '"')
        return false;
    strValue.clear();
    for (size_t i = nStart + 1; i < strLine.size(); ++i) {
        const char c = strLine[i];
        if (c == '"')
            return true;
        if (c == '\\' && i + 1 < strLine.size())
            strValue += strLine[++i];
        else
            strValue += c;
    }
    return false;
}

}  // namespace

std::string HomeFolder()
{
    if (const char* pszHome = std::getenv("HOME"); pszHome && *pszHome)
        return WithoutTrailingSlashes(pszHome);
    long nSize = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(nSize > 0 ? static_cast<size_t>(nSize) : 16384);
    struct passwd entry;
    struct passwd* pResult = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &pResult) == 0 && pResult &&
        pResult->pw_dir && *pResult->pw_dir)
        return WithoutTrailingSlashes(pResult->pw_dir);
    return {};
}

std::string ConfigHome()
{
    // Relative values are invalid by the XDG convention and ignored.
    if (const char* pszConfig = std::getenv("XDG_CONFIG_HOME"); pszConfig && *pszConfig == '/')
        return WithoutTrailingSlashes(pszConfig);
    const std::string strHome = HomeFolder();
    return strHome.empty() ? std::string() : strHome + "/.config";
}

std::string UserDirectory(const std::string& strName)
{
    const std::string strConfig = ConfigHome();
    if (strConfig.empty())
        return {};
    std::ifstream file(strConfig + "/user-dirs.dirs");
    const std::string strKey = "XDG_" + strName + "_DIR=";
    const std::string strHome = HomeFolder();
    std::string strLine;
    std::string strFound;
    while (std::getline(file, strLine)) {
        const size_t nStart = strLine.find_first_not_of(" \t");
        if (nStart == std::string::npos || strLine.compare(nStart, strKey.size(), strKey) != 0)
            continue;
        std::string strValue;
        if (!UnquoteValue(strLine, nStart + strKey.size(), strValue))
            continue;
        if (strValue.compare(0, 5, "$HOME") == 0 && (strValue.size() == 5 || strValue[5] == '/')) {
            if (strHome.empty())
                continue;
            strValue = strHome + strValue.substr(5);
        } else if (strValue.empty() || strValue[0] != '/') {
            continue;
        }
        strFound = WithoutTrailingSlashes(strValue);  // the last valid entry wins, as in a shell
    }
    if (strFound == strHome)
        return {};
    return strFound;
}

#include "settings/ProfileIni.h"

// The file is UTF-8 and so are our strings: no conversion layer. The
// packaged header keeps its template bodies behind SI_IMPLEMENTATION.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include "platform/Format.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int ParseProfileInt(const char* psz)
{
    bool bNegative = false;
    if (*psz == '+' || *psz == '-')
        bNegative = *psz++ == '-';
    uint32_t nValue = 0;
    for (; *psz >= '0' && *psz <= '9'; ++psz)
        nValue = nValue * 10u + static_cast<uint32_t>(*psz - '0');
    if (bNegative)
        nValue = 0u - nValue;
    return static_cast<int>(nValue);
}

// A settings file kept as a symbolic link (dotfile managers do that) is
// replaced at the link's target, so the link survives the save.
std::string ResolveLink(const std::string& strPath)
{
    struct stat st;
    if (::lstat(strPath.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return strPath;
    char* pszReal = ::realpath(strPath.c_str(), nullptr);
    if (!pszReal)
        return strPath;
    std::string strReal = pszReal;
    std::free(pszReal);
    return strReal;
}

bool WriteAll(int fd, const std::string& strData)
{
    size_t nDone = 0;
    while (nDone < strData.size()) {
        const ssize_t n = ::write(fd, strData.data() + nDone, strData.size() - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        nDone += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

// Values keep their outer blanks (written quoted) and line breaks (written
// as a multi-line block), so no folder name can break the file's syntax.
struct CProfileIni::Store
{
    CSimpleIniA ini{true, false, true};
    Store()
    {
        ini.SetSpaces(false);
        ini.SetQuotes(true);
    }
};

CProfileIni::CProfileIni() : m_pStore(std::make_unique<Store>()) {}

CProfileIni::~CProfileIni() = default;

CProfileIni::LoadResult CProfileIni::Load(const std::string& strPath)
{
    m_pStore->ini.Reset();
    std::ifstream file(strPath, std::ios::binary);
    if (!file)
        return errno == ENOENT ? LoadResult::Missing : LoadResult::Failed;
    const std::string strData{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        return LoadResult::Failed;
    return m_pStore->ini.LoadData(strData) < 0 ? LoadResult::Failed : LoadResult::Loaded;
}

int CProfileIni::GetInt(const char* pszSection, const char* pszKey, int nDefault) const
{
    const char* pszValue = m_pStore->ini.GetValue(pszSection, pszKey, nullptr);
    if (!pszValue || !*pszValue)
        return nDefault;
    return ParseProfileInt(pszValue);
}

std::string CProfileIni::GetString(const char* pszSection, const char* pszKey, const std::string& strDefault,
                                   size_t nMaxChars) const
{
    const char* pszValue = m_pStore->ini.GetValue(pszSection, pszKey, nullptr);
    return TruncateUtf8(pszValue ? std::string(pszValue) : strDefault, nMaxChars);
}

void CProfileIni::SetString(const char* pszSection, const char* pszKey, const std::string& strValue)
{
    m_pStore->ini.SetValue(pszSection, pszKey, strValue.c_str());
}

void CProfileIni::SetInt(const char* pszSection, const char* pszKey, int nValue)
{
    SetString(pszSection, pszKey, StringFormat("%d", nValue));
}

bool CProfileIni::Save(const std::string& strPath) const
{
    std::string strData;
    if (m_pStore->ini.Save(strData) < 0) {
        errno = ENOMEM;
        return false;
    }
    const std::string strTarget = ResolveLink(strPath);
    mode_t nMode = 0644;
    struct stat st;
    if (::stat(strTarget.c_str(), &st) == 0)
        nMode = st.st_mode & 07777;

    std::string strTemp = strTarget + ".XXXXXX";
    const int fd = ::mkostemp(strTemp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool bOk = WriteAll(fd, strData) && ::fchmod(fd, nMode) == 0 && ::fsync(fd) == 0;
    int nError = errno;
    if (::close(fd) != 0 && bOk) {
        bOk = false;
        nError = errno;
    }
    if (bOk && ::rename(strTemp.c_str(), strTarget.c_str()) != 0) {
        bOk = false;
        nError = errno;
    }
    if (!bOk) {
        ::unlink(strTemp.c_str());
        errno = nError;
    }
    return bOk;
}

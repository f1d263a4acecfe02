#include "platform/FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

bool PathExists(const std::string& strPath)
{
    struct stat st;
    return ::lstat(strPath.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& strPath)
{
    struct stat st;
    return ::stat(strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RenameNoReplace(const std::string& strFrom, const std::string& strTo)
{
    if (::syscall(SYS_renameat2, AT_FDCWD, strFrom.c_str(), AT_FDCWD, strTo.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without renameat2 support: a hard link fails when the
    // target exists, so no file is ever replaced.
    if (::link(strFrom.c_str(), strTo.c_str()) != 0)
        return false;
    if (::unlink(strFrom.c_str()) != 0) {
        const int nError = errno;
        ::unlink(strTo.c_str());
        errno = nError;
        return false;
    }
    return true;
}

std::string ExecutableFolder()
{
    char szPath[PATH_MAX];
    const ssize_t nLength = ::readlink("/proc/self/exe", szPath, sizeof(szPath) - 1);
    if (nLength <= 0)
        return "./";
    std::string strPath(szPath, static_cast<size_t>(nLength));
    return strPath.substr(0, strPath.rfind('/') + 1);
}

std::string ExecutableBaseName()
{
    char szPath[PATH_MAX];
    const ssize_t nLength = ::readlink("/proc/self/exe", szPath, sizeof(szPath) - 1);
    std::string strName = nLength > 0 ? std::string(szPath, static_cast<size_t>(nLength)) : std::string("kestrune");
    strName = strName.substr(strName.rfind('/') + 1);
    const size_t nDot = strName.rfind('.');
    return nDot == std::string::npos || nDot == 0 ? strName : strName.substr(0, nDot);
}

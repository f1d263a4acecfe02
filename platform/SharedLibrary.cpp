#include "platform/SharedLibrary.h"

#include <dlfcn.h>
#include <utility>

CSharedLibrary::~CSharedLibrary()
{
    Unload();
}

CSharedLibrary::CSharedLibrary(CSharedLibrary&& other) noexcept
    : m_pHandle(std::exchange(other.m_pHandle, nullptr)), m_strLastError(std::move(other.m_strLastError))
{
}

CSharedLibrary& CSharedLibrary::operator=(CSharedLibrary&& other) noexcept
{
    if (this != &other) {
        Unload();
        m_pHandle = std::exchange(other.m_pHandle, nullptr);
        m_strLastError = std::move(other.m_strLastError);
    }
    return *this;
}

bool CSharedLibrary::Load(const std::string& strPath)
{
    Unload();
    m_pHandle = ::dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_pHandle) {
        const char* pszError = ::dlerror();
        m_strLastError = pszError ? pszError : "cannot load " + strPath;
        return false;
    }
    m_strLastError.clear();
    return true;
}

void CSharedLibrary::Unload()
{
    if (m_pHandle) {
        ::dlclose(m_pHandle);
        m_pHandle = nullptr;
    }
}

void* CSharedLibrary::Symbol(const char* pszName) const
{
    return m_pHandle ? ::dlsym(m_pHandle, pszName) : nullptr;
}

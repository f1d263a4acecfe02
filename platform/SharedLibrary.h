#pragma once
#include <string>

// A shared library loaded at run time; unloaded when the object goes.
class CSharedLibrary
{
public:
    CSharedLibrary() = default;
    ~CSharedLibrary();
    CSharedLibrary(CSharedLibrary&& other) noexcept;
    CSharedLibrary& operator=(CSharedLibrary&& other) noexcept;
    CSharedLibrary(const CSharedLibrary&) = delete;
    CSharedLibrary& operator=(const CSharedLibrary&) = delete;

    // Loads the library at strPath (resolving every symbol now), unloading
    // any library held before. False, with LastError() set, when it fails.
    bool Load(const std::string& strPath);
    void Unload();
    bool IsLoaded() const { return m_pHandle != nullptr; }

    // The address of an exported symbol, or null.
    void* Symbol(const char* pszName) const;

    template <class F>
    F* Function(const char* pszName) const
    {
        return reinterpret_cast<F*>(Symbol(pszName));
    }

    const std::string& LastError() const { return m_strLastError; }

private:
    void* m_pHandle = nullptr;
    std::string m_strLastError;
};

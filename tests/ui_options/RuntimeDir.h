#pragma once
#include <filesystem>
#include <string>

// Points XDG_RUNTIME_DIR at a fresh private folder inside parent for the
// life of the object, so instance locks and sockets of a test meet no others.
class CTempRuntimeDir
{
public:
    explicit CTempRuntimeDir(const std::filesystem::path& parent);
    ~CTempRuntimeDir();
    CTempRuntimeDir(const CTempRuntimeDir&) = delete;
    CTempRuntimeDir& operator=(const CTempRuntimeDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::string m_strOld;
    bool m_bHadOld = false;
};

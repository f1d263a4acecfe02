#pragma once
#include <filesystem>
#include <string>

// Points HOME and the XDG folders at a fresh temporary folder for the life of
// the object, so no test reads or writes the user's own settings or music.
class CTempHome
{
public:
    CTempHome();
    ~CTempHome();
    CTempHome(const CTempHome&) = delete;
    CTempHome& operator=(const CTempHome&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // A fresh sub-folder for a test's files.
    std::filesystem::path MakeDir(const std::string& strName) const;

private:
    std::filesystem::path m_path;
    std::string m_strOldHome;
    std::string m_strOldConfig;
    bool m_bHadHome = false;
    bool m_bHadConfig = false;
};

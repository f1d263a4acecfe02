#pragma once
#include <memory>
#include <string>


// An INI file with the rules of the classic private-profile functions:
// section and key names match without regard to case, a missing key gives the
// caller's default, quotes around a value are dropped, and sections and keys
// this program does not know survive a save.
class CProfileIni
{
public:
    enum class LoadResult
    {
        Loaded,
        Missing,  // no such file: reads give their defaults
        Failed,   // the file exists but could not be read (errno set)
    };

    CProfileIni();
    ~CProfileIni();
    CProfileIni(const CProfileIni&) = delete;
    CProfileIni& operator=(const CProfileIni&) = delete;

    LoadResult Load(const std::string& strPath);

    // A missing key or an empty value gives nDefault. Otherwise the leading
    // decimal number with optional sign, wrapping at 32 bits; text after the
    // digits is ignored and a value without digits gives 0.
    int GetInt(const char* pszSection, const char* pszKey, int nDefault) const;

    // A missing key gives strDefault; the result is cut to nMaxChars
    // characters (not bytes: a UTF-8 sequence is never split).
    std::string GetString(const char* pszSection, const char* pszKey, const std::string& strDefault,
                          size_t nMaxChars) const;

    void SetString(const char* pszSection, const char* pszKey, const std::string& strValue);
    void SetInt(const char* pszSection, const char* pszKey, int nValue);

    // Replaces the file as a whole: the text goes to a temporary file in the
    // same folder that is then renamed over it, so a failed save leaves the
    // old file intact. false (errno set) on failure.
    bool Save(const std::string& strPath) const;

private:
    struct Store;
    std::unique_ptr<Store> m_pStore;
};

#include "settings/ConversionSettings.h"
#include "settings/ProfileIni.h"

#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/KnownFolders.h"
#include "platform/MessageBox.h"

#include <fcntl.h>
#include <filesystem>
#include <exception>
#include <system_error>
#include <unistd.h>

namespace {

// "DesDir" was read into a buffer of 1024 characters, terminator included.
constexpr size_t kMaxOutputFolderChars = 1023;

std::string WithTrailingSlash(std::string strFolder)
{
    if (strFolder.empty() || strFolder.back() != '/')
        strFolder += '/';
    return strFolder;
}

void CreateEmptyFile(const std::string& strPath)
{
    const int fd = ::open(strPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0)
        ::close(fd);
}

int ReportLoadFailure()
{
    ShowMessageBox("An Error Occurred while loading settings!", kMessageBoxCaption, MB_OK | MB_ICONERROR);
    return 0;
}

int ReportSaveFailure()
{
    ShowMessageBox("An error occurred while saving settings!", kMessageBoxCaption, MB_OK | MB_ICONERROR);
    return 0;
}

}  // namespace

int CreateFolderPath(const std::string& strPath)
{
    if (strPath.empty())
        return 0;
    std::error_code ec;
    std::filesystem::create_directories(strPath, ec);
    return IsDirectory(strPath) ? 1 : 0;
}

std::string GetSettingsFolder()
{
    const std::string strConfig = ConfigHome();
    return strConfig.empty() ? std::string() : strConfig + "/Kestrune";
}

std::string SettingsFilePath()
{
    return g_settings.settingsFolder + "/Config.ini";
}

std::string DefaultOutputFolder()
{
    for (const char* pszName : {"MUSIC", "DESKTOP"}) {
        if (std::string strFolder = UserDirectory(pszName); !strFolder.empty())
            return WithTrailingSlash(std::move(strFolder));
    }
    return HomeFolder() + "/Music/";
}

void InitSettingsStore()
{
    g_settings.outputFolder = DefaultOutputFolder();
    g_settings.settingsFolder = GetSettingsFolder();
    const std::string& strFolder = g_settings.settingsFolder;
    if (!IsDirectory(strFolder) && !CreateFolderPath(strFolder))
        ShowMessageBox(StringFormat("Fail to create folder %s !!", strFolder.c_str()), kMessageBoxCaption, MB_OK);

    const std::string strFile = SettingsFilePath();
    if (!PathExists(strFile))
        CreateEmptyFile(strFile);
    else
        LoadSettings();
}

int LoadSettings()
{
    try {
        CProfileIni ini;
        if (ini.Load(SettingsFilePath()) == CProfileIni::LoadResult::Failed)
            return ReportLoadFailure();
        g_settings.bitrateIndex = static_cast<int16_t>(ini.GetInt("MP3", "LameBits", 11));
        g_settings.channelMode = static_cast<int16_t>(ini.GetInt("MP3", "LameChannel", CHANNEL_AUTOMATIC));
        g_settings.frequencyIndex = static_cast<int16_t>(ini.GetInt("MP3", "Freq", 0));
        g_settings.outputFolder = ini.GetString("OUTPUT", "DesDir", DefaultOutputFolder(), kMaxOutputFolderChars);
        return 1;
    } catch (const std::exception&) {
        return ReportLoadFailure();
    }
}

int SaveSettings()
{
    try {
        const std::string strFile = SettingsFilePath();
        CProfileIni ini;
        // A file that exists but cannot be read is left alone: rewriting it
        // would drop whatever else it holds.
        if (ini.Load(strFile) == CProfileIni::LoadResult::Failed)
            return ReportSaveFailure();
        ini.SetString("OUTPUT", "DesDir", g_settings.outputFolder);
        ini.SetInt("MP3", "LameBits", g_settings.bitrateIndex);
        ini.SetInt("MP3", "LameChannel", g_settings.channelMode);
        ini.SetInt("MP3", "Freq", g_settings.frequencyIndex);
        if (!ini.Save(strFile))
            return ReportSaveFailure();
        return 1;
    } catch (const std::exception&) {
        return ReportSaveFailure();
    }
}

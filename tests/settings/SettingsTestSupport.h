#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "settings/ConversionSettings.h"
#include "tests/support/TempHome.h"

struct ShownBox
{
    std::string text;
    std::string caption;
    unsigned type;
};

inline std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteText(const std::filesystem::path& path, const std::string& strText)
{
    std::ofstream(path, std::ios::binary) << strText;
}

// The file's lines without blank ones: the layout between sections is the
// INI library's business, the content and its order are ours.
inline std::string NonBlankLines(const std::filesystem::path& path)
{
    std::string strResult;
    std::ifstream in(path, std::ios::binary);
    for (std::string strLine; std::getline(in, strLine);) {
        if (!strLine.empty())
            strResult += strLine + "\n";
    }
    return strResult;
}

// A private HOME, fresh settings and every message box recorded.
class SettingsTest : public ::testing::Test
{
protected:
    SettingsTest()
    {
        g_settings = ConversionSettings{};
        m_fnOldHandler = SetMessageBoxHandler([this](const std::string& strText, const std::string& strCaption,
                                                     unsigned nType) {
            m_boxes.push_back({strText, strCaption, nType});
            return IDOK;
        });
    }
    ~SettingsTest() override
    {
        SetMessageBoxHandler(m_fnOldHandler);
        g_settings = ConversionSettings{};
    }

    std::filesystem::path SettingsFolder() const { return m_home.Path() / ".config" / "Kestrune"; }
    std::filesystem::path ConfigFile() const { return SettingsFolder() / "Config.ini"; }

    CTempHome m_home;
    std::vector<ShownBox> m_boxes;

private:
    MessageBoxHandler m_fnOldHandler;
};

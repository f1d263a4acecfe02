#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filelist/FileProbe.h"
#include "platform/MessageBox.h"

struct ShownBox
{
    std::string text;
    unsigned type;
};

// The main window's source type table and a recorder for message boxes.
class ProbeTest : public ::testing::Test
{
protected:
    ProbeTest()
    {
        g_sourceTypeTable = {{"FLAC", 1}};
        m_fnOldHandler = SetMessageBoxHandler([this](const std::string& strText, const std::string&, unsigned nType) {
            m_boxes.push_back({strText, nType});
            return IDOK;
        });
    }
    ~ProbeTest() override { SetMessageBoxHandler(m_fnOldHandler); }

    // Describes and probes strPath as the loading thread does.
    AudioFileInfo Load(const std::string& strPath, FileRowTexts& row)
    {
        AudioFileInfo info;
        const std::optional<FoundFile> found = FindFoundFile(strPath);
        EXPECT_TRUE(found.has_value()) << strPath;
        if (found)
            DescribeFoundFile(*found, info, row);
        ProbeAudioFile(strPath, info, row);
        return info;
    }

    std::vector<ShownBox> m_boxes;

private:
    MessageBoxHandler m_fnOldHandler;
};

#pragma once
#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

#include "engine/RingBuffer.h"
#include "tests/support/TempHome.h"
#include "ui/ConvProg.h"

// A private home with an output folder, the two sample rings, FLAC sources
// made on demand, and Open Dir recorded instead of opening a file browser.
class ProgressWindowTest : public ::testing::Test
{
public:
    // A stereo 44,100 Hz source of nFrames frames.
    std::string MakeFlac(const std::string& strName, uint32_t nFrames = 44100);
    // Adds the task for a source as the main window would.
    static void AddTask(CConvProg& dlg, const std::string& strSource, uint32_t nFrames = 44100);

    // Initialises the window (which starts its batch) and shows it.
    static void Start(CConvProg& dlg);
    static void Click(CConvProg& dlg, int nId);
    static std::string Text(const CConvProg& dlg, int nId);
    static bool IsEnabled(const CConvProg& dlg, int nId);
    static int BarValue(const CConvProg& dlg, int nId);

    // The log's Description texts, top to bottom.
    static std::vector<std::string> LogTexts(const CConvProg& dlg);
    static bool Logged(const CConvProg& dlg, const std::string& strText);
    // Pumps events until the window reached its finished state.
    static bool WaitFinished(const CConvProg& dlg, uint32_t nTimeoutMs = 60000);
    // Pumps events until every thread of the batch has ended.
    static bool WaitThreadsEnded(CConvProg& dlg, uint32_t nTimeoutMs = 30000);

protected:
    ProgressWindowTest();
    ~ProgressWindowTest() override;

    CTempHome m_home;
    SampleRing m_decoded{kSampleRingCapacity};
    SampleRing m_processed{kSampleRingCapacity};
    std::vector<std::string> m_openedFolders;

private:
    CConvProg::FolderOpener m_fnPreviousOpener;
};

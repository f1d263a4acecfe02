// kestrune-batch: converts FLAC files into MP3 files from a terminal, with
// the same probe, task making, batch runner and engine as the windowed program.
#include <csignal>
#include <filesystem>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "batch/TaskMaker.h"
#include "cli/CliOptions.h"
#include "cli/TerminalBatch.h"
#include "filelist/FileProbe.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/MessageBox.h"
#include "settings/ConversionSettings.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

std::atomic<int32_t>* g_pbRunning = nullptr;
volatile std::sig_atomic_t g_bInterrupted = 0;

void OnInterrupt(int)
{
    g_bInterrupted = 1;
    if (g_pbRunning)
        g_pbRunning->store(0, std::memory_order_release);  // lock-free: safe in a handler
}

void InstallInterruptHandler()
{
    struct sigaction action{};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// The user's settings as the windowed program would load them; the file is
// read, never written.
void LoadUserSettings(const CliOptions& options)
{
    g_settings.outputFolder = DefaultOutputFolder();
    g_settings.settingsFolder = GetSettingsFolder();
    if (PathExists(SettingsFilePath()))
        LoadSettings();
    if (options.outputFolder) {
        g_settings.outputFolder = *options.outputFolder;
        if (g_settings.outputFolder.back() != '/')
            g_settings.outputFolder += '/';
    }
    if (options.bitrateIndex)
        g_settings.bitrateIndex = static_cast<int16_t>(*options.bitrateIndex);
    if (options.frequencyIndex)
        g_settings.frequencyIndex = static_cast<int16_t>(*options.frequencyIndex);
    if (options.channelMode)
        g_settings.channelMode = static_cast<int16_t>(*options.channelMode);
}

// Probes every file and makes a task of each valid one; reports the others
// as log lines. Returns the number skipped.
int MakeTasks(const std::vector<std::string>& files, CTerminalBatch& batch)
{
    g_sourceTypeTable["FLAC"] = 1;
    std::string strProbeMessage;
    const MessageBoxHandler fnOld = SetMessageBoxHandler([&](const std::string& strText, const std::string&, unsigned) {
        strProbeMessage = strText;
        return IDOK;
    });
    int nSkipped = 0;
    for (const std::string& strFile : files) {
        strProbeMessage.clear();
        AudioFileInfo info;
        FileRowTexts row;
        // Absolute, so the log and the list of sources name the file unambiguously.
        std::error_code ec;
        const std::string strPath = std::filesystem::absolute(strFile, ec).lexically_normal().string();
        const std::optional<FoundFile> found = FindFoundFile(ec ? strFile : strPath);
        if (!found) {
            batch.PrintLine(StringFormat("%s was not found.", strFile.c_str()), LOG_ERROR);
            ++nSkipped;
            continue;
        }
        DescribeFoundFile(*found, info, row);
        ProbeAudioFile(found->fullPath, info, row);
        if (info.invalid) {
            if (strProbeMessage.empty())
                strProbeMessage = StringFormat("Cannot convert %s: it cannot be read or holds no audio.",
                                               found->fullPath.c_str());
            batch.PrintLine(strProbeMessage + " Skipped.", LOG_ERROR);
            ++nSkipped;
            continue;
        }
        AddConversionTask(batch, MakeConversionTask(row.texts[COLUMN_PATH], row.texts[COLUMN_NAME], info));
    }
    SetMessageBoxHandler(fnOld);
    return nSkipped;
}

}  // namespace

int main(int argc, char** argv)
{
    const CliParseResult parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "kestrune-batch: %s (see --help)\n", parsed.error.c_str());
        return kExitUsage;
    }
    if (parsed.options.showHelp) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (parsed.options.showVersion) {
        std::printf("kestrune-batch %s\n", KESTRUNE_VERSION);
        return 0;
    }

    LoadUserSettings(parsed.options);
    CTerminalBatch batch(stdout, ::isatty(STDOUT_FILENO) != 0);
    const int nSkipped = MakeTasks(parsed.options.files, batch);
    if (batch.m_arrTasks.empty())
        return kExitFailed;

    // The rings live as long as the process: a stage thread that outlives
    // an interrupted batch may still touch them.
    g_pDecodedRing = new SampleRing(kSampleRingCapacity);
    g_pProcessedRing = new SampleRing(kSampleRingCapacity);

    g_pbRunning = &batch.m_bRunning;
    InstallInterruptHandler();
    const bool bFinished = batch.Run();
    if (g_bInterrupted) {
        batch.PrintLine("Interrupted: conversion cancelled.", LOG_ERROR);
        return kExitInterrupted;
    }
    return bFinished && nSkipped == 0 ? 0 : kExitFailed;
}

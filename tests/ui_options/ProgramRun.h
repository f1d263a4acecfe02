#pragma once
#include <QProcess>
#include <QString>
#include <filesystem>
#include <string>

// The windowed program started as a desktop would start it: no arguments,
// the offscreen platform, and the test's HOME and runtime folder (taken from
// the test's own environment when started).
class CProgramRun
{
public:
    explicit CProgramRun(const std::filesystem::path& program);
    ~CProgramRun();

    bool Start();
    // Waits until the program's instance answers a request to come to the
    // front, which it does once its main window runs.
    bool WaitUntilAnswering(int nTimeoutMs = 120000) const;
    bool IsRunning() const { return m_process.state() != QProcess::NotRunning; }
    // Waits for the end; false when it did not end in time.
    bool WaitForExit(int nTimeoutMs = 60000);
    // Asks the program to close, as the end of a session does, and waits.
    bool Terminate(int nTimeoutMs = 60000);
    int ExitCode() const;
    // What the program wrote on its standard error, for failure messages.
    QString ErrorOutput();

private:
    std::filesystem::path m_program;
    QProcess m_process;
};

// A copy of the built program under another file name, in folder.
std::filesystem::path CopyBuiltProgram(const std::filesystem::path& folder, const std::string& strName);

std::string ReadTextFile(const std::filesystem::path& path);

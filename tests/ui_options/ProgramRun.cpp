#include "tests/ui_options/ProgramRun.h"

#include <csignal>
#include <cstdlib>
#include <fstream>

#include "ui/SingleInstance.h"

namespace fs = std::filesystem;

CProgramRun::CProgramRun(const fs::path& program)
    : m_program(program)
{
}

CProgramRun::~CProgramRun()
{
    if (IsRunning()) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

bool CProgramRun::Start()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    m_process.setProcessEnvironment(env);
    m_process.setProgram(QString::fromStdString(m_program.string()));
    m_process.setArguments({});
    m_process.start();
    return m_process.waitForStarted(30000);
}

bool CProgramRun::WaitUntilAnswering(int nTimeoutMs) const
{
    CSingleInstance probe(QString::fromStdString(m_program.stem().string()));
    return IsRunning() && probe.ActivateRunningInstance(nTimeoutMs);
}

bool CProgramRun::WaitForExit(int nTimeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(nTimeoutMs);
}

bool CProgramRun::Terminate(int nTimeoutMs)
{
    if (IsRunning())
        ::kill(static_cast<pid_t>(m_process.processId()), SIGTERM);
    return WaitForExit(nTimeoutMs);
}

int CProgramRun::ExitCode() const
{
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString CProgramRun::ErrorOutput()
{
    return QString::fromLocal8Bit(m_process.readAllStandardError());
}

fs::path CopyBuiltProgram(const fs::path& folder, const std::string& strName)
{
    const fs::path source = fs::path(std::getenv("KESTRUNE_BIN_DIR")) / "kestrune";
    const fs::path target = folder / strName;
    fs::copy_file(source, target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_all, fs::perm_options::replace);
    return target;
}

std::string ReadTextFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

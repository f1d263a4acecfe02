#include "ui/TerminationSignal.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

// [0] written by the handler, [1] read on the user-interface thread.
int g_signalPipe[2] = {-1, -1};

extern "C" void HandleTerminationSignal(int nSignal)
{
    // Only async-signal-safe calls here. The next signal of this kind takes
    // its default action, so a stuck close can still be ended.
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    ::sigaction(nSignal, &action, nullptr);
    const char byte = 1;
    [[maybe_unused]] const ssize_t nWritten = ::write(g_signalPipe[0], &byte, 1);
}

void SetHandler(void (*pfnHandler)(int))
{
    struct sigaction action = {};
    action.sa_handler = pfnHandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int nSignal : kSignals)
        ::sigaction(nSignal, &action, nullptr);
}

}  // namespace

CTerminationSignal::CTerminationSignal(std::function<void()> fnOnSignal, QObject* pParent)
    : QObject(pParent), m_fnOnSignal(std::move(fnOnSignal))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_signalPipe) != 0)
        return;
    m_pNotifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CTerminationSignal::OnSignalled);
    SetHandler(HandleTerminationSignal);
}

CTerminationSignal::~CTerminationSignal()
{
    if (m_pNotifier == nullptr)
        return;
    SetHandler(SIG_DFL);
    delete m_pNotifier;
    ::close(g_signalPipe[0]);
    ::close(g_signalPipe[1]);
    g_signalPipe[0] = g_signalPipe[1] = -1;
}

void CTerminationSignal::OnSignalled()
{
    char buffer[16];
    while (::read(g_signalPipe[1], buffer, sizeof(buffer)) > 0) {
    }
    if (m_fnOnSignal)
        m_fnOnSignal();
}

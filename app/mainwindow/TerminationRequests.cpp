#include "TerminationRequests.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 2> kCaughtSignals { SIGTERM, SIGINT };

// The signal handler may only write to a descriptor (the self-pipe pattern):
// the UI thread reads the other end through a socket notifier.
int g_signalWriteEnd = -1;
int g_signalReadEnd = -1;

extern "C" void WriteSignalByte(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalWriteEnd, &byte, 1);
    errno = savedErrno;
}

void CloseSignalPair()
{
    for (int* end : { &g_signalWriteEnd, &g_signalReadEnd }) {
        if (*end >= 0)
            ::close(*end);
        *end = -1;
    }
}

void SetHandler(void (*handler)(int))
{
    struct sigaction action { };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kCaughtSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

TerminationRequests::TerminationRequests(std::function<void()> onRequest, QObject* parent)
    : QObject(parent)
    , m_onRequest(std::move(onRequest))
{
    if (g_signalWriteEnd >= 0)
        return; // another instance catches them already
    std::array<int, 2> pair {};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair.data()) != 0)
        return;
    g_signalWriteEnd = pair[0];
    g_signalReadEnd = pair[1];
    // A burst of signals must never block the handler.
    ::fcntl(g_signalWriteEnd, F_SETFL, ::fcntl(g_signalWriteEnd, F_GETFL) | O_NONBLOCK);

    m_notifier = new QSocketNotifier(g_signalReadEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationRequests::OnSignalled);
    SetHandler(&WriteSignalByte);
}

TerminationRequests::~TerminationRequests()
{
    if (!m_notifier)
        return;
    SetHandler(SIG_DFL);
    delete m_notifier;
    m_notifier = nullptr;
    CloseSignalPair();
}

void TerminationRequests::OnSignalled()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t read = ::read(g_signalReadEnd, &byte, 1);
    if (m_onRequest)
        m_onRequest();
}

#include "Interruption.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quill::cli {

namespace {

    std::atomic<bool> g_requested { false };
    static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
    int g_wakeReadEnd = -1;
    int g_wakeWriteEnd = -1;

    extern "C" void RecordInterrupt(int)
    {
        const int savedErrno = errno;
        g_requested.store(true);
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(g_wakeWriteEnd, &byte, 1);
        errno = savedErrno;
    }

    void SetHandler(void (*handler)(int))
    {
        struct sigaction action { };
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        // The handler catches the first SIGINT only: a second one ends the
        // program with the default handling, for a command that hangs.
        action.sa_flags = SA_RESTART | (handler == SIG_DFL ? 0 : SA_RESETHAND);
        ::sigaction(SIGINT, &action, nullptr);
    }

} // namespace

Interruption::Interruption(QObject* parent)
    : QObject(parent)
{
    if (g_wakeWriteEnd >= 0)
        return; // another instance catches it already
    std::array<int, 2> pipe {};
    if (::pipe2(pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_wakeReadEnd = pipe[0];
    g_wakeWriteEnd = pipe[1];
    g_requested = false;
    m_active = true;
    if (QCoreApplication::instance()) {
        m_notifier = new QSocketNotifier(g_wakeReadEnd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &Interruption::OnWake);
    }
    SetHandler(&RecordInterrupt);
}

Interruption::~Interruption()
{
    if (!m_active)
        return;
    SetHandler(SIG_DFL);
    delete m_notifier;
    for (int* end : { &g_wakeReadEnd, &g_wakeWriteEnd }) {
        ::close(*end);
        *end = -1;
    }
}

bool Interruption::Requested()
{
    return g_requested.load();
}

int Interruption::WakeDescriptor() const
{
    return m_active ? g_wakeReadEnd : -1;
}

void Interruption::OnWake()
{
    // The pipe stays readable for the pollers; the notifier has said it once.
    m_notifier->setEnabled(false);
    Q_EMIT Interrupted();
}

} // namespace quill::cli

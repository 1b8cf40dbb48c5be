#include "PrivateNetwork.h"

#include "LoopbackTcp.h"

#include <fcntl.h>
#include <net/if.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace quill::netcheck::test {

namespace {

    // First byte of the child's report: whether the namespace was made.
    constexpr char kRan = 'R';
    constexpr char kNoNamespace = 'N';

    bool BringLoopbackUp()
    {
        const OwnedFd control(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        ifreq request {};
        std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
        if (::ioctl(control.fd(), SIOCGIFFLAGS, &request) != 0)
            return false;
        request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
        return ::ioctl(control.fd(), SIOCSIFFLAGS, &request) == 0;
    }

    void WriteAll(int fd, const std::string& bytes)
    {
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
            if (n <= 0)
                return;
            written += static_cast<std::size_t>(n);
        }
    }

    [[noreturn]] void RunChild(int reportFd, const std::function<std::string()>& body)
    {
        if (::unshare(CLONE_NEWNET) != 0 || !BringLoopbackUp()) {
            WriteAll(reportFd, std::string(1, kNoNamespace) + std::strerror(errno));
            ::_exit(0);
        }
        WriteAll(reportFd, std::string(1, kRan) + body());
        ::_exit(0);
    }

    // The child's whole report, or nothing when it is not complete in time.
    std::optional<std::string> ReadReport(int fd, std::chrono::steady_clock::time_point deadline)
    {
        std::string report;
        char buffer[4096];
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd entry { fd, POLLIN, 0 };
            if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0)
                return std::nullopt;
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0)
                return std::nullopt;
            if (n == 0)
                return report;
            report.append(buffer, static_cast<std::size_t>(n));
        }
    }

} // namespace

std::optional<std::string> RunInPrivateNetwork(const std::function<std::string()>& body, std::string& whyNot)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        whyNot = "pipe failed";
        return std::nullopt;
    }
    const OwnedFd readEnd(pipeFds[0]);
    OwnedFd writeEnd(pipeFds[1]);

    const pid_t child = ::fork();
    if (child < 0) {
        whyNot = "fork failed";
        return std::nullopt;
    }
    if (child == 0)
        RunChild(writeEnd.fd(), body);

    writeEnd = OwnedFd();
    const auto report = ReadReport(readEnd.fd(), std::chrono::steady_clock::now() + std::chrono::seconds(30));
    if (!report)
        ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    if (!report || report->empty()) {
        whyNot = "the child process gave no report in time";
        return std::nullopt;
    }
    if (report->front() == kNoNamespace) {
        whyNot = "cannot make a network namespace (needs root): " + report->substr(1);
        return std::nullopt;
    }
    return report->substr(1);
}

} // namespace quill::netcheck::test

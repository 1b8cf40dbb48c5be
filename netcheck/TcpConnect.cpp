#include "TcpConnect.h"

#include <Poco/Net/StreamSocketImpl.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace quill::netcheck {

namespace {

    constexpr int kPending = -1;

    // One address's attempt on a socket of its own.
    struct Attempt {
        Poco::Net::SocketAddress address;
        int fd = -1;
        int error = kPending; // 0 connected, an errno, or kPending
        Attempt(const Poco::Net::SocketAddress& to)
            : address(to)
        {
        }
        Attempt(Attempt&& other) noexcept
            : address(other.address)
            , fd(std::exchange(other.fd, -1))
            , error(other.error)
        {
        }
        Attempt(const Attempt&) = delete;
        ~Attempt()
        {
            if (fd >= 0)
                ::close(fd);
        }
        void Start()
        {
            fd = ::socket(address.family() == Poco::Net::SocketAddress::IPv6 ? AF_INET6 : AF_INET,
                SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (fd < 0) {
                error = errno;
                return;
            }
            if (::connect(fd, address.addr(), address.length()) == 0)
                error = 0;
            else if (errno != EINPROGRESS)
                error = errno;
        }
        void Ended()
        {
            int value = 0;
            socklen_t size = sizeof value;
            error = ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &value, &size) == 0 ? value : errno;
        }
    };

    // Better outcomes first: connected, then refused, then the rest.
    int Rank(int error)
    {
        return error == 0 ? 0 : error == ECONNREFUSED ? 1 : 2;
    }

} // namespace

ProbeOutcome TcpVerdict(int error)
{
    switch (error) {
    case 0:
        return { true, ProbeReason::Connected };
    case ECONNREFUSED:
        return { true, ProbeReason::Refused, {}, {}, {}, {}, {}, ProbeWarning::Refused };
    case ETIMEDOUT:
        return { false, ProbeReason::NoAnswer };
    case ENETUNREACH:
        return { false, ProbeReason::NoRoute };
    case EHOSTUNREACH:
        return { false, ProbeReason::HostUnreachable };
    // A prohibit route (EACCES), a firewall rule on this PC (EPERM), a blackhole
    // route (EINVAL), an interface that is down or an address that is gone.
    case EACCES:
    case EPERM:
    case EINVAL:
    case ENETDOWN:
    case EADDRNOTAVAIL:
        return { false, ProbeReason::BlockedLocally, {}, std::strerror(error) };
    default:
        return { false, ProbeReason::OtherError, {}, std::strerror(error) };
    }
}

TcpRace RaceConnect(const std::vector<Poco::Net::SocketAddress>& addresses, std::uint16_t port,
    Clock::time_point deadline, const std::stop_token& stop)
{
    constexpr auto kSlice = std::chrono::milliseconds(50);
    if (addresses.empty())
        return { { false, ProbeReason::OtherError, {}, "no address to connect to" }, {} };
    std::vector<Attempt> attempts;
    for (const Poco::Net::SocketAddress& address : addresses) {
        attempts.emplace_back(Poco::Net::SocketAddress(address.host(), port));
        attempts.back().Start();
    }
    const auto connected = [&] {
        return std::any_of(attempts.begin(), attempts.end(), [](const Attempt& a) { return a.error == 0; });
    };
    bool cancelled = false;
    while (!connected()) {
        std::vector<pollfd> waiting;
        std::vector<Attempt*> owners;
        for (Attempt& attempt : attempts)
            if (attempt.error == kPending) {
                waiting.push_back({ attempt.fd, POLLOUT, 0 });
                owners.push_back(&attempt);
            }
        if (waiting.empty())
            break;
        if (stop.stop_requested()) {
            cancelled = true;
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        const int ready
            = ::poll(waiting.data(), waiting.size(), static_cast<int>(std::min(left, kSlice).count()));
        if (ready < 0 && errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "poll");
        for (std::size_t i = 0; ready > 0 && i < waiting.size(); ++i)
            if (waiting[i].revents != 0)
                owners[i]->Ended();
    }

    TcpRace race;
    if (cancelled) {
        race.outcome = { false, ProbeReason::Cancelled };
        return race;
    }
    // Still pending at the deadline: no answer.
    for (Attempt& attempt : attempts)
        if (attempt.error == kPending)
            attempt.error = ETIMEDOUT;
    Attempt* best = &attempts.front();
    for (Attempt& attempt : attempts)
        if (Rank(attempt.error) < Rank(best->error))
            best = &attempt;
    race.outcome = TcpVerdict(best->error);
    race.outcome.address = best->address.host().toString();
    if (best->error == 0) {
        // The socket object owns the descriptor from here and closes it.
        auto* impl = new Poco::Net::StreamSocketImpl(std::exchange(best->fd, -1));
        race.socket.emplace(impl);
        impl->setBlocking(false);
    }
    return race;
}

} // namespace quill::netcheck

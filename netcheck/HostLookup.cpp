#include "HostLookup.h"

#include <netdb.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace quill::netcheck {

namespace {

    constexpr std::chrono::milliseconds kStopCheck { 50 };

    // Shared by the waiting probe and the lookup's thread, so that an
    // abandoned lookup still has what it writes to when it ends.
    struct Lookup {
        std::string name, service;
        addrinfo hints {};
        addrinfo* result = nullptr;
        int error = 0;
        int systemError = 0; // errno, for EAI_SYSTEM
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        ~Lookup()
        {
            if (result)
                ::freeaddrinfo(result);
        }
    };

} // namespace

LookupResult LookUp(const std::string& host, std::uint16_t port, bool udp, std::chrono::milliseconds bound,
    std::stop_token stop)
{
    auto lookup = std::make_shared<Lookup>();
    lookup->name = host;
    lookup->service = std::to_string(port);
    // No AI_ADDRCONFIG: it hides every address when only loopback is up.
    lookup->hints.ai_flags = AI_NUMERICSERV;
    lookup->hints.ai_socktype = udp ? SOCK_DGRAM : SOCK_STREAM;

    // A thread of our own rather than getaddrinfo_a: the C library starts its
    // lookup threads past the thread hooks that race and leak checkers rely
    // on, and they crash on them. Abandoned, it ends on its own and frees the
    // lookup with it.
    try {
        std::thread([lookup] {
            addrinfo* found = nullptr;
            const int error
                = ::getaddrinfo(lookup->name.c_str(), lookup->service.c_str(), &lookup->hints, &found);
            const int systemError = errno;
            const std::lock_guard lock(lookup->mutex);
            lookup->result = found;
            lookup->error = error;
            lookup->systemError = systemError;
            lookup->finished = true;
            lookup->done.notify_all();
        }).detach();
    } catch (const std::system_error& error) {
        return { {}, ProbeReason::OtherError, error.what() };
    }

    const auto deadline = std::chrono::steady_clock::now() + bound;
    std::unique_lock lock(lookup->mutex);
    while (!lookup->finished) {
        if (stop.stop_requested())
            return { {}, ProbeReason::Cancelled };
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return { {}, ProbeReason::NameLookupTimedOut };
        lookup->done.wait_for(lock, std::min<std::chrono::steady_clock::duration>(left, kStopCheck));
    }
    LookupResult result;
    switch (lookup->error) {
    case 0:
        break;
    case EAI_NONAME:
    case EAI_NODATA:
        return result;
    case EAI_AGAIN:
    case EAI_FAIL:
        return { {}, ProbeReason::NameLookupFailed };
    case EAI_SYSTEM:
        return { {}, ProbeReason::OtherError, std::strerror(lookup->systemError) };
    default:
        return { {}, ProbeReason::OtherError, ::gai_strerror(lookup->error) };
    }
    for (const addrinfo* entry = lookup->result; entry; entry = entry->ai_next)
        if (entry->ai_family == AF_INET || entry->ai_family == AF_INET6)
            result.addresses.emplace_back(entry->ai_addr, static_cast<poco_socklen_t>(entry->ai_addrlen));
    // IPv4 first, as POCO's own lookup orders them: "localhost" keeps meaning 127.0.0.1.
    std::stable_partition(
        result.addresses.begin(), result.addresses.end(), [](const Poco::Net::SocketAddress& address) {
            return address.family() == Poco::Net::SocketAddress::IPv4;
        });
    return result;
}

} // namespace quill::netcheck

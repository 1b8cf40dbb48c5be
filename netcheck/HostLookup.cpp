#include "HostLookup.h"

#include <netdb.h>

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <memory>
#include <mutex>

namespace quill::netcheck {

namespace {

    constexpr std::chrono::milliseconds kStopCheck { 50 };

    // Shared by the waiting probe and the C library's completion callback, so
    // that an abandoned lookup still has its request when it ends.
    struct Lookup {
        std::string name, service;
        addrinfo hints {};
        gaicb request {};
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        ~Lookup()
        {
            if (request.ar_result)
                ::freeaddrinfo(request.ar_result);
        }
    };

    void OnLookupDone(sigval value)
    {
        const std::unique_ptr<std::shared_ptr<Lookup>> owner(
            static_cast<std::shared_ptr<Lookup>*>(value.sival_ptr));
        const std::lock_guard lock((*owner)->mutex);
        (*owner)->finished = true;
        (*owner)->done.notify_all();
    }

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
    lookup->request.ar_name = lookup->name.c_str();
    lookup->request.ar_service = lookup->service.c_str();
    lookup->request.ar_request = &lookup->hints;

    sigevent notify {};
    notify.sigev_notify = SIGEV_THREAD;
    notify.sigev_notify_function = OnLookupDone;
    auto* callbackOwner = new std::shared_ptr<Lookup>(lookup);
    notify.sigev_value.sival_ptr = callbackOwner;
    gaicb* list[] = { &lookup->request };
    if (::getaddrinfo_a(GAI_NOWAIT, list, 1, &notify) != 0) {
        delete callbackOwner;
        return {};
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
    if (::gai_error(&lookup->request) != 0)
        return result;
    for (const addrinfo* entry = lookup->request.ar_result; entry; entry = entry->ai_next)
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

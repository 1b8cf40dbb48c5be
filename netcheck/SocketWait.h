#pragma once

#include <Poco/Net/Socket.h>

#include <algorithm>
#include <chrono>
#include <stop_token>

namespace quill::netcheck {

using Clock = std::chrono::steady_clock;

enum class WaitEnd { Ready, TimedOut, Stopped };

// Waits for the socket in slices of at most 50 ms, so that a stop request ends
// any probe at once instead of after its time-out.
inline WaitEnd WaitForSocket(
    const Poco::Net::Socket& socket, int mode, Clock::time_point deadline, const std::stop_token& stop)
{
    constexpr std::chrono::microseconds kSlice { 50'000 };
    for (;;) {
        if (stop.stop_requested())
            return WaitEnd::Stopped;
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return WaitEnd::TimedOut;
        if (socket.poll(
                Poco::Timespan(std::min(left, kSlice).count()), mode | Poco::Net::Socket::SELECT_ERROR))
            return WaitEnd::Ready;
    }
}

inline std::chrono::milliseconds Since(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

} // namespace quill::netcheck

#pragma once

#include "DeviceRecord.h"
#include "DiscoveryRange.h"

#include <boost/thread/thread.hpp>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quill::discovery {

class AnswerSocket;

// How a listener's start went.
struct ListenerStart {
    enum class Error {
        None,
        PortConflict, // the port cannot be bound: another program holds it
        Failed, // anything else; `what` says what
    };
    Error error = Error::None;
    std::string what;

    bool started() const { return error == Error::None; }
};

// The discovery listener: holds the listen port and turns every answer that
// reaches it into a DeviceRecord on a thread of its own, until stopped.
// Datagrams that are no answer are dropped without a word.
class DiscoveryListener {
public:
    // Both are called on the listener's thread. onAnswer hears each accepted
    // answer with the address it came from; an exception it throws is passed
    // to onFailure and the next answer is taken. onFailure also hears why
    // receiving ended, unless the listener was stopped.
    using AnswerHandler = std::function<void(const DeviceRecord&, const Ipv4Endpoint& sender)>;
    using FailureHandler = std::function<void(const std::string&)>;

    DiscoveryListener(std::uint16_t port, AnswerHandler onAnswer, FailureHandler onFailure);
    // Stops and waits for the thread.
    ~DiscoveryListener();
    DiscoveryListener(const DiscoveryListener&) = delete;
    DiscoveryListener& operator=(const DiscoveryListener&) = delete;

    // Binds the port on the calling thread, so that a conflict is known at
    // once, then starts receiving. Call once.
    ListenerStart Start();
    // Wakes a blocked receive and returns at once; nothing is received afterwards.
    void RequestStop();
    void Stop();

    // Holds its port and receives: false before Start(), after a failure and
    // once stopping.
    bool IsListening() const { return m_listening.load(); }
    std::uint16_t Port() const { return m_port; }

private:
    void ReceiveLoop();

    std::uint16_t m_port;
    AnswerHandler m_onAnswer;
    FailureHandler m_onFailure;
    // Made before the thread starts and kept until it has ended, so the thread
    // and RequestStop() never see it change.
    std::unique_ptr<AnswerSocket> m_socket;
    boost::thread m_thread;
    std::atomic<bool> m_listening { false };
    std::atomic<bool> m_stopping { false };
};

} // namespace quill::discovery

#include "LoopbackTcp.h"

#include <vector>

namespace quill::netcheck::test {

AcceptingServer::AcceptingServer(std::string greeting)
    : m_greeting(std::move(greeting))
    , m_thread([this] {
        std::vector<Poco::Net::StreamSocket> peers;
        while (!m_stop) {
            if (!m_listener.HasPendingConnection(std::chrono::milliseconds(50)))
                continue;
            try {
                peers.push_back(m_listener.socket().acceptConnection());
                ++m_accepted;
                peers.back().sendBytes(m_greeting.data(), static_cast<int>(m_greeting.size()));
            } catch (const Poco::Exception&) {
                // A client that gave up before the answer: nothing to serve.
            }
        }
    })
{
}

AcceptingServer::~AcceptingServer()
{
    m_stop = true;
    m_thread.join();
}

bool WaitFor(const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace quill::netcheck::test

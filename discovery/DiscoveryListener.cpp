#include "DiscoveryListener.h"

#include "AnswerParser.h"
#include "AnswerSocket.h"

#include <array>

namespace quill::discovery {

DiscoveryListener::DiscoveryListener(std::uint16_t port, AnswerHandler onAnswer, FailureHandler onFailure)
    : m_port(port)
    , m_onAnswer(std::move(onAnswer))
    , m_onFailure(std::move(onFailure))
{
}

DiscoveryListener::~DiscoveryListener()
{
    Stop();
}

ListenerStart DiscoveryListener::Start()
{
    try {
        m_socket = std::make_unique<AnswerSocket>(m_port);
    } catch (const BindFailure& error) {
        return { ListenerStart::Error::PortConflict, error.what() };
    } catch (const std::exception& error) {
        return { ListenerStart::Error::Failed, error.what() };
    }
    m_listening = true;
    try {
        m_thread = boost::thread([this] { ReceiveLoop(); });
    } catch (const boost::thread_resource_error& error) {
        m_listening = false;
        m_socket.reset();
        return { ListenerStart::Error::Failed, std::string("not started: ") + error.what() };
    }
    return {};
}

void DiscoveryListener::RequestStop()
{
    m_stopping = true;
    m_listening = false;
    if (m_socket)
        m_socket->stop();
}

void DiscoveryListener::Stop()
{
    RequestStop();
    if (m_thread.joinable())
        m_thread.join();
    m_socket.reset();
}

void DiscoveryListener::ReceiveLoop()
{
    std::array<char, kAnswerBufferSize> buffer {};
    boost::asio::ip::udp::endpoint sender;
    for (;;) {
        std::optional<std::size_t> received;
        try {
            buffer.fill(0);
            received = m_socket->receive(buffer, sender);
        } catch (const std::exception& error) {
            if (!m_stopping)
                m_onFailure(error.what());
            break;
        }
        if (!received)
            break; // stopped
        const auto record = ParseAnswer(std::string_view(buffer.data(), *received));
        if (!record)
            continue;
        try {
            m_onAnswer(*record, { sender.address().to_v4().to_bytes(), sender.port() });
        } catch (const std::exception& error) {
            // One answer went wrong; the next ones may not.
            m_onFailure(error.what());
        }
    }
    m_listening = false;
}

} // namespace quill::discovery

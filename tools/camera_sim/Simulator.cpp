#include "Simulator.h"

#include "CameraAnswer.h"
#include "DiscoveryProtocol.h"

#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>

#include <ifaddrs.h>
#include <netinet/in.h>

#include <algorithm>

namespace quill::camsim {

namespace asio = boost::asio;
using asio::ip::udp;

namespace {

    constexpr std::size_t kQueryBufferSize = 64;

    bool IsQuery(const std::array<char, kQueryBufferSize>& buffer, std::size_t size)
    {
        return std::string_view(buffer.data(), size) == discovery::kQueryPayload;
    }

    udp::socket BoundSocket(asio::io_context& io, const asio::ip::address_v4& address, std::uint16_t port)
    {
        udp::socket socket(io);
        socket.open(udp::v4());
        // Camera sockets and broadcast sockets share the port on one host.
        socket.set_option(asio::socket_base::reuse_address(true));
        socket.bind(udp::endpoint(address, port));
        return socket;
    }

} // namespace

struct Simulator::Camera {
    Camera(udp::socket s, asio::ip::address_v4 a, int n)
        : socket(std::move(s))
        , address(a)
        , number(n)
    {
    }
    udp::socket socket;
    asio::ip::address_v4 address;
    int number;
    std::array<char, kQueryBufferSize> buffer {};
    udp::endpoint sender;
};

struct Simulator::BroadcastListener {
    BroadcastListener(udp::socket s, asio::ip::address_v4 a)
        : socket(std::move(s))
        , address(a)
    {
    }
    udp::socket socket;
    asio::ip::address_v4 address;
    std::array<char, kQueryBufferSize> buffer {};
    udp::endpoint sender;
};

namespace {

    // The mask of the local interface network that holds address, or /24
    // when no interface holds it.
    std::uint32_t NetmaskOf(const asio::ip::address_v4& address)
    {
        ifaddrs* list = nullptr;
        if (::getifaddrs(&list) == 0) {
            std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owner(list, &::freeifaddrs);
            for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
                if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET
                    || entry->ifa_netmask == nullptr)
                    continue;
                const auto* local = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
                if (ntohl(local->sin_addr.s_addr) != address.to_uint())
                    continue;
                return ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr);
            }
        }
        return 0xFFFFFF00u;
    }

} // namespace

asio::ip::address_v4 BroadcastAddressOf(const asio::ip::address_v4& address)
{
    const std::uint32_t netmask = NetmaskOf(address);
    return asio::ip::address_v4((address.to_uint() & netmask) | ~netmask);
}

Simulator::Simulator(SimulatorOptions options, Reporter report)
    : m_options(std::move(options))
    , m_report(std::move(report))
{
}

Simulator::~Simulator() = default;

void Simulator::bind()
{
    int number = 0;
    for (const auto& text : m_options.addresses) {
        const auto address = asio::ip::make_address_v4(text);
        m_cameras.push_back(
            std::make_unique<Camera>(BoundSocket(m_io, address, m_options.listenPort), address, ++number));
        if (m_options.answerByBroadcast)
            m_cameras.back()->socket.set_option(asio::socket_base::broadcast(true));
    }
    std::vector<asio::ip::address_v4> broadcasts;
    for (const auto& camera : m_cameras) {
        const auto broadcast = BroadcastAddressOf(camera->address);
        if (m_options.answerBroadcast
            && std::find(broadcasts.begin(), broadcasts.end(), broadcast) == broadcasts.end())
            broadcasts.push_back(broadcast);
    }
    if (m_options.answerByBroadcast)
        broadcasts.push_back(asio::ip::address_v4::broadcast());
    for (const auto& broadcast : broadcasts) {
        auto socket = BoundSocket(m_io, broadcast, m_options.listenPort);
        socket.set_option(asio::socket_base::broadcast(true));
        m_broadcastListeners.push_back(std::make_unique<BroadcastListener>(std::move(socket), broadcast));
    }
}

void Simulator::run()
{
    for (auto& camera : m_cameras)
        receiveOnCamera(*camera);
    for (auto& listener : m_broadcastListeners)
        receiveOnBroadcast(*listener);
    asio::steady_timer deadline(m_io);
    if (m_options.duration) {
        deadline.expires_after(*m_options.duration);
        deadline.async_wait([this](const boost::system::error_code& error) {
            if (!error)
                m_io.stop();
        });
    }
    m_io.run();
}

void Simulator::stop()
{
    asio::post(m_io, [this] { m_io.stop(); });
}

void Simulator::receiveOnCamera(Camera& camera)
{
    camera.socket.async_receive_from(asio::buffer(camera.buffer), camera.sender,
        [this, &camera](const boost::system::error_code& error, std::size_t size) {
            if (error == asio::error::operation_aborted)
                return;
            if (!error && IsQuery(camera.buffer, size))
                answer(camera, camera.sender);
            receiveOnCamera(camera);
        });
}

void Simulator::receiveOnBroadcast(BroadcastListener& listener)
{
    listener.socket.async_receive_from(asio::buffer(listener.buffer), listener.sender,
        [this, &listener](const boost::system::error_code& error, std::size_t size) {
            if (error == asio::error::operation_aborted)
                return;
            if (!error && IsQuery(listener.buffer, size)) {
                for (auto& camera : m_cameras) {
                    if (listener.address == asio::ip::address_v4::broadcast()
                        || BroadcastAddressOf(camera->address) == listener.address)
                        answer(*camera, listener.sender);
                }
            }
            receiveOnBroadcast(listener);
        });
}

void Simulator::answer(Camera& camera, const udp::endpoint& querier)
{
    // A camera with a factory default address cannot reach a querier in
    // another network directly: it answers everyone on the cable.
    const auto offNetwork = [&] {
        return ((querier.address().to_v4().to_uint() ^ camera.address.to_uint()) & NetmaskOf(camera.address))
            != 0;
    };
    const udp::endpoint target(m_options.answerByBroadcast && offNetwork()
            ? asio::ip::address(asio::ip::address_v4::broadcast())
            : querier.address(),
        m_options.answerPort);
    if (m_options.verbose)
        report("query from " + querier.address().to_string() + " to camera " + camera.address.to_string());
    if (m_options.delay.count() == 0) {
        sendAnswer(camera, target);
        return;
    }
    auto timer = std::make_shared<asio::steady_timer>(m_io, m_options.delay);
    timer->async_wait([this, &camera, target, timer](const boost::system::error_code& error) {
        if (!error)
            sendAnswer(camera, target);
    });
}

void Simulator::sendAnswer(Camera& camera, const udp::endpoint& target)
{
    const std::string proper = BuildAnswer(m_options, camera.number, camera.address.to_string());
    std::vector<std::string> datagrams { proper };
    for (const auto kind : m_options.malformed)
        datagrams.push_back(MalformedAnswer(kind, proper));
    for (const auto& datagram : datagrams) {
        boost::system::error_code error;
        camera.socket.send_to(asio::buffer(datagram), target, 0, error);
        if (error) {
            report("cannot answer " + target.address().to_string() + ": " + error.message());
            return;
        }
    }
    ++m_answersSent;
    if (m_options.verbose)
        report("answer to " + target.address().to_string() + ": " + proper);
}

void Simulator::report(const std::string& line) const
{
    if (m_report)
        m_report(line);
}

} // namespace quill::camsim

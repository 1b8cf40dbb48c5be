#pragma once

#include "SimulatorOptions.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quill::camsim {

// Simulated cameras: one UDP socket per camera address, plus with
// answerBroadcast one socket per broadcast address of their networks, and with
// answerByBroadcast one on 255.255.255.255. Runs on one thread, the one that
// calls run().
class Simulator {
public:
    using Reporter = std::function<void(const std::string& line)>;

    explicit Simulator(SimulatorOptions options, Reporter report = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Binds every socket; throws boost::system::system_error when one cannot be bound.
    void bind();
    // Serves queries until stop() or the configured duration.
    void run();
    // Safe from any thread.
    void stop();

    std::size_t answersSent() const { return m_answersSent.load(); }

private:
    struct Camera;
    struct BroadcastListener;

    void receiveOnCamera(Camera& camera);
    void receiveOnBroadcast(BroadcastListener& listener);
    void answer(Camera& camera, const boost::asio::ip::udp::endpoint& querier);
    void sendAnswer(Camera& camera, const boost::asio::ip::udp::endpoint& target);
    void report(const std::string& line) const;

    SimulatorOptions m_options;
    Reporter m_report;
    boost::asio::io_context m_io;
    std::vector<std::unique_ptr<Camera>> m_cameras;
    std::vector<std::unique_ptr<BroadcastListener>> m_broadcastListeners;
    std::atomic<std::size_t> m_answersSent { 0 };
};

// The broadcast address of the local interface network that holds address,
// or address's x.y.z.255 when no interface holds it.
boost::asio::ip::address_v4 BroadcastAddressOf(const boost::asio::ip::address_v4& address);

} // namespace quill::camsim

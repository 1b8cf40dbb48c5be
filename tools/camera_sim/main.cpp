// quillscope-camera-sim: simulated network cameras for trying Quillscope's
// discovery without cameras, and for its end-to-end tests.
#include "Simulator.h"
#include "SimulatorOptions.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>

#include <csignal>
#include <iostream>
#include <thread>

int main(int argc, char** argv)
{
    using namespace quill::camsim;
    const ParsedCommandLine parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        (parsed.exitCode == 0 ? std::cout : std::cerr) << parsed.message << std::endl;
        return parsed.exitCode;
    }

    Simulator simulator(*parsed.options, [](const std::string& line) { std::cout << line << std::endl; });
    try {
        simulator.bind();
    } catch (const boost::system::system_error& error) {
        std::cerr << "cannot bind: " << error.what() << std::endl;
        return 1;
    }

    // Signals are waited for on a thread of their own, which stops the simulator.
    boost::asio::io_context signalContext;
    boost::asio::signal_set signals(signalContext, SIGINT, SIGTERM);
    signals.async_wait([&simulator](const boost::system::error_code& error, int) {
        if (!error)
            simulator.stop();
    });
    std::thread signalThread([&signalContext] { signalContext.run(); });

    std::cout << "ready" << std::endl;
    simulator.run();

    signalContext.stop();
    signalThread.join();
    std::cout << "answers sent: " << simulator.answersSent() << std::endl;
    return 0;
}

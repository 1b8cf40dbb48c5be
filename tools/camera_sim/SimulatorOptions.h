#pragma once

#include "DiscoveryProtocol.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quill::camsim {

// A deliberately broken answer, sent after the proper one, to exercise a
// receiver's handling of bad datagrams.
enum class MalformedKind {
    Short, // six bytes or fewer
    ExtraToken, // a device name holding a space: six tokens
    MissingToken, // four tokens
    Binary, // bytes that are no text at all
    Oversize, // 600 bytes: only the first 500 may be read
};

struct SimulatorOptions {
    std::vector<std::string> addresses; // one simulated camera per address
    std::uint16_t listenPort = discovery::kDiscoveryPort; // where queries are received
    std::uint16_t answerPort = discovery::kDiscoveryPort; // where answers are sent, on the querying host
    std::chrono::milliseconds delay { 0 }; // pause between a query and its answer
    bool answerBroadcast = false; // also answer queries sent to a broadcast address
    // Hear queries sent to 255.255.255.255, and answer to 255.255.255.255 a
    // querier that is not on the camera's network, as a camera with a factory
    // default address does.
    bool answerByBroadcast = false;
    std::vector<MalformedKind> malformed; // extra bad answers per query
    std::string ipPattern = "{ip}";
    std::string snPattern = "SIM{n:06}";
    std::string macPattern = "{mac}";
    std::string namePattern = "SimCam-{n}";
    std::string fwPattern = "1.0.{n}";
    std::optional<std::chrono::milliseconds> duration; // run until stopped when empty
    bool verbose = false;
};

struct ParsedCommandLine {
    std::optional<SimulatorOptions> options; // empty when the program should exit
    int exitCode = 0;
    std::string message; // help text or the reason for refusing the command line
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string HelpText();

} // namespace quill::camsim

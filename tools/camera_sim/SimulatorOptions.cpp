#include "SimulatorOptions.h"

#include "DiscoveryProtocol.h"
#include "QuillVersion.h"

#include <boost/asio/ip/address_v4.hpp>
#include <boost/format.hpp>

#include <algorithm>
#include <charconv>
#include <sstream>

namespace quill::camsim {

namespace {

    // Addresses one --range may expand to; enough for any /22 test network.
    constexpr std::uint32_t kMaxRangeSize = 1024;

    std::optional<long> ParseNumber(const std::string& text, long min, long max)
    {
        long value = 0;
        const auto* end = text.data() + text.size();
        const auto [ptr, error] = std::from_chars(text.data(), end, value);
        if (error != std::errc() || ptr != end || value < min || value > max)
            return std::nullopt;
        return value;
    }

    std::optional<boost::asio::ip::address_v4> ParseAddress(const std::string& text)
    {
        boost::system::error_code error;
        const auto address = boost::asio::ip::make_address_v4(text, error);
        if (error)
            return std::nullopt;
        return address;
    }

    bool AddRange(const std::string& range, std::vector<std::string>& addresses)
    {
        const auto dash = range.find('-');
        if (dash == std::string::npos)
            return false;
        const auto first = ParseAddress(range.substr(0, dash));
        const auto last = ParseAddress(range.substr(dash + 1));
        if (!first || !last || first->to_uint() > last->to_uint()
            || last->to_uint() - first->to_uint() >= kMaxRangeSize)
            return false;
        for (auto value = first->to_uint(); value <= last->to_uint(); ++value)
            addresses.push_back(boost::asio::ip::address_v4(value).to_string());
        return true;
    }

    bool AddMalformed(const std::string& list, std::vector<MalformedKind>& kinds)
    {
        std::istringstream items(list);
        std::string item;
        while (std::getline(items, item, ',')) {
            if (item == "short")
                kinds.push_back(MalformedKind::Short);
            else if (item == "extra-token")
                kinds.push_back(MalformedKind::ExtraToken);
            else if (item == "missing-token")
                kinds.push_back(MalformedKind::MissingToken);
            else if (item == "binary")
                kinds.push_back(MalformedKind::Binary);
            else if (item == "oversize")
                kinds.push_back(MalformedKind::Oversize);
            else
                return false;
        }
        return true;
    }

    ParsedCommandLine Refuse(const std::string& reason)
    {
        return { std::nullopt, 2, reason + "\nTry --help." };
    }

} // namespace

std::string HelpText()
{
    return (boost::format(R"(Usage: quillscope-camera-sim [options]

Simulates network cameras for Quillscope's camera discovery. Every camera
answers each "%1%" query that reaches its UDP port with one datagram
"ip sn mac device_name fw" sent to the querying host's answer port.

Cameras (at least one; each address must be assigned to a local interface):
  --bind ADDR            simulate a camera at IPv4 address ADDR (repeatable)
  --range FIRST-LAST     simulate one camera per address from FIRST to LAST

Ports and timing:
  --listen-port N        UDP port on which queries arrive (default %2%)
  --answer-port N        UDP port of the querying host that gets answers (default %2%)
  --delay MS             wait MS milliseconds before answering (default 0)
  --broadcast            also answer queries sent to a broadcast address
  --answer-by-broadcast  also answer queries sent to 255.255.255.255, and
                         answer by broadcast (to 255.255.255.255) a querier
                         that is not on the camera's network
  --duration SECONDS     stop after SECONDS (default: run until interrupted)

Answer fields (patterns: {ip} camera address, {n} camera number from 1,
{n:06} the number zero padded, {mac} a MAC derived from the address):
  --ip PATTERN           default "{ip}"
  --sn PATTERN           default "SIM{n:06}"
  --mac PATTERN          default "{mac}"
  --name PATTERN         default "SimCam-{n}"  (a space here breaks the answer)
  --fw PATTERN           default "1.0.{n}"

Testing receivers:
  --malformed KINDS      after each answer also send broken ones; KINDS is a
                         comma list of: short, extra-token, missing-token,
                         binary, oversize

Other:
  --verbose              print every query and answer
  --version              show the version
  --help                 show this text

Prints "ready" on standard output once every socket is bound.
)") % discovery::kQueryPayload
        % discovery::kDiscoveryPort)
        .str();
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    SimulatorOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h")
            return { std::nullopt, 0, HelpText() };
        if (name == "--version")
            return { std::nullopt, 0, std::string("quillscope-camera-sim ") + quill::kVersion };
        if (name == "--broadcast") {
            options.answerBroadcast = true;
            continue;
        }
        if (name == "--answer-by-broadcast") {
            options.answerByBroadcast = true;
            continue;
        }
        if (name == "--verbose") {
            options.verbose = true;
            continue;
        }
        static const std::vector<std::string> valued { "--bind", "--range", "--listen-port", "--answer-port",
            "--delay", "--duration", "--malformed", "--ip", "--sn", "--mac", "--name", "--fw" };
        if (std::find(valued.begin(), valued.end(), name) == valued.end())
            return Refuse("unknown option: " + name);
        if (i + 1 >= arguments.size())
            return Refuse("missing value for " + name);
        const std::string& value = arguments[++i];
        if (name == "--bind") {
            if (!ParseAddress(value))
                return Refuse("not an IPv4 address: " + value);
            options.addresses.push_back(value);
        } else if (name == "--range") {
            if (!AddRange(value, options.addresses))
                return Refuse("not a range FIRST-LAST of at most 1024 IPv4 addresses: " + value);
        } else if (name == "--listen-port" || name == "--answer-port") {
            const auto port = ParseNumber(value, 1, 65535);
            if (!port)
                return Refuse("not a port number: " + value);
            (name == "--listen-port" ? options.listenPort : options.answerPort)
                = static_cast<std::uint16_t>(*port);
        } else if (name == "--delay") {
            const auto delay = ParseNumber(value, 0, 600000);
            if (!delay)
                return Refuse("not a delay in milliseconds: " + value);
            options.delay = std::chrono::milliseconds(*delay);
        } else if (name == "--duration") {
            const auto seconds = ParseNumber(value, 1, 86400);
            if (!seconds)
                return Refuse("not a duration in seconds: " + value);
            options.duration = std::chrono::seconds(*seconds);
        } else if (name == "--malformed") {
            if (!AddMalformed(value, options.malformed))
                return Refuse("unknown malformed kind in: " + value);
        } else if (name == "--ip") {
            options.ipPattern = value;
        } else if (name == "--sn") {
            options.snPattern = value;
        } else if (name == "--mac") {
            options.macPattern = value;
        } else if (name == "--name") {
            options.namePattern = value;
        } else if (name == "--fw") {
            options.fwPattern = value;
        }
    }
    if (options.addresses.empty())
        return Refuse("no camera address: give --bind or --range");
    return { options, 0, {} };
}

} // namespace quill::camsim

#include "CommandLine.h"

#include "DiscoveryRange.h"
#include "ExitStatus.h"
#include "QuillVersion.h"

#include <boost/program_options.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>
#include <variant>

namespace po = boost::program_options;

namespace quill::cli {

namespace {

    ParsedArguments Refuse(const std::string& reason)
    {
        return { std::nullopt, kExitBadUsage, "quillscope-cli: " + reason + " (see --help)" };
    }

    std::optional<int> LanguageNumber(const std::string& name)
    {
        if (name == "en")
            return 0;
        if (name == "zh-TW")
            return 1;
        if (name == "zh-CN")
            return 2;
        return std::nullopt;
    }

    std::optional<OutputFormat> FormatNamed(const std::string& name)
    {
        if (name == "table")
            return OutputFormat::Table;
        if (name == "csv")
            return OutputFormat::Csv;
        if (name == "json")
            return OutputFormat::Json;
        return std::nullopt;
    }

    po::options_description CommonOptions()
    {
        po::options_description options("Options");
        options.add_options()("help,h", "show this text and exit")("version", "show the version and exit")(
            "lang", po::value<std::string>(), "en, zh-TW or zh-CN (default: LANG of Config.ini)");
        return options;
    }

} // namespace

std::string HelpText()
{
    return R"(Usage: quillscope-cli [--lang en|zh-TW|zh-CN] COMMAND [options]

Quillscope without a window.

Commands:
  adapters [--format table|csv|json]
      the IPv4 adapters: name, address, mask, gateway, DNS server, carrier,
      and "*" on the adapter of the default route
  discover [--adapter NAME | --range A.B.C.D-E] [--wait SECONDS]
           [--strict] [--format table|csv|json]
      the camera search of the window: a query to every address of the
      range (default: the whole /24 of the default route's adapter), each
      camera (IP address and MAC) listed once as it first answers, then a
      summary that says why when no camera answered, then the findings:
      address conflicts, answers from another address than the camera
      reports, cameras off the adapter's network, one MAC under several
      addresses. CSV and JSON are written when the search has settled, with
      each camera's sender and findings. Listens until answers stop coming
      (2 s after the last, at most 5 s), or for --wait seconds
  check [--rcs HOST] [--cloud HOST] [--ntp HOST] [--only ports,cloud,ntp]
        [--strict] [--format table|csv|json]
      the network check: TCP ports 80, 30001, 30002, 30003 of the product's
      server, HTTPS on ports 5672 and 443 of the cloud host, the NTP server;
      each with the address used, PASS, WARN (passed with a warning: refused,
      TLS not completed, certificate, clock offset) or FAIL, the reason and
      time, certificate and clock facts; rows in this order, each as soon as
      it and the rows above it have ended. Hosts default to Config.ini in the
      working directory (RCS/IP, NetCheck/CloudHost, NetCheck/NtpHost) and
      else they are the product's own
  report --out FILE.html|FILE.json [--adapter NAME | --range A.B.C.D-E]
         [--wait SECONDS] [--rcs HOST] [--cloud HOST] [--ntp HOST] [--strict]
      discover, then check, then write a site report: date and time, PC,
      OS, the adapter, every camera, every check with its reason and time,
      clock offset and certificate facts. .html gives one self-contained
      page that prints on A4; .json the same facts

Options:
  --strict       check and report: a warning fails as a failure does;
                 discover and report: so does a finding
  --lang L       language of the texts: en, zh-TW or zh-CN
                 (default: LANG of Config.ini in the working directory)
  --version      show the version and exit
  --help         show this text and exit

Ranges in 0.0.0.0/8, 127.0.0.0/8 and 224.0.0.0 to 255.255.255.255 are
refused: no camera can have such an address.

Ctrl-C stops discover, check and report: discover and check print what they
have and a summary line, report writes no file. A second Ctrl-C ends at once.

Exit status: 0 passed, warnings and findings included (and a camera
answered); 1 a check failed (or, with --strict, passed with a warning, or a
camera has a finding), no camera answered or the system could not be read; 2 bad usage; 3 the discovery port is in use by
another program; 130 interrupted by Ctrl-C.
)";
}

namespace {

    // The options of each command, and what they mean for the invocation.
    po::options_description CommandOptions(const std::string& command)
    {
        po::options_description options(command + " options");
        if (command != "report")
            options.add_options()(
                "format", po::value<std::string>()->default_value("table"), "table, csv or json");
        if (command == "discover" || command == "report") {
            options.add_options()("adapter", po::value<std::string>(), "interface to search from")("range",
                po::value<std::string>(),
                "A.B.C.D-E")("wait", po::value<std::string>(), "seconds to listen after the sweep");
        }
        if (command == "report")
            options.add_options()("out", po::value<std::string>()->required(), "FILE.html or FILE.json");
        if (command == "check" || command == "report") {
            options.add_options()("rcs", po::value<std::string>(), "the product's server")("cloud",
                po::value<std::string>(),
                "the cloud host")("ntp", po::value<std::string>(), "the NTP server");
        }
        if (command == "check")
            options.add_options()("only", po::value<std::string>(), "ports, cloud, ntp, comma separated");
        if (command != "adapters")
            options.add_options()("strict", "a warning or a finding fails as a failure does");
        return options;
    }

    std::optional<std::string> ApplyCheckOptions(const po::variables_map& values, Invocation& invocation)
    {
        for (const auto& [name, host] : { std::pair("rcs", &invocation.rcsHost),
                 std::pair("cloud", &invocation.cloudHost), std::pair("ntp", &invocation.ntpHost) }) {
            if (values.count(name))
                *host = values[name].as<std::string>();
        }
        if (!values.count("only"))
            return std::nullopt;
        invocation.checkPorts = invocation.checkCloud = invocation.checkNtp = false;
        std::string list = values["only"].as<std::string>();
        std::size_t begin = 0;
        while (begin <= list.size()) {
            const std::size_t end = std::min(list.find(',', begin), list.size());
            const std::string item = list.substr(begin, end - begin);
            if (item == "ports")
                invocation.checkPorts = true;
            else if (item == "cloud")
                invocation.checkCloud = true;
            else if (item == "ntp")
                invocation.checkNtp = true;
            else
                return "--only takes ports, cloud and ntp, not \"" + item + "\"";
            begin = end + 1;
        }
        return std::nullopt;
    }

    std::optional<std::string> ApplySearchOptions(const po::variables_map& values, Invocation& invocation)
    {
        if (values.count("adapter") && values.count("range"))
            return std::string("--adapter and --range exclude each other");
        if (values.count("adapter"))
            invocation.adapter = values["adapter"].as<std::string>();
        if (values.count("range")) {
            invocation.range = values["range"].as<std::string>();
            const auto range = discovery::ParseRange(*invocation.range);
            if (const auto* parsed = std::get_if<discovery::DiscoveryRange>(&range)) {
                if (const auto why = discovery::WhyNoCameraIn(*parsed))
                    return "--range " + *invocation.range + " is refused: " + *why;
            }
        }
        if (values.count("wait")) {
            const std::string text = values["wait"].as<std::string>();
            double seconds = 0;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
            // An hour is more than any camera needs; beyond, the value is a slip.
            if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds)
                || seconds <= 0 || seconds > 3600)
                return "--wait must be a number of seconds greater than 0 and at most 3600, not \"" + text
                    + "\"";
            invocation.waitSeconds = seconds;
        }
        if (values.count("out"))
            invocation.out = values["out"].as<std::string>();
        return std::nullopt;
    }

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments)
{
    po::options_description common = CommonOptions();
    po::options_description positional;
    positional.add_options()("command", po::value<std::string>())(
        "command-arguments", po::value<std::vector<std::string>>());
    po::options_description all;
    all.add(common).add(positional);
    po::positional_options_description order;
    order.add("command", 1).add("command-arguments", -1);

    Invocation invocation;
    po::variables_map values;
    std::vector<std::string> commandArguments;
    try {
        const po::parsed_options parsed
            = po::command_line_parser(arguments).options(all).positional(order).allow_unregistered().run();
        po::store(parsed, values);
        // What follows the command and is no common option belongs to the command.
        commandArguments = po::collect_unrecognized(parsed.options, po::include_positional);
        if (!commandArguments.empty() && values.count("command")
            && commandArguments.front() == values["command"].as<std::string>())
            commandArguments.erase(commandArguments.begin());
        else if (!commandArguments.empty())
            return Refuse("unknown option " + commandArguments.front());
    } catch (const po::error& error) {
        return Refuse(error.what());
    }

    if (values.count("help"))
        return { std::nullopt, kExitPassed, HelpText() };
    if (values.count("version"))
        return { std::nullopt, kExitPassed, std::string("quillscope-cli ") + quill::kVersion };
    if (values.count("lang")) {
        invocation.language = LanguageNumber(values["lang"].as<std::string>());
        if (!invocation.language)
            return Refuse(
                "--lang must be en, zh-TW or zh-CN, not \"" + values["lang"].as<std::string>() + "\"");
    }
    if (!values.count("command"))
        return Refuse("no command given");
    invocation.command = values["command"].as<std::string>();
    const std::vector<std::string> commands { "adapters", "discover", "check", "report" };
    if (std::find(commands.begin(), commands.end(), invocation.command) == commands.end())
        return Refuse("unknown command \"" + invocation.command + "\"");

    po::variables_map commandValues;
    try {
        // The parsed options point into the description: it must outlive them.
        const po::options_description commandOptions = CommandOptions(invocation.command);
        const po::parsed_options parsed
            = po::command_line_parser(commandArguments).options(commandOptions).run();
        // No command takes words of its own: one is a slip, not to be ignored.
        if (const auto extra = po::collect_unrecognized(parsed.options, po::include_positional);
            !extra.empty())
            return Refuse("unexpected \"" + extra.front() + "\" after " + invocation.command);
        po::store(parsed, commandValues);
        po::notify(commandValues);
    } catch (const po::error& error) {
        return Refuse(error.what());
    }
    if (commandValues.count("format")) {
        const std::string formatName = commandValues["format"].as<std::string>();
        const auto format = FormatNamed(formatName);
        if (!format)
            return Refuse("--format must be table, csv or json, not \"" + formatName + "\"");
        invocation.format = *format;
    }
    if (const auto error = ApplySearchOptions(commandValues, invocation))
        return Refuse(*error);
    if (invocation.command == "check" || invocation.command == "report") {
        if (const auto error = ApplyCheckOptions(commandValues, invocation))
            return Refuse(*error);
    }
    invocation.strict = commandValues.count("strict") > 0;
    return { invocation, kExitPassed, {} };
}

} // namespace quill::cli

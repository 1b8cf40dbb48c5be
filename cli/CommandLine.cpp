#include "CommandLine.h"

#include "ExitStatus.h"
#include "QuillVersion.h"

#include <boost/program_options.hpp>

#include <algorithm>
#include <utility>

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
  adapters [--format table|json]
      the IPv4 adapters: name, address, mask, gateway, DNS server, carrier,
      and "*" on the adapter of the default route
  check [--rcs HOST] [--cloud HOST] [--ntp HOST] [--only ports,cloud,ntp]
        [--format table|json]
      the network check: TCP ports 80, 30001, 30002, 30003 of the product's
      server, HTTPS on ports 5672 and 443 of the cloud host, the NTP server;
      each with its verdict, reason and time, certificate and clock facts.
      Hosts default to Config.ini in the working directory (RCS/IP,
      NetCheck/CloudHost, NetCheck/NtpHost) and then the product's

Options:
  --lang L       language of the texts: en, zh-TW or zh-CN
                 (default: LANG of Config.ini in the working directory)
  --version      show the version and exit
  --help         show this text and exit

Exit status: 0 passed; 1 a check failed or the system could not be read;
2 bad usage; 3 the discovery port is in use.
)";
}

namespace {

    // The options of each command, and what they mean for the invocation.
    po::options_description CommandOptions(const std::string& command)
    {
        po::options_description options(command + " options");
        options.add_options()("format", po::value<std::string>()->default_value("table"), "table or json");
        if (command == "check") {
            options.add_options()("rcs", po::value<std::string>(), "the product's server")(
                "cloud", po::value<std::string>(), "the cloud host")("ntp", po::value<std::string>(),
                "the NTP server")("only", po::value<std::string>(), "ports, cloud, ntp, comma separated");
        }
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
    if (invocation.command != "adapters" && invocation.command != "check")
        return Refuse("unknown command \"" + invocation.command + "\"");

    po::variables_map commandValues;
    try {
        po::store(po::command_line_parser(commandArguments).options(CommandOptions(invocation.command)).run(),
            commandValues);
    } catch (const po::error& error) {
        return Refuse(error.what());
    }
    const std::string formatName = commandValues["format"].as<std::string>();
    const auto format = FormatNamed(formatName);
    if (!format)
        return Refuse("--format must be table or json, not \"" + formatName + "\"");
    invocation.format = *format;
    if (invocation.command == "check") {
        if (const auto error = ApplyCheckOptions(commandValues, invocation))
            return Refuse(*error);
    }
    return { invocation, kExitPassed, {} };
}

} // namespace quill::cli
